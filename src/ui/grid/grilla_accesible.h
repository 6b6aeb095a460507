// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

class Grilla;

// Screen readers see each Grilla as a table: rows, columns, headings and
// each cell's text, a picture's meaning included. Installed once, by the
// first grid made.
void instalar_accesibilidad_grilla();

// Tells screen readers that the grid's current cell changed.
void anunciar_celda_actual(Grilla* grilla);

} // namespace velmora
