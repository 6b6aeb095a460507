// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace velmora {

// The "Leyenda" button of the report and trend screens: shows a small
// window with each picture and what it means.
QPushButton* boton_leyenda(QWidget* ventana, const QString& nombre);

// The legend window of `ventana` (made on first use, kept with it).
QWidget* mostrar_leyenda(QWidget* ventana);

} // namespace velmora
