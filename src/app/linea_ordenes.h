// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace velmora {

// Reads the command line before the application object exists: --help and
// --version (with the licence) answer in Spanish and end; an option the program does not know,
// or no display to open windows on, is told on standard error and ends with a
// failure. Qt's own window options (-platform, -style...) pass through.
// An exit code when the program must end now, nothing when it goes on.
std::optional<int> leer_linea_ordenes(int argc, char** argv);

} // namespace velmora
