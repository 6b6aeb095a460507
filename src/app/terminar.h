#pragma once

#include <functional>

// Ends the program at once: every window disappears without being asked
// (no close events, nothing to object or save) and the event loop returns.
void terminar_programa();

// Replaces what ending the program does (tests watch it instead of
// quitting); returns the previous way. An empty function restores the real one.
using Terminador = std::function<void()>;
Terminador establecer_terminador(Terminador nuevo);
