// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The indicator-type code the procedures take: 2 for TIPO_DEPARTAMENTAL
// (data/textos.h), 1 for any other text.
int codigo_tipo(const QString& tipo);

// Codes that Nuevo_registro receives for the texts of the monthly record's
// lists. A text is compared exactly, blanks included, with the item a list
// shows for a database name of its column's width; any other text gives 0.

// "Creciente" 1, "Decreciente" 2 (30 characters each).
int codigo_desempeno(const QString& texto);
// "Financiero" 1, "Clientes" 2, "Procesos Internos" 3, "Capital Intangible" 4
// (45 characters each).
int codigo_perspectiva(const QString& texto);
// "%" 1, "Horas" 2, "#" 3, "Días" 4, "$" 5, "Minutos" 6 (25 characters each).
int codigo_unidad(const QString& texto);
// Four digits and 11 blanks, as the year list shows them: year Y from 2005
// on gives Y - 2004. A year typed without its blanks gives 0.
int codigo_anio(const QString& texto);

} // namespace velmora
