#include "ui/grid/modelo_grilla.h"

#include <QtGlobal>

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
    if (columnas == columnas_) {
        textos_.resize(size_t(filas) * size_t(columnas));
        if (!imagenes_.empty())
            imagenes_.resize(textos_.size(), 0);
    } else {
        std::vector<QString> textos(size_t(filas) * size_t(columnas));
        std::vector<quint8> imagenes(imagenes_.empty() ? 0 : textos.size(), 0);
        const int fmin = qMin(filas, filas_);
        const int cmin = qMin(columnas, columnas_);
        for (int f = 0; f < fmin; ++f) {
            for (int c = 0; c < cmin; ++c) {
                textos[size_t(f) * size_t(columnas) + size_t(c)] = std::move(textos_[posicion(f, c)]);
                if (!imagenes.empty())
                    imagenes[size_t(f) * size_t(columnas) + size_t(c)] = imagenes_[posicion(f, c)];
            }
        }
        textos_ = std::move(textos);
        imagenes_ = std::move(imagenes);
        anchos_.resize(size_t(columnas), -1);
    }
    filas_ = filas;
    columnas_ = columnas;
    filas_fijas_ = qMin(filas_fijas_, filas_);
    columnas_fijas_ = qMin(columnas_fijas_, columnas_);
}

void ModeloGrilla::setRows(int filas)
{
    if (filas == filas_)
        return;
    if (lote_) {
        redimensionar(filas, columnas_);
        return;
    }
    beginResetModel();
    redimensionar(filas, columnas_);
    endResetModel();
    emit formaCambiada();
}

void ModeloGrilla::setCols(int columnas)
{
    if (columnas == columnas_)
        return;
    if (lote_) {
        redimensionar(filas_, columnas);
        return;
    }
    beginResetModel();
    redimensionar(filas_, columnas);
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
    return textos_[posicion(fila, columna)];
}

void ModeloGrilla::setTextMatrix(int fila, int columna, const QString& texto)
{
    if (!valida(fila, columna, "ModeloGrilla::setTextMatrix"))
        return;
    textos_[posicion(fila, columna)] = texto;
    if (lote_)
        return;
    const QModelIndex i = index(fila, columna);
    emit dataChanged(i, i, {Qt::DisplayRole});
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
        imagenes_.assign(textos_.size(), 0);
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
    textos_.resize(textos_.size() + size_t(columnas_));
    if (!imagenes_.empty())
        imagenes_.resize(textos_.size(), 0);
    ++filas_;
    if (columnas_ > 0)
        textos_[posicion(filas_ - 1, 0)] = texto;
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
        return textos_[posicion(indice.row(), indice.column())];
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
    for (const QString& t : textos_)
        n += t.size();
    return n;
}
