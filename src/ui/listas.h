// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QComboBox;
class QLineEdit;
class QObject;
class QWidget;

namespace velmora {

// Screen readers name every drop-down list (QComboBox) by its label, never by
// the value chosen, which they read as its value. Installed once; every
// lista_editable does it.
void instalar_accesibilidad_listas();

// A screen reader reads the box's text without its trailing blanks (a box
// that shows a padded cell or item), as it reads a list's.
void leer_sin_relleno(QLineEdit* caja);

// An editable drop-down list of the screens. What the user types stays as
// typed: no completion that would change it (or take it as a pick), and
// Enter never keeps it as an item. A picked item shows from its start, not
// scrolled to its trailing blanks, and a screen reader reads its items
// without those blanks.
QComboBox* lista_editable(QWidget* ventana, const QString& nombre);

// A lista_editable at least ancho_twips wide.
QComboBox* lista_ancha(QWidget* ventana, const QString& nombre, int ancho_twips);

// A lista_editable whose open list shows 20 items (the data entry screens).
QComboBox* lista_larga(QWidget* ventana, const QString& nombre);

// A lista_larga in a layout: as wide as `caracteres` characters whatever its
// items hold (they carry trailing blanks and would set its width).
QComboBox* lista_en_capa(QWidget* ventana, const QString& nombre, int caracteres = 12);

// How each row's field becomes a list item.
enum class FormaItem {
    Rellena, // the field's text followed by 15 blanks, cut to the width
    Cortada, // the field's text as the database returns it, cut to the width
};

// Adds one item per result row of the command, in the rows' order; nothing
// is chosen afterwards. A list takes at most 32767 items, a product choice
// (positions are int): nobody picks from more, and a runaway result stops
// there.
void llenar_lista(QComboBox* lista, const QString& comando, const QString& campo, int ancho,
                  FormaItem forma = FormaItem::Rellena);

// The twelve month names as the items, none chosen.
void llenar_meses(QComboBox* lista);

// Runs the step when the user picks an item from the open list (a click, or
// Return on the highlighted item), and only then: QComboBox::activated also
// fires when a typed text that equals an item is ended with Return or Tab,
// which is typing, not picking.
void al_elegir(QComboBox* lista, QObject* contexto, std::function<void()> paso);

} // namespace velmora
