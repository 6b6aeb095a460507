#pragma once

#include <QString>

#include <functional>

class QComboBox;
class QObject;
class QWidget;

// An editable drop-down list of the screens. What the user types stays as
// typed: no completion that would change it (or take it as a pick), and
// Enter never keeps it as an item. A picked item shows from its start, not
// scrolled to its trailing blanks.
QComboBox* lista_editable(QWidget* ventana, const QString& nombre);

// How each row's field becomes a list item.
enum class FormaItem {
    Rellena, // the field's text followed by 15 blanks, cut to the width
    Cortada, // the field's text as the database returns it, cut to the width
};

// Adds one item per result row of the command, in the rows' order; nothing
// is chosen afterwards. A list holds at most 32767 items (its positions are
// 16-bit).
void llenar_lista(QComboBox* lista, const QString& comando, const QString& campo, int ancho,
                  FormaItem forma = FormaItem::Rellena);

// Runs the step when the user picks an item from the open list (a click, or
// Return on the highlighted item), and only then: QComboBox::activated also
// fires when a typed text that equals an item is ended with Return or Tab,
// which is typing, not picking.
void al_elegir(QComboBox* lista, QObject* contexto, std::function<void()> paso);
