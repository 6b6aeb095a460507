// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Inside data/ only: the database's version stamp (PRAGMA user_version on
// SQLite, a comment on the table indicador on PostgreSQL), checked when the
// program opens a database and written when it brings one up to date.

#include <QString>

namespace velmora {

class ProcedimientosSqlite;
class Sentencias;

// The version of the database this program makes. 0 is a database without
// a stamp: this one, or the previous one, which the program brings up to
// date. A newer one is never opened.
inline constexpr int kVersionBase = 1;

// Run once the driver opened the SQLite file `archivo`, before anything is
// written to it. A file that is not this program's database or a newer
// version's is refused, naming it; an older one is brought up to date and
// stamped. A file the user can only read is left as it is: the text
// returned then tells the user it needs bringing up to date (empty when
// nothing needs saying).
QString preparar_base_sqlite(const Sentencias& sentencias, ProcedimientosSqlite& procedimientos,
                             const QString& archivo);

// A PostgreSQL database of a newer version is refused.
void revisar_version_postgres(const Sentencias& sentencias, const QString& base);

} // namespace velmora
