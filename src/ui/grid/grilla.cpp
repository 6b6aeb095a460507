// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/grilla.h"

#include "ui/grid/grilla_accesible.h"
#include "ui/imagenes.h"
#include "ui/documento_impreso.h"
#include "ui/leyenda.h"
#include "ui/twips.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QToolTip>

namespace velmora {

namespace {
constexpr int kBorde = 3; // pixels either side of a heading's edge that grab it
} // namespace

Grilla::Grilla(QWidget* padre) : QAbstractScrollArea(padre), modelo_(new ModeloGrilla(this))
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setMouseTracking(true); // the cursor shows where a column can be widened
    instalar_accesibilidad_grilla();
    connect(modelo_, &ModeloGrilla::formaCambiada, this, [this] {
        const int f = qBound(modelo_->FixedRows() < modelo_->Rows() ? modelo_->FixedRows() : 0, fila_,
                             qMax(0, modelo_->Rows() - 1));
        const int c = qBound(modelo_->FixedCols() < modelo_->Cols() ? modelo_->FixedCols() : 0, columna_,
                             qMax(0, modelo_->Cols() - 1));
        fila_ = f;
        columna_ = c;
        ancla_ = QPoint(c, f);
        anchos_sucios_ = true;
        if (QAccessible::isActive()) {
            QAccessibleTableModelChangeEvent cambio(this, QAccessibleTableModelChangeEvent::ModelReset);
            QAccessible::updateAccessibility(&cambio);
        }
        ajustar_barras();
        viewport()->update();
    });
    connect(modelo_, &ModeloGrilla::dataChanged, this, [this](const QModelIndex& desde, const QModelIndex&) {
        // A heading's text sets its column's least width.
        if (desde.row() < modelo_->FixedRows() || desde.column() < modelo_->FixedCols()) {
            anchos_sucios_ = true;
            ajustar_barras();
        } else if (ocultar_vacias_) {
            ajustar_barras(); // the rows shown may be more or fewer
        }
        viewport()->update();
    });
    connect(modelo_, &ModeloGrilla::modelReset, this, [this] {
        anchos_sucios_ = true;
        if (ocultar_vacias_)
            ajustar_barras();
        viewport()->update();
    });
    ajustar_barras();
}

int Grilla::alto_fila() const
{
    const int por_fuente = fontMetrics().height() + 4;
    return qMax(por_fuente, twips_a_px(modelo_->RowHeightMin(), this));
}

int Grilla::ancho_columna_px(int columna) const
{
    if (anchos_sucios_ || ancho_vista_ != viewport()->width() || anchos_px_.size() != size_t(modelo_->Cols()))
        calcular_anchos();
    if (columna < 0 || size_t(columna) >= anchos_px_.size())
        return 0;
    return anchos_px_[size_t(columna)];
}

void Grilla::calcular_anchos() const
{
    const int columnas = modelo_->Cols();
    const QFontMetrics medida = fontMetrics();
    // Room for the text's 3 pixels each side and the cell's line.
    constexpr int kAire = 8;
    // A heading column of a long listing is measured on its first rows only.
    const int filas_medidas = modelo_->FixedCols() > 0 ? qMin(modelo_->Rows(), 500) : modelo_->FixedRows();
    minimos_px_.assign(size_t(columnas), 0);
    std::vector<int> naturales(size_t(columnas), 0);
    qint64 total = 0;
    for (int c = 0; c < columnas; ++c) {
        const int hasta = c < modelo_->FixedCols() ? filas_medidas : qMin(modelo_->FixedRows(), modelo_->Rows());
        int minimo = 0;
        for (int f = 0; f < hasta; ++f) {
            const QString texto = modelo_->TextMatrix(f, c);
            if (!texto.isEmpty())
                minimo = qMax(minimo, medida.horizontalAdvance(QStringView(texto).trimmed().toString()) + kAire);
        }
        minimos_px_[size_t(c)] = minimo;
        naturales[size_t(c)] = qMax(twips_a_px(modelo_->ColWidth(c), this), minimo);
        total += naturales[size_t(c)];
    }
    anchos_px_ = naturales;
    ancho_vista_ = viewport()->width();
    const qint64 sobra = ancho_vista_ - total;
    if (ensanchar_ && sobra > 0 && total > 0) {
        // Shared as the widths are, the last column taking what rounding leaves.
        qint64 dado = 0;
        for (int c = 0; c < columnas; ++c) {
            const int parte = c + 1 < columnas ? int(sobra * naturales[size_t(c)] / total) : int(sobra - dado);
            anchos_px_[size_t(c)] += parte;
            dado += parte;
        }
    }
    anchos_sucios_ = false;
}

int Grilla::ancho_natural_px(int columna) const
{
    ancho_columna_px(columna); // the least widths up to date
    return qMax(twips_a_px(modelo_->ColWidth(columna), this), minimos_px_[size_t(columna)]);
}

int Grilla::ancho_completo() const
{
    if (anchos_sucios_ || minimos_px_.size() != size_t(modelo_->Cols()))
        calcular_anchos();
    int ancho = 2 * frameWidth();
    for (int c = 0; c < modelo_->Cols(); ++c)
        ancho += ancho_natural_px(c);
    return ancho;
}

void Grilla::setEnsanchar(bool ensanchar)
{
    ensanchar_ = ensanchar;
    anchos_sucios_ = true;
    ajustar_barras();
    viewport()->update();
}

void Grilla::setOcultarVacias(bool ocultar)
{
    ocultar_vacias_ = ocultar;
    ajustar_barras();
    viewport()->update();
}

int Grilla::filas_mostradas() const
{
    if (!ocultar_vacias_)
        return modelo_->Rows();
    int filas = modelo_->Rows();
    const auto vacia = [this](int f) {
        for (int c = 0; c < modelo_->Cols(); ++c)
            if (!modelo_->TextoSinRelleno(f, c).trimmed().isEmpty())
                return false;
            else if (const QString imagen = modelo_->CellPicture(f, c);
                     !imagen.isEmpty() && imagen != QStringLiteral("Blanco"))
                return false;
        return true;
    };
    while (filas > modelo_->FixedRows() && vacia(filas - 1))
        --filas;
    return qMax(filas, qMin(fila_ + 1, modelo_->Rows()));
}

void Grilla::ajustar_barras()
{
    const int alto = alto_fila();
    const int fijas_alto = modelo_->FixedRows() * alto;
    const int cuerpo = qMax(0, filas_mostradas() - modelo_->FixedRows());
    const int visibles = qMax(1, (viewport()->height() - fijas_alto) / qMax(1, alto));
    verticalScrollBar()->setRange(0, qMax(0, cuerpo - visibles));
    verticalScrollBar()->setPageStep(visibles);
    verticalScrollBar()->setSingleStep(1);

    int total = 0;
    int fijas_ancho = 0;
    for (int c = 0; c < modelo_->Cols(); ++c) {
        const int w = ancho_columna_px(c);
        total += w;
        if (c < modelo_->FixedCols())
            fijas_ancho += w;
    }
    const int disponible = qMax(0, viewport()->width() - fijas_ancho);
    horizontalScrollBar()->setRange(0, qMax(0, total - fijas_ancho - disponible));
    horizontalScrollBar()->setPageStep(qMax(1, disponible));
    horizontalScrollBar()->setSingleStep(20);
}

int Grilla::ancho_fijas() const
{
    int x = 0;
    for (int c = 0; c < modelo_->FixedCols(); ++c)
        x += ancho_columna_px(c);
    return x;
}

int Grilla::x_columna(int columna) const
{
    int x = 0;
    for (int c = 0; c < columna; ++c)
        x += ancho_columna_px(c);
    if (columna >= modelo_->FixedCols())
        x -= horizontalScrollBar()->value();
    return x;
}

int Grilla::y_fila(int fila) const
{
    const int alto = alto_fila();
    if (fila < modelo_->FixedRows())
        return fila * alto;
    return (fila - verticalScrollBar()->value()) * alto;
}

QRect Grilla::rectangulo_celda() const
{
    if (modelo_->Rows() == 0 || modelo_->Cols() == 0)
        return {};
    const QRect r(x_columna(columna_), y_fila(fila_), ancho_columna_px(columna_), alto_fila());
    return r.translated(viewport()->pos());
}

QRect Grilla::rectangulo(int fila, int columna) const
{
    if (fila < 0 || columna < 0 || fila >= filas_mostradas() || columna >= modelo_->Cols())
        return {};
    if (fila >= modelo_->FixedRows() && fila < verticalScrollBar()->value() + modelo_->FixedRows())
        return {};
    return QRect(x_columna(columna), y_fila(fila), ancho_columna_px(columna), alto_fila()).translated(viewport()->pos());
}

QPoint Grilla::celda_en(const QPoint& punto) const
{
    const int alto = alto_fila();
    int fila = punto.y() / qMax(1, alto);
    if (fila >= modelo_->FixedRows())
        fila += verticalScrollBar()->value();
    if (punto.y() < 0 || fila >= filas_mostradas())
        return {-1, -1};
    int x = 0;
    for (int c = 0; c < modelo_->Cols(); ++c) {
        const int inicio = c < modelo_->FixedCols() ? x : x - horizontalScrollBar()->value();
        const int w = ancho_columna_px(c);
        if (punto.x() >= inicio && punto.x() < inicio + w
            && (c < modelo_->FixedCols() || punto.x() >= ancho_fijas()))
            return {c, fila};
        x += w;
    }
    return {-1, -1};
}

void Grilla::setRow(int fila)
{
    Q_ASSERT_X(fila >= 0 && fila < modelo_->Rows(), "Grilla::setRow", "fila fuera de la grilla");
    if (fila < 0 || fila >= modelo_->Rows())
        return;
    mover_a(fila, columna_);
}

void Grilla::setCol(int columna)
{
    Q_ASSERT_X(columna >= 0 && columna < modelo_->Cols(), "Grilla::setCol", "columna fuera de la grilla");
    if (columna < 0 || columna >= modelo_->Cols())
        return;
    mover_a(fila_, columna);
}

void Grilla::mover_a(int fila, int columna, bool extender)
{
    if (!extender && ancla_ != QPoint(columna, fila)) {
        ancla_ = QPoint(columna, fila);
        viewport()->update();
    }
    if (fila == fila_ && columna == columna_)
        return;
    emit LeaveCell();
    fila_ = fila;
    columna_ = columna;
    if (ocultar_vacias_)
        ajustar_barras(); // a blank row the keyboard reaches shows
    hacer_visible(fila, columna);
    viewport()->update();
    emit RowColChange();
    if (QAccessible::isActive() && hasFocus())
        anunciar_celda_actual(this);
}

QRect Grilla::seleccion() const
{
    return QRect(QPoint(qMin(ancla_.x(), columna_), qMin(ancla_.y(), fila_)),
                 QPoint(qMax(ancla_.x(), columna_), qMax(ancla_.y(), fila_)));
}

QString Grilla::texto_legible(int fila, int columna) const
{
    // A tab or line break inside a cell would split it when pasted.
    QString texto = modelo_->TextMatrix(fila, columna);
    texto.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
    texto = texto.trimmed();
    const QString significado = significado_imagen(modelo_->CellPicture(fila, columna));
    if (!significado.isEmpty())
        texto = texto.isEmpty() ? significado : texto + QStringLiteral(", ") + significado;
    return texto;
}

QString Grilla::texto_para_copiar() const
{
    const int filas_fijas = modelo_->FixedRows();
    const int columnas_fijas = modelo_->FixedCols();
    QRect rango = seleccion().intersected(
        QRect(QPoint(columnas_fijas, filas_fijas), QPoint(modelo_->Cols() - 1, modelo_->Rows() - 1)));
    if (rango.width() * rango.height() <= 1)
        rango = QRect(QPoint(columnas_fijas, filas_fijas), QPoint(modelo_->Cols() - 1, modelo_->Rows() - 1));
    QList<int> columnas;
    for (int c = 0; c < columnas_fijas; ++c)
        columnas << c;
    for (int c = rango.left(); c <= rango.right(); ++c)
        columnas << c;
    QList<int> filas;
    for (int f = 0; f < filas_fijas && f < modelo_->Rows(); ++f)
        filas << f;
    for (int f = rango.top(); f <= rango.bottom(); ++f)
        filas << f;
    QString texto;
    for (int f : filas) {
        QStringList celdas;
        for (int c : columnas) {
            celdas << texto_legible(f, c);
        }
        texto += celdas.join(u'\t') + u'\n';
    }
    return texto;
}

void Grilla::copiar() const
{
    QGuiApplication::clipboard()->setText(texto_para_copiar());
}

QString Grilla::ayuda(int fila, int columna) const
{
    if (fila < 0 || columna < 0 || fila >= modelo_->Rows() || columna >= modelo_->Cols())
        return {};
    if (ayuda_) {
        const QString texto = ayuda_(fila, columna);
        if (!texto.isEmpty())
            return texto;
    }
    return significado_imagen(modelo_->CellPicture(fila, columna));
}

int Grilla::borde_en(const QPoint& punto) const
{
    if (punto.y() < 0 || punto.y() >= modelo_->FixedRows() * alto_fila())
        return -1;
    for (int c = 0; c < modelo_->Cols(); ++c) {
        const int derecha = x_columna(c) + ancho_columna_px(c);
        if (c >= modelo_->FixedCols() && derecha < ancho_fijas())
            continue;
        if (qAbs(punto.x() - derecha) <= kBorde)
            return c;
    }
    return -1;
}

void Grilla::hacer_visible(int fila, int columna)
{
    if (fila >= modelo_->FixedRows()) {
        const int alto = alto_fila();
        const int visibles = qMax(1, (viewport()->height() - modelo_->FixedRows() * alto) / qMax(1, alto));
        const int primera = verticalScrollBar()->value() + modelo_->FixedRows();
        if (fila < primera)
            verticalScrollBar()->setValue(fila - modelo_->FixedRows());
        else if (fila >= primera + visibles)
            verticalScrollBar()->setValue(fila - modelo_->FixedRows() - visibles + 1);
    }
    if (columna >= modelo_->FixedCols()) {
        const int borde = ancho_fijas();
        const int izquierda = x_columna(columna);
        const int derecha = izquierda + ancho_columna_px(columna);
        QScrollBar* barra = horizontalScrollBar();
        if (izquierda < borde)
            barra->setValue(barra->value() - (borde - izquierda));
        else if (derecha > viewport()->width())
            barra->setValue(barra->value() + qMin(derecha - viewport()->width(), izquierda - borde));
    }
}

QString Grilla::Text() const
{
    return modelo_->Rows() && modelo_->Cols() ? modelo_->TextMatrix(fila_, columna_) : QString();
}

void Grilla::setText(const QString& texto)
{
    modelo_->setTextMatrix(fila_, columna_, texto);
}

void Grilla::setCellPicture(const QString& nombre)
{
    modelo_->setCellPicture(fila_, columna_, nombre);
}

void Grilla::dibujar_celda(QPainter& p, const QRect& r, int fila, int columna) const
{
    const bool fija = fila < modelo_->FixedRows() || columna < modelo_->FixedCols();
    if (fija) {
        QStyleOptionHeader opcion;
        opcion.initFrom(this);
        opcion.rect = r;
        opcion.state = QStyle::State_Enabled | QStyle::State_Raised;
        style()->drawControl(QStyle::CE_HeaderSection, &opcion, &p, this);
    } else {
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(r.topRight(), r.bottomRight());
        p.drawLine(r.bottomLeft(), r.bottomRight());
    }
    const QString imagen = modelo_->CellPicture(fila, columna);
    if (!imagen.isEmpty()) {
        const QPixmap pixmap = pixmap_imagen(imagen, r.size() - QSize(4, 4), devicePixelRatioF());
        if (!pixmap.isNull()) {
            QRect destino(QPoint(0, 0), pixmap.deviceIndependentSize().toSize());
            destino.moveCenter(r.center());
            p.drawPixmap(destino, pixmap);
        }
    }
    const QString texto = modelo_->TextMatrix(fila, columna);
    if (!texto.isEmpty()) {
        p.setPen(palette().color(fija ? QPalette::ButtonText : QPalette::Text));
        p.drawText(r.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, texto);
    }
    const QRect rango = seleccion();
    if (!fija && (rango.width() > 1 || rango.height() > 1) && rango.contains(columna, fila)) {
        QColor marcado = palette().color(QPalette::Highlight);
        marcado.setAlpha(60);
        p.fillRect(r.adjusted(0, 0, -1, -1), marcado);
    }
    if (!fija && fila == fila_ && columna == columna_ && hasFocus()) {
        QPen pen(palette().color(QPalette::Highlight));
        pen.setWidth(2);
        p.setPen(pen);
        p.drawRect(r.adjusted(1, 1, -2, -2));
    }
}

void Grilla::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    const int alto = alto_fila();
    const int filas_fijas = modelo_->FixedRows();
    const int columnas_fijas = modelo_->FixedCols();
    const int primera = verticalScrollBar()->value() + filas_fijas;
    const int visibles = viewport()->height() / qMax(1, alto) + 1;
    const int borde_fijo = ancho_fijas();

    auto dibujar_fila = [&](int fila) {
        const int y = y_fila(fila);
        // Body columns first, clipped so they never run under the fixed ones.
        p.save();
        p.setClipRect(QRect(borde_fijo, 0, viewport()->width() - borde_fijo, viewport()->height()));
        for (int c = columnas_fijas; c < modelo_->Cols(); ++c) {
            const int x = x_columna(c);
            const int w = ancho_columna_px(c);
            if (x > viewport()->width())
                break;
            if (x + w < borde_fijo)
                continue;
            dibujar_celda(p, QRect(x, y, w, alto), fila, c);
        }
        p.restore();
        for (int c = 0; c < columnas_fijas; ++c)
            dibujar_celda(p, QRect(x_columna(c), y, ancho_columna_px(c), alto), fila, c);
    };
    p.save();
    p.setClipRect(QRect(0, filas_fijas * alto, viewport()->width(), viewport()->height()));
    const int mostradas = filas_mostradas();
    for (int f = primera; f < mostradas && f < primera + visibles; ++f)
        dibujar_fila(f);
    p.restore();
    for (int f = 0; f < filas_fijas && f < modelo_->Rows(); ++f)
        dibujar_fila(f);
}

void Grilla::mousePressEvent(QMouseEvent* evento)
{
    const QPoint punto = evento->position().toPoint();
    const int borde = evento->button() == Qt::LeftButton ? borde_en(punto) : -1;
    if (borde >= 0) {
        // Dragging a heading's edge widens its column; no cell is clicked.
        columna_arrastrada_ = borde;
        x_arrastre_ = punto.x();
        ancho_arrastre_ = ancho_natural_px(borde);
        vecina_arrastre_ = -1;
        escala_arrastre_ = 1;
        qint64 total = 0;
        for (int c = 0; c < modelo_->Cols(); ++c)
            total += ancho_natural_px(c);
        if (ensanchar_ && borde + 1 < modelo_->Cols() && total > 0 && total < viewport()->width()) {
            // The columns fill the view, each drawn wider than its width in
            // the same ratio: the edge moves room between its two columns,
            // so that the ratio, and every other column, stay as they are.
            vecina_arrastre_ = ancho_natural_px(borde + 1);
            escala_arrastre_ = double(viewport()->width()) / double(total);
        }
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint celda = celda_en(punto);
    if (celda.x() >= modelo_->FixedCols() && celda.y() >= modelo_->FixedRows())
        mover_a(celda.y(), celda.x(), evento->modifiers() & Qt::ShiftModifier);
    emit Click();
}

void Grilla::mouseMoveEvent(QMouseEvent* evento)
{
    const QPoint punto = evento->position().toPoint();
    if (columna_arrastrada_ >= 0) {
        const int c = columna_arrastrada_;
        const int paso = qRound((punto.x() - x_arrastre_) / escala_arrastre_);
        if (vecina_arrastre_ < 0) {
            modelo_->setColWidth(c, px_a_twips(qMax(2 * kBorde + 2, ancho_arrastre_ + paso), this));
            return;
        }
        auto menor = [this](int columna) { return qMax(2 * kBorde + 2, minimos_px_[size_t(columna)]); };
        // Neither column narrower than its headings (a zero-width column may
        // have no room to give: the dragged one's least width wins).
        const int dado = qMax(menor(c) - ancho_arrastre_, qMin(paso, vecina_arrastre_ - menor(c + 1)));
        modelo_->setColWidth(c, px_a_twips(ancho_arrastre_ + dado, this));
        modelo_->setColWidth(c + 1, px_a_twips(vecina_arrastre_ - dado, this));
        return;
    }
    if (borde_en(punto) >= 0)
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    QAbstractScrollArea::mouseMoveEvent(evento);
}

void Grilla::mouseReleaseEvent(QMouseEvent* evento)
{
    columna_arrastrada_ = -1;
    QAbstractScrollArea::mouseReleaseEvent(evento);
}

bool Grilla::viewportEvent(QEvent* evento)
{
    if (evento->type() == QEvent::ToolTip) {
        auto* ayuda_evento = static_cast<QHelpEvent*>(evento);
        const QPoint celda = celda_en(ayuda_evento->pos());
        const QString texto = ayuda(celda.y(), celda.x());
        if (texto.isEmpty()) {
            QToolTip::hideText();
            evento->ignore();
        } else {
            QToolTip::showText(ayuda_evento->globalPos(), texto, viewport(),
                               rectangulo(celda.y(), celda.x()).translated(-viewport()->pos()));
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(evento);
}

void Grilla::keyPressEvent(QKeyEvent* evento)
{
    if (evento->matches(QKeySequence::Copy)) {
        copiar();
        return;
    }
    int fila = fila_;
    int columna = columna_;
    switch (evento->key()) {
    case Qt::Key_Up:
        fila = qMax(modelo_->FixedRows(), fila - 1);
        break;
    case Qt::Key_Down:
        fila = qMin(modelo_->Rows() - 1, fila + 1);
        break;
    case Qt::Key_Left:
        columna = qMax(modelo_->FixedCols(), columna - 1);
        break;
    case Qt::Key_Right:
        columna = qMin(modelo_->Cols() - 1, columna + 1);
        break;
    case Qt::Key_PageUp:
        fila = qMax(modelo_->FixedRows(), fila - verticalScrollBar()->pageStep());
        break;
    case Qt::Key_PageDown:
        fila = qMin(modelo_->Rows() - 1, fila + verticalScrollBar()->pageStep());
        break;
    default:
        QAbstractScrollArea::keyPressEvent(evento);
        return;
    }
    if (fila >= 0 && columna >= 0)
        mover_a(fila, columna, evento->modifiers() & Qt::ShiftModifier);
}

void Grilla::focusInEvent(QFocusEvent* evento)
{
    QAbstractScrollArea::focusInEvent(evento);
    viewport()->update();
    emit GotFocus();
}

void Grilla::resizeEvent(QResizeEvent* evento)
{
    QAbstractScrollArea::resizeEvent(evento);
    ajustar_barras();
}

void Grilla::changeEvent(QEvent* evento)
{
    QAbstractScrollArea::changeEvent(evento);
    if (evento->type() == QEvent::FontChange || evento->type() == QEvent::StyleChange) {
        anchos_sucios_ = true;
        ajustar_barras();
    }
}

void Grilla::scrollContentsBy(int, int)
{
    viewport()->update();
}

QSize Grilla::sizeHint() const
{
    int ancho = 2 * frameWidth();
    for (int c = 0; c < modelo_->Cols(); ++c)
        ancho += ancho_columna_px(c);
    return {qMin(ancho, 800), qMin(2 * frameWidth() + modelo_->Rows() * alto_fila(), 400)};
}

TablaImpresa tabla_impresa(const ModeloGrilla& modelo)
{
    TablaImpresa tabla;
    tabla.columnas_fijas = modelo.FixedCols();
    const int desde = modelo.FixedRows();
    for (int c = 0; c < modelo.Cols(); ++c) {
        tabla.encabezados << (desde > 0 ? modelo.TextMatrix(0, c) : QString());
        tabla.anchos << modelo.ColWidth(c);
    }
    for (int f = desde; f < modelo.Rows(); ++f) {
        QStringList textos;
        QStringList imagenes;
        for (int c = 0; c < modelo.Cols(); ++c) {
            textos << modelo.TextMatrix(f, c);
            imagenes << modelo.CellPicture(f, c);
        }
        tabla.textos << textos;
        tabla.imagenes << imagenes;
    }
    return tabla;
}

} // namespace velmora
