// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/class1.h"

#include "ui/grid/grilla.h"
#include "ui/atender.h"
#include "ui/listas.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace velmora {

Class1::Class1(QObject* padre) : QObject(padre) {}

void Class1::Iniciar(Grilla* El_FlexGrid, QLineEdit* El_TextBox)
{
    if (Un_FlexGrid)
        disconnect(Un_FlexGrid, nullptr, this, nullptr);
    if (Un_text)
        Un_text->removeEventFilter(this);
    Un_FlexGrid = El_FlexGrid;
    Un_text = El_TextBox;
    // It shows a cell's text, padding included; a reader hears the value.
    leer_sin_relleno(Un_text);
    connect(Un_FlexGrid, &Grilla::Click, this, atendido(this, &Class1::Un_FlexGrid_Click));
    connect(Un_FlexGrid, &Grilla::GotFocus, this, atendido(this, &Class1::Un_FlexGrid_GotFocus));
    connect(Un_FlexGrid, &Grilla::LeaveCell, this, atendido(this, &Class1::Un_FlexGrid_LeaveCell));
    connect(Un_FlexGrid, &Grilla::RowColChange, this, atendido(this, &Class1::Un_FlexGrid_RowColChange));
    Un_text->installEventFilter(this);
}

void Class1::escribir_edicion()
{
    Un_FlexGrid_LeaveCell();
}

void Class1::refrescar()
{
    if (Un_FlexGrid && Un_text)
        Un_text->setText(Un_FlexGrid->Text());
}

void Class1::ubicar_texto()
{
    Un_text->setText(Un_FlexGrid->Text());
    // A screen reader names the box by the cell it edits ("Valor de Enero"):
    // its row's heading, then its column's.
    const int fila = Un_FlexGrid->Row();
    const int columna = Un_FlexGrid->Col();
    const QString de_fila = Un_FlexGrid->FixedCols() > 0 ? Un_FlexGrid->texto_legible(fila, 0) : QString();
    const QString de_columna = Un_FlexGrid->FixedRows() > 0 ? Un_FlexGrid->texto_legible(0, columna) : QString();
    Un_text->setAccessibleName(de_fila.isEmpty() || de_columna.isEmpty()
                                   ? de_fila + de_columna
                                   : de_fila + QStringLiteral(" de ") + de_columna);
    // Typing replaces the cell's value; a click in the box, Home or End edit it in place.
    Un_text->selectAll();
    QFont fuente = Un_text->font();
    fuente.setPointSizeF(Un_FlexGrid->FontSize());
    Un_text->setFont(fuente);

    const QRect celda = Un_FlexGrid->rectangulo_celda();
    int ancho = celda.width();
    // A cell cut by the grid's right edge: the box ends where the grid ends.
    if (Un_FlexGrid->width() < celda.left() + celda.width())
        ancho = Un_FlexGrid->width() - celda.left();
    QPoint esquina = Un_FlexGrid->pos();
    if (Un_text->parentWidget() != Un_FlexGrid->parentWidget() && Un_text->parentWidget())
        esquina = Un_text->parentWidget()->mapFromGlobal(Un_FlexGrid->mapToGlobal(QPoint()));
    Un_text->setGeometry(esquina.x() + celda.left(), esquina.y() + celda.top(), ancho, celda.height());
}

void Class1::mostrar_texto()
{
    Un_text->show();
    Un_text->raise();
    Un_text->setFocus(Qt::OtherFocusReason);
}

void Class1::paso_fila_columna()
{
    // Our own moves raise the grid's events again while a step runs.
    if (ocupado_)
        return;
    ocupado_ = true;
    const int columna = Un_FlexGrid->Col();
    const int fila = Un_FlexGrid->Row();
    if (columna != columna_guardada_ || fila != fila_guardada_) {
        fila_guardada_ = fila;
        columna_guardada_ = columna;
        ubicar_texto();
        mostrar_texto();
    }
    ocupado_ = false;
}

void Class1::Un_FlexGrid_Click()
{
    ubicar_texto();
    mostrar_texto();
}

void Class1::Un_FlexGrid_GotFocus()
{
    paso_fila_columna();
}

void Class1::Un_FlexGrid_LeaveCell()
{
    // Before the box has ever shown a cell, or after the keyboard left the
    // grid, its text belongs to no cell.
    if (fila_guardada_ <= 0 && columna_guardada_ <= 0)
        return;
    Un_FlexGrid->setText(Un_text->text());
}

void Class1::Un_FlexGrid_RowColChange()
{
    paso_fila_columna();
}

void Class1::Un_text_KeyDown(int tecla)
{
    Grilla& g = *Un_FlexGrid;
    switch (tecla) {
    case Qt::Key_Right:
        if (g.Col() + 2 > g.Cols() && g.Row() + 1 < g.Rows()) {
            g.setCol(1);
            g.setRow(g.Row() + 1);
        } else if (g.Col() + 1 < g.Cols()) {
            g.setCol(g.Col() + 1);
        }
        break;
    case Qt::Key_Left:
        if (g.Col() == 1 && g.Row() != 1) {
            g.setCol(g.Cols() - 1);
            g.setRow(g.Row() - 1);
        } else if (g.Col() != 1) {
            g.setCol(g.Col() - 1);
        }
        break;
    case Qt::Key_Up:
        if (g.Row() > 1)
            g.setRow(g.Row() - 1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (g.Row() + 1 < g.Rows())
            g.setRow(g.Row() + 1);
        break;
    default:
        break;
    }
    paso_fila_columna();
}

bool Class1::Un_text_KeyPress(int tecla)
{
    Grilla& g = *Un_FlexGrid;
    switch (tecla) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    case Qt::Key_Tab:
        // Past the last cell the keyboard goes on to the next control: a
        // grid that keeps it is a trap.
        if (g.Row() + 1 >= g.Rows() && g.Col() + 1 >= g.Cols())
            salir_de_la_grilla(true);
        else
            Un_text_KeyDown(Qt::Key_Right);
        return true;
    case Qt::Key_Backtab:
        if (g.Row() <= 1 && g.Col() <= 1)
            salir_de_la_grilla(false);
        else
            Un_text_KeyDown(Qt::Key_Left);
        return true;
    default:
        return false;
    }
}

void Class1::salir_de_la_grilla(bool adelante)
{
    // The value typed is the cell's, as with any move.
    Un_FlexGrid_LeaveCell();
    QWidget* w = Un_FlexGrid;
    for (int paso = 0; paso < 10000; ++paso) {
        w = adelante ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == Un_FlexGrid)
            return;
        if (w == Un_text || Un_FlexGrid->isAncestorOf(w) || w->window() != Un_FlexGrid->window())
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
            w->setFocus(adelante ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            // Coming back to the grid shows the box again on its cell.
            fila_guardada_ = -1;
            columna_guardada_ = -1;
            return;
        }
    }
}

void Class1::Un_text_LostFocus()
{
    Un_text->hide();
    paso_fila_columna();
}

bool Class1::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto != Un_text || !Un_FlexGrid)
        return QObject::eventFilter(objeto, evento);
    if (evento->type() == QEvent::KeyPress) {
        const auto* pulsada = static_cast<QKeyEvent*>(evento);
        int tecla = pulsada->key();
        // Shift+Tab arrives as Tab with Shift from some keyboards and as
        // Backtab from others: both go backwards.
        if (tecla == Qt::Key_Tab && (pulsada->modifiers() & Qt::ShiftModifier))
            tecla = Qt::Key_Backtab;
        const int fila = Un_FlexGrid->Row();
        const int columna = Un_FlexGrid->Col();
        Un_text_KeyDown(tecla);
        const bool usada = Un_text_KeyPress(tecla);
        const bool movida = fila != Un_FlexGrid->Row() || columna != Un_FlexGrid->Col();
        // A key that moved the box is spent: the box already shows the new
        // cell. Up and Down mean nothing to a one-line box.
        return usada || movida || tecla == Qt::Key_Up || tecla == Qt::Key_Down;
    }
    if (evento->type() == QEvent::FocusOut) {
        // Switching to another window or opening the box's own context menu
        // is not leaving the box.
        const Qt::FocusReason razon = static_cast<QFocusEvent*>(evento)->reason();
        if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason)
            Un_text_LostFocus();
    }
    return QObject::eventFilter(objeto, evento);
}

} // namespace velmora
