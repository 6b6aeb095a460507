// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

class QPushButton;
class QWidget;

namespace velmora {

// Lays out a menu window: its buttons in columns from the top, free room,
// then `salir` at the foot of the last column. Each button is tall enough for
// its picture and as wide as its column; the client area starts at
// ancho_twips x alto_twips. Tab follows the columns, `salir` last; a screen
// reader hears each text without the blanks that place it.
void disponer_menu(QWidget* ventana, const QList<QList<QPushButton*>>& columnas, QPushButton* salir,
                   int ancho_twips, int alto_twips);

} // namespace velmora
