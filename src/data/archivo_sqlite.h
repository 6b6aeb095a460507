// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Inside data/ only: what the program checks of a SQLite database file
// before the driver opens it.

#include <QString>

namespace velmora {

// The SQLite driver creates a missing database file: the user could log in
// to an empty database and the first screen would fail. Refused instead,
// naming the file. Other connection strings pass.
void exigir_base_sqlite(const QString& cadena);

// The user cannot write the file, or the folder SQLite writes its journal
// into: the database can be read, never saved to.
bool solo_lectura(const QString& archivo);

} // namespace velmora
