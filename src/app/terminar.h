// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QWidget;

namespace velmora {

// Ends the program at once: every window disappears without being asked
// (no close events, nothing to object or save) and the event loop returns.
void terminar_programa();

// Ends the program as the user asks for it ("Salir", closing a main menu,
// Ctrl+Q): when a screen holds typed values not saved, the user is asked
// first and "No" shows that screen instead. True when the program ends.
bool salir_del_programa();

// Closing the window from the window manager ends the program instead (after
// salir_del_programa's question). Escape does not close such a window.
void terminar_al_cerrar(QWidget* ventana);

// Ctrl+Q, in any window of the program, is salir_del_programa. Once.
void salir_con_teclado();

// Replaces what ending the program does (tests watch it instead of
// quitting); returns the previous way. An empty function restores the real one.
using Terminador = std::function<void()>;
Terminador establecer_terminador(Terminador nuevo);

} // namespace velmora
