// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QSettings;
class QWidget;

namespace velmora {

// What a desktop user expects of every top-level window: Escape closes it
// (as the window manager's close does), except a window whose closing ends
// the program, Enter presses its default button,
// each button has an access key of its own, and its size and position are
// remembered between runs under `nombre`.
void preparar_ventana(QWidget* ventana, const QString& nombre);

// Gives each button of the window, and each label that names a box, an
// access key (Alt + a letter of its caption) that no other one of the
// window uses. A caption that already marks one keeps it.
void poner_teclas_acceso(QWidget* ventana);

// The caption as the user reads it: access-key marks removed, "&&" shown as "&".
QString texto_visible(const QString& texto);

// The program's settings, kept in the user's configuration folder.
QSettings& configuracion();

// Keeps a control's distance to the right or bottom edge of its window as
// the window is resized: by moving it, or by growing it.
enum class Ancla { MoverDerecha = 1, CrecerAncho = 2, MoverAbajo = 4, CrecerAlto = 8 };
void anclar(QWidget* control, int anclas);
constexpr int operator|(Ancla a, Ancla b) { return int(a) | int(b); }

} // namespace velmora
