// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;

namespace velmora {

// Makers of the screens' controls, owned by the window. A name given becomes
// the control's objectName, by which tests find it.

// A new control of the window with its name.
template <class Control>
Control* nombrado(QWidget* ventana, const QString& nombre)
{
    auto* c = new Control(ventana);
    c->setObjectName(nombre);
    return c;
}

QLabel* etiqueta(QWidget* ventana, const QString& nombre, const QString& texto);

// An unnamed label that names `nombrada` for screen readers (its buddy).
QLabel* etiqueta_de(QWidget* ventana, const QString& texto, QWidget* nombrada);

// What a label names, as a reader says it: "&Perspectiva :" reads as
// "Perspectiva" (access-key marks removed, "&&" kept as "&", the trailing
// colon and blanks dropped). sin_dos_puntos() does the last part only, for
// a text whose marks are already gone.
QString nombre_de_etiqueta(const QString& texto);
QString sin_dos_puntos(QString texto);

// A button with its caption and its picture (":/botones/<imagen>.svg").
QPushButton* boton(QWidget* ventana, const QString& nombre, const QString& texto, const QString& imagen);

// A screen holding values the user typed and has not saved says so, so that
// ending the program asks first.
void marcar_sin_guardar(QWidget* ventana, bool sin_guardar);
bool tiene_sin_guardar(const QWidget* ventana);

} // namespace velmora
