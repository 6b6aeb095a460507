// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// Paths the user types or pastes for a file the program writes (a
// spreadsheet, a PDF). A control character (U+0000 to U+001F, U+007F to
// U+009F) has no place in a file name, and the system ends a name at a NUL,
// so the file written would be another: such a path is refused.

// True when the path holds a control character.
bool tiene_caracter_de_control(const QString& ruta);

// The path as a message can show it: each control character written as its
// code between brackets ("Datos[U+0000].xlsx").
QString ruta_visible(const QString& ruta);

// The sentence that refuses such a path, naming it with ruta_visible.
QString aviso_caracter_de_control(const QString& ruta);

} // namespace velmora
