// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

class QLineEdit;

namespace velmora {

class Grilla;

// Makes a grid editable: a text box floats over the current cell, takes its
// text, and gives its text back to the cell when the grid leaves it. Arrow
// keys, Enter and Tab in the box move to the neighbouring cells; Tab past the
// last cell and Shift+Tab before the first leave the grid for the next or
// previous control. A screen reader hears the box named by its cell's row
// and column headings, its value without padding. Works only
// through the events of the two controls, which the screen owns.
class Class1 final : public QObject {
    Q_OBJECT
public:
    explicit Class1(QObject* padre = nullptr);

    // Binds the grid and the box; neither places nor shows the box.
    void Iniciar(Grilla* El_FlexGrid, QLineEdit* El_TextBox);

    // Writes the box's text into the cell it is editing, as leaving the cell
    // would (for a screen about to read its cells). Nothing before the box
    // has been placed.
    void escribir_edicion();
    // The box takes the text of its cell again (for a screen that has just
    // rewritten the cells), so an older text never goes over a fresh value.
    void refrescar();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void ubicar_texto();
    void paso_fila_columna();
    void mostrar_texto();

    void Un_FlexGrid_Click();
    void Un_FlexGrid_GotFocus();
    void Un_FlexGrid_LeaveCell();
    void Un_FlexGrid_RowColChange();
    void Un_text_KeyDown(int tecla);
    // True when the key press is used up here and never reaches the box.
    bool Un_text_KeyPress(int tecla);
    void Un_text_LostFocus();
    void salir_de_la_grilla(bool adelante);

    QPointer<Grilla> Un_FlexGrid;
    QPointer<QLineEdit> Un_text;
    // Where the box was last placed; as wide as the grid's own Row and Col,
    // so no grid is too long for them.
    int fila_guardada_ = 0;
    int columna_guardada_ = 0;
    bool ocupado_ = false;
};

} // namespace velmora
