#pragma once

#include <functional>

class QWidget;

namespace velmora {

// Ends the program at once: every window disappears without being asked
// (no close events, nothing to object or save) and the event loop returns.
void terminar_programa();

// Closing the window from the window manager ends the program instead.
void terminar_al_cerrar(QWidget* ventana);

// Replaces what ending the program does (tests watch it instead of
// quitting); returns the previous way. An empty function restores the real one.
using Terminador = std::function<void()>;
Terminador establecer_terminador(Terminador nuevo);

} // namespace velmora
