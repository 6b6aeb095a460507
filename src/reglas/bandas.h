// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace velmora {

// The bands behind the pictures the report and trend grids show beside each
// indicator. Each rule reads the cell texts as numbers and returns the name
// of a picture: "Blanco", "Rojo", "Amarillo", "Verde", "Azul" for the
// status, "raya", "Blanco", "T_Azul", "T_Verde", "T_Blanco", "T_Amarillo",
// "T_Rojo" for the trend.

// How far the value V has come from the baseline B towards the target M.
// "Blanco" when that cannot be computed (M equal to B, or a text that is
// not a number).
QString icono_estado(const QString& V, const QString& M, const QString& B);

// The performance ratio (V - B) / (M - B) that icono_estado bands, worked
// out from the decimals as written and rounded once to a double; nullopt
// where the rule gives "Blanco" or the share is too large for a double.
// One expression for both directions: (B - V) / (B - M) is the same number.
std::optional<double> razon_estado(const QString& V, const QString& M, const QString& B);

// How the value V moved against the comparison value C. "raya" when there
// is nothing to compare with (C empty, blank or not a number) or V is not a
// number; "Blanco" when C is zero.
QString icono_tendencia(const QString& V, const QString& C);

// The change (V - C) / C that icono_tendencia bands, exact as razon_estado;
// nullopt where the rule gives "raya" or "Blanco".
std::optional<double> razon_tendencia(const QString& V, const QString& C);

} // namespace velmora
