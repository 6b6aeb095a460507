// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/modelo_grilla.h"

#include "data/textos.h"

#include <QtGlobal>

#include <bit>

namespace velmora {

ModeloGrilla::ModeloGrilla(QObject* padre) : QAbstractTableModel(padre)
{
    // Every grid starts with 2 rows, 2 columns, 1 fixed row and 1 fixed column.
    redimensionar(2, 2);
    filas_fijas_ = 1;
    columnas_fijas_ = 1;
}

bool ModeloGrilla::valida(int fila, int columna, const char* donde) const
{
    Q_UNUSED(donde);
    const bool ok = fila >= 0 && fila < filas_ && columna >= 0 && columna < columnas_;
    // A cell outside the grid is the caller's mistake: loud in debug builds,
    // harmless (nothing read or written) otherwise.
    Q_ASSERT_X(ok, donde,
               qPrintable(QStringLiteral("celda (%1, %2) fuera de una grilla de %3 x %4")
                              .arg(fila).arg(columna).arg(filas_).arg(columnas_)));
    return ok;
}

void ModeloGrilla::redimensionar(int filas, int columnas)
{
    filas = qMax(0, filas);
    columnas = qMax(0, columnas);
    const size_t celdas = size_t(filas) * size_t(columnas);
    if (columnas == columnas_) {
        valores_.resize(celdas, 0);
        formas_.resize(celdas, 0);
        if (!imagenes_.empty())
            imagenes_.resize(celdas, 0);
    } else {
        std::vector<quint64> valores(celdas, 0);
        std::vector<quint8> formas(celdas, 0);
        std::vector<quint8> imagenes(imagenes_.empty() ? 0 : celdas, 0);
        const int fmin = qMin(filas, filas_);
        const int cmin = qMin(columnas, columnas_);
        for (int f = 0; f < fmin; ++f) {
            for (int c = 0; c < cmin; ++c) {
                const size_t nueva = size_t(f) * size_t(columnas) + size_t(c);
                valores[nueva] = valores_[posicion(f, c)];
                formas[nueva] = formas_[posicion(f, c)];
                if (!imagenes.empty())
                    imagenes[nueva] = imagenes_[posicion(f, c)];
            }
        }
        valores_ = std::move(valores);
        formas_ = std::move(formas);
        imagenes_ = std::move(imagenes);
        anchos_.resize(size_t(columnas), -1);
    }
    filas_ = filas;
    columnas_ = columnas;
    filas_fijas_ = qMin(filas_fijas_, filas_);
    columnas_fijas_ = qMin(columnas_fijas_, columnas_);
    if (textos_.size() > 1024 && textos_.size() > 2 * valores_.size())
        compactar();
}

quint32 ModeloGrilla::compartido(QStringView texto)
{
    if (texto.isEmpty())
        return 0;
    const auto it = indice_textos_.find(texto);
    if (it != indice_textos_.end())
        return it->second;
    // Texts no cell holds any more are dropped once they outnumber the cells.
    if (textos_.size() > 1024 && textos_.size() > 2 * valores_.size())
        compactar();
    const quint32 n = quint32(textos_.size());
    textos_.push_back(texto.toString());
    indice_textos_.emplace(textos_.back(), n);
    return n;
}

void ModeloGrilla::compactar()
{
    std::vector<quint32> nuevo(textos_.size(), 0);
    std::vector<QString> textos{QString()};
    for (size_t i = 0; i < valores_.size(); ++i) {
        if (formas_[i] & kNumero)
            continue;
        const quint32 viejo = quint32(valores_[i]);
        if (viejo != 0 && nuevo[viejo] == 0) {
            nuevo[viejo] = quint32(textos.size());
            textos.push_back(std::move(textos_[viejo]));
        }
        valores_[i] = nuevo[viejo];
    }
    textos_ = std::move(textos);
    indice_textos_.clear();
    for (size_t n = 1; n < textos_.size(); ++n)
        indice_textos_.emplace(textos_[n], quint32(n));
}

void ModeloGrilla::poner(size_t i, QStringView texto, int relleno)
{
    // The padding at the end is counted, not stored, up to the form's room.
    qsizetype n = texto.size();
    while (n > 0 && texto[n - 1] == u' ' && relleno < kRellenoMaximo) {
        --n;
        ++relleno;
    }
    valores_[i] = compartido(texto.left(n));
    formas_[i] = quint8(qMin(relleno, kRellenoMaximo));
    if (relleno > kRellenoMaximo) // a longer padding keeps the rest in the text
        valores_[i] = compartido(texto.left(n).toString() + QString(relleno - kRellenoMaximo, u' '));
}

QString ModeloGrilla::texto_de(size_t i) const
{
    const quint8 forma = formas_[i];
    QString texto = forma & kNumero ? numero_a_texto(std::bit_cast<double>(valores_[i]))
                                    : textos_[size_t(valores_[i])];
    const int relleno = forma & kRellenoMaximo;
    if (relleno)
        texto += QString(relleno, u' ');
    return texto;
}

void ModeloGrilla::setRows(int filas)
{
    cambiar_forma(filas, columnas_);
}

void ModeloGrilla::setCols(int columnas)
{
    cambiar_forma(filas_, columnas);
}

void ModeloGrilla::cambiar_forma(int filas, int columnas)
{
    if (filas == filas_ && columnas == columnas_)
        return;
    if (lote_) {
        redimensionar(filas, columnas);
        return;
    }
    beginResetModel();
    redimensionar(filas, columnas);
    endResetModel();
    emit formaCambiada();
}

void ModeloGrilla::setFixedRows(int n)
{
    Q_ASSERT_X(n >= 0 && n <= filas_, "ModeloGrilla::setFixedRows", "más filas fijas que filas");
    filas_fijas_ = qBound(0, n, filas_);
    emit dataChanged(index(0, 0), index(qMax(0, filas_ - 1), qMax(0, columnas_ - 1)));
    emit formaCambiada();
}

void ModeloGrilla::setFixedCols(int n)
{
    Q_ASSERT_X(n >= 0 && n <= columnas_, "ModeloGrilla::setFixedCols", "más columnas fijas que columnas");
    columnas_fijas_ = qBound(0, n, columnas_);
    emit dataChanged(index(0, 0), index(qMax(0, filas_ - 1), qMax(0, columnas_ - 1)));
    emit formaCambiada();
}

QString ModeloGrilla::TextMatrix(int fila, int columna) const
{
    if (!valida(fila, columna, "ModeloGrilla::TextMatrix"))
        return {};
    return texto_de(posicion(fila, columna));
}

void ModeloGrilla::setTextMatrix(int fila, int columna, const QString& texto)
{
    setTextMatrix(fila, columna, texto, 0);
}

void ModeloGrilla::setTextMatrix(int fila, int columna, const QString& texto, int relleno)
{
    if (!valida(fila, columna, "ModeloGrilla::setTextMatrix"))
        return;
    poner(posicion(fila, columna), texto, qMax(0, relleno));
    if (lote_)
        return;
    const QModelIndex i = index(fila, columna);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

void ModeloGrilla::setValorMatrix(int fila, int columna, double valor, int relleno)
{
    if (!valida(fila, columna, "ModeloGrilla::setValorMatrix"))
        return;
    const size_t i = posicion(fila, columna);
    valores_[i] = std::bit_cast<quint64>(valor);
    formas_[i] = quint8(kNumero | qBound(0, relleno, kRellenoMaximo));
    if (lote_)
        return;
    const QModelIndex m = index(fila, columna);
    emit dataChanged(m, m, {Qt::DisplayRole});
}

std::optional<double> ModeloGrilla::ValorMatrix(int fila, int columna) const
{
    if (!valida(fila, columna, "ModeloGrilla::ValorMatrix"))
        return std::nullopt;
    const size_t i = posicion(fila, columna);
    if (!(formas_[i] & kNumero))
        return std::nullopt;
    return std::bit_cast<double>(valores_[i]);
}

QString ModeloGrilla::TextoSinRelleno(int fila, int columna) const
{
    if (!valida(fila, columna, "ModeloGrilla::TextoSinRelleno"))
        return {};
    const size_t i = posicion(fila, columna);
    if (formas_[i] & kNumero)
        return numero_a_texto(std::bit_cast<double>(valores_[i]));
    return textos_[size_t(valores_[i])];
}

QString ModeloGrilla::CellPicture(int fila, int columna) const
{
    if (!valida(fila, columna, "ModeloGrilla::CellPicture") || imagenes_.empty())
        return {};
    return nombres_imagen_.at(imagenes_[posicion(fila, columna)]);
}

void ModeloGrilla::setCellPicture(int fila, int columna, const QString& nombre)
{
    if (!valida(fila, columna, "ModeloGrilla::setCellPicture"))
        return;
    qsizetype n = nombres_imagen_.indexOf(nombre);
    if (n < 0) {
        Q_ASSERT(nombres_imagen_.size() < 255);
        if (nombres_imagen_.size() >= 255)
            return;
        nombres_imagen_ << nombre;
        n = nombres_imagen_.size() - 1;
    }
    if (imagenes_.empty())
        imagenes_.assign(valores_.size(), 0);
    imagenes_[posicion(fila, columna)] = quint8(n);
    if (lote_)
        return;
    const QModelIndex i = index(fila, columna);
    emit dataChanged(i, i, {RolImagen});
}

int ModeloGrilla::ColWidth(int columna) const
{
    Q_ASSERT_X(columna >= 0 && columna < columnas_, "ModeloGrilla::ColWidth", "columna fuera de la grilla");
    if (columna < 0 || columna >= columnas_)
        return 0;
    const int ancho = anchos_[size_t(columna)];
    return ancho < 0 ? AnchoPorDefecto : ancho;
}

void ModeloGrilla::setColWidth(int columna, int twips)
{
    Q_ASSERT_X(columna >= 0 && columna < columnas_, "ModeloGrilla::setColWidth", "columna fuera de la grilla");
    if (columna < 0 || columna >= columnas_)
        return;
    anchos_[size_t(columna)] = qMax(0, twips);
    emit formaCambiada();
}

void ModeloGrilla::setRowHeightMin(int twips)
{
    alto_minimo_ = qMax(0, twips);
    emit formaCambiada();
}

void ModeloGrilla::AddItem(const QString& texto)
{
    if (!lote_)
        beginInsertRows(QModelIndex(), filas_, filas_);
    valores_.resize(valores_.size() + size_t(columnas_), 0);
    formas_.resize(valores_.size(), 0);
    if (!imagenes_.empty())
        imagenes_.resize(valores_.size(), 0);
    ++filas_;
    if (columnas_ > 0)
        poner(posicion(filas_ - 1, 0), texto, 0);
    if (lote_)
        return;
    endInsertRows();
    emit formaCambiada();
}

ModeloGrilla::Lote::Lote(ModeloGrilla& modelo) : modelo_(modelo)
{
    if (modelo_.lote_++ == 0)
        modelo_.beginResetModel();
}

ModeloGrilla::Lote::~Lote()
{
    if (--modelo_.lote_ == 0) {
        modelo_.endResetModel();
        emit modelo_.formaCambiada();
    }
}

int ModeloGrilla::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : filas_;
}

int ModeloGrilla::columnCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : columnas_;
}

QVariant ModeloGrilla::data(const QModelIndex& indice, int rol) const
{
    if (!indice.isValid() || indice.row() >= filas_ || indice.column() >= columnas_)
        return {};
    switch (rol) {
    case Qt::DisplayRole:
        return texto_de(posicion(indice.row(), indice.column()));
    case RolImagen:
        return imagenes_.empty() ? QString() : nombres_imagen_.at(imagenes_[posicion(indice.row(), indice.column())]);
    case RolFija:
        return indice.row() < filas_fijas_ || indice.column() < columnas_fijas_;
    default:
        return {};
    }
}

qsizetype ModeloGrilla::caracteres() const
{
    qsizetype n = 0;
    for (size_t i = 0; i < valores_.size(); ++i)
        n += texto_de(i).size();
    return n;
}

} // namespace velmora
