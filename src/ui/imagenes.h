// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

class QAbstractButton;
class QWidget;

namespace velmora {

// Pictures are SVG resources, drawn at the size they are shown so that they
// stay sharp on any screen.

// The picture ":/iconos/<nombre>.svg" (the report icons: "Verde", "raya"...)
// fitted into tamano, in device-independent pixels, keeping its proportions,
// centred on a transparent ground. Drawn for the given device pixel ratio,
// or for the application's when escala is 0. A null pixmap for an empty or
// unknown name.
QPixmap pixmap_imagen(const QString& nombre, QSize tamano, qreal escala = 0);

// The resource path of a report picture: ":/iconos/<nombre>.svg".
QString ruta_icono(const QString& nombre);

// The button picture ":/botones/<nombre>.svg", sharp at any size.
QIcon icono_boton(const QString& nombre);

// Puts the button picture beside the button's caption, at the size every
// screen uses.
void poner_imagen(QAbstractButton* boton, const QString& nombre);

// Paints ":/fondos/<nombre>.svg" over the whole window, behind its
// controls ("menu" for menus and most screens, "principal" for the
// principal report).
void fijar_fondo(QWidget* ventana, const QString& nombre);

} // namespace velmora
