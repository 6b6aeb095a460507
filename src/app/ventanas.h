// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// Registers every window of the program with the window registry.
void registrar_ventanas();

} // namespace velmora
