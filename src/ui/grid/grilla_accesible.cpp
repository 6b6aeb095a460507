// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/grilla_accesible.h"

#include "ui/grid/grilla.h"
#include "ui/grid/modelo_grilla.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace velmora {

namespace {

// The table's rows and columns are the grid's body; the fixed rows and
// columns are its headings.
class TablaGrilla;

class CeldaGrilla final : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    CeldaGrilla(Grilla* grilla, int fila, int columna) : grilla_(grilla), fila_(fila), columna_(columna) {}

    bool isValid() const override
    {
        return grilla_ && fila_ < grilla_->Rows() && columna_ < grilla_->Cols();
    }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(grilla_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name:
        case QAccessible::Value:
            return grilla_->texto_legible(fila_, columna_);
        case QAccessible::Description:
            return grilla_->ayuda(fila_, columna_);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = grilla_->rectangulo(fila_, columna_);
        return r.isEmpty() ? QRect() : QRect(grilla_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override
    {
        if (grilla_ && fila_ < grilla_->FixedRows())
            return QAccessible::ColumnHeader;
        if (grilla_ && columna_ < grilla_->FixedCols())
            return QAccessible::RowHeader;
        return QAccessible::Cell;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.selectable = true;
        s.focusable = true;
        s.selected = isSelected();
        s.focused = grilla_->hasFocus() && grilla_->Row() == fila_ && grilla_->Col() == columna_;
        s.invisible = grilla_->rectangulo(fila_, columna_).isEmpty();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType tipo) override
    {
        return tipo == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    // QAccessibleTableCellInterface, in body coordinates.
    bool isSelected() const override { return grilla_ && grilla_->seleccion().contains(columna_, fila_); }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return grilla_ ? columna_ - grilla_->FixedCols() : -1; }
    int rowIndex() const override { return grilla_ ? fila_ - grilla_->FixedRows() : -1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<Grilla> grilla_;
    int fila_;
    int columna_;
};

class TablaGrilla final : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit TablaGrilla(Grilla* grilla) : QAccessibleWidget(grilla, QAccessible::Table) {}
    ~TablaGrilla() override { olvidar_celdas(); }

    Grilla* grilla() const { return static_cast<Grilla*>(widget()); }

    // The interface of a cell in grid coordinates, made once and kept.
    QAccessibleInterface* celda(int fila, int columna) const
    {
        if (fila < 0 || columna < 0 || fila >= grilla()->Rows() || columna >= grilla()->Cols())
            return nullptr;
        const quint64 clave = (quint64(quint32(fila)) << 32) | quint32(columna);
        if (const auto it = celdas_.constFind(clave); it != celdas_.constEnd())
            return QAccessible::accessibleInterface(*it);
        auto* nueva = new CeldaGrilla(grilla(), fila, columna);
        celdas_.insert(clave, QAccessible::registerAccessibleInterface(nueva));
        return nueva;
    }

    void olvidar_celdas()
    {
        for (QAccessible::Id id : std::as_const(celdas_))
            QAccessible::deleteAccessibleInterface(id);
        celdas_.clear();
    }

    // QAccessibleInterface
    QString text(QAccessible::Text tipo) const override
    {
        QString texto = QAccessibleWidget::text(tipo);
        if (tipo == QAccessible::Name && texto.isEmpty()) {
            // A table is named after its window ("Principales") unless it
            // has a name or a label of its own.
            texto = grilla()->window()->accessibleName();
            if (texto.isEmpty())
                texto = grilla()->window()->windowTitle();
        }
        if (tipo == QAccessible::Description && texto.isEmpty()) {
            const int filas = qMax(0, filas_con_datos() - grilla()->FixedRows());
            texto = filas == 1 ? QStringLiteral("1 fila con datos")
                               : QStringLiteral("%1 filas con datos").arg(filas);
        }
        return texto;
    }
    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int indice) const override
    {
        const int columnas = columnCount();
        if (indice < 0 || columnas == 0 || indice >= childCount())
            return nullptr;
        return cellAt(indice / columnas, indice % columnas);
    }
    int indexOfChild(const QAccessibleInterface* hijo) const override
    {
        if (!hijo || hijo->role() != QAccessible::Cell)
            return -1;
        auto* c = const_cast<QAccessibleInterface*>(hijo)->tableCellInterface();
        return c ? c->rowIndex() * columnCount() + c->columnIndex() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint en_vista = grilla()->viewport()->mapFromGlobal(QPoint(x, y));
        const QPoint c = grilla()->celda_en(en_vista);
        return c.x() < 0 ? nullptr : celda(c.y(), c.x());
    }
    QAccessibleInterface* focusChild() const override
    {
        return grilla()->hasFocus() ? celda(grilla()->Row(), grilla()->Col()) : nullptr;
    }
    void* interface_cast(QAccessible::InterfaceType tipo) override
    {
        if (tipo == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(tipo);
    }

    // QAccessibleTableInterface, in body coordinates.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int fila, int columna) const override
    {
        if (fila < 0 || columna < 0 || fila >= rowCount() || columna >= columnCount())
            return nullptr;
        return celda(fila + grilla()->FixedRows(), columna + grilla()->FixedCols());
    }
    // The rows up to the last one that holds a text: the blank rows a report
    // keeps below its indicators are not read out one by one ("empty,
    // empty, ..."), and the reader says how many rows there are. The row
    // the keyboard moved to is always in, so the focused cell is a cell of
    // the table.
    int rowCount() const override
    {
        return qMax(0, qMax(filas_con_datos(), grilla()->Row() + 1) - grilla()->FixedRows());
    }
    int columnCount() const override { return qMax(0, grilla()->Cols() - grilla()->FixedCols()); }
    QString columnDescription(int columna) const override
    {
        QStringList partes;
        for (int f = 0; f < grilla()->FixedRows(); ++f)
            partes << grilla()->texto_legible(f, columna + grilla()->FixedCols());
        partes.removeAll(QString());
        return partes.join(u' ');
    }
    QString rowDescription(int fila) const override
    {
        QStringList partes;
        for (int c = 0; c < grilla()->FixedCols(); ++c)
            partes << grilla()->texto_legible(fila + grilla()->FixedRows(), c);
        partes.removeAll(QString());
        return partes.join(u' ');
    }
    int selectedCellCount() const override { return selectedCells().size(); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> celdas;
        const QRect r = grilla()->seleccion();
        for (int f = r.top(); f <= r.bottom(); ++f)
            for (int c = r.left(); c <= r.right(); ++c)
                if (QAccessibleInterface* i = celda(f, c))
                    celdas << i;
        return celdas;
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { olvidar_celdas(); }

private:
    int filas_con_datos() const
    {
        const ModeloGrilla* m = grilla()->modelo();
        for (int f = m->Rows() - 1; f >= m->FixedRows(); --f)
            for (int c = 0; c < m->Cols(); ++c)
                if (!m->TextoSinRelleno(f, c).trimmed().isEmpty())
                    return f + 1;
        return m->FixedRows();
    }

    mutable QHash<quint64, QAccessible::Id> celdas_;
};

QList<QAccessibleInterface*> CeldaGrilla::columnHeaderCells() const
{
    QList<QAccessibleInterface*> encabezados;
    auto* tabla = static_cast<TablaGrilla*>(parent());
    if (!isValid() || !tabla)
        return encabezados;
    for (int f = 0; f < grilla_->FixedRows(); ++f)
        encabezados << tabla->celda(f, columna_);
    return encabezados;
}

QList<QAccessibleInterface*> CeldaGrilla::rowHeaderCells() const
{
    QList<QAccessibleInterface*> encabezados;
    auto* tabla = static_cast<TablaGrilla*>(parent());
    if (!isValid() || !tabla)
        return encabezados;
    for (int c = 0; c < grilla_->FixedCols(); ++c)
        encabezados << tabla->celda(fila_, c);
    return encabezados;
}

QAccessibleInterface* fabrica(const QString&, QObject* objeto)
{
    if (auto* grilla = qobject_cast<Grilla*>(objeto))
        return new TablaGrilla(grilla);
    return nullptr;
}

} // namespace

void instalar_accesibilidad_grilla()
{
    static const bool instalada = [] {
        QAccessible::installFactory(fabrica);
        return true;
    }();
    Q_UNUSED(instalada);
}

void anunciar_celda_actual(Grilla* grilla)
{
    QAccessibleInterface* tabla = QAccessible::queryAccessibleInterface(grilla);
    if (!tabla)
        return;
    auto* t = static_cast<TablaGrilla*>(tabla);
    QAccessibleInterface* celda = t->celda(grilla->Row(), grilla->Col());
    if (!celda)
        return;
    QAccessibleEvent evento(celda, QAccessible::Focus);
    QAccessible::updateAccessibility(&evento);
}

} // namespace velmora
