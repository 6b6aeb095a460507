// SPDX-License-Identifier: GPL-3.0-or-later
// What the report and trend screens show after "Ver", read from their grids
// and held against what the model computes: each indicator's row, its
// numbers, its status and trend pictures.
#pragma once

#include "modelo.h"

namespace modelo {

// Pictures left unchecked because the screen judges a number by its
// shortened cell text (a number of 16 or 17 digits shown "…"): a fault of
// the screens, counted apart so that the run says how many it met.
long& sin_revisar();

// The differences, empty when the screen shows what the model says.
QStringList revisar_reporte(const Modelo& m, bool principal, int lista, int anio, int mes);
QStringList revisar_tendencia(const Modelo& m, const QString& indicador, int departamento, int anio);

} // namespace modelo
