// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Inside data/ only: the keywords of a connection string, read and written
// the way the drivers read them, and the limits the program adds to it.

#include "data/conexion.h"

#include <QString>

namespace velmora {

// A value inside braces with every closing brace doubled, as connection
// strings quote: a ; or a brace in it can never start another attribute.
QString entre_llaves(const QString& valor);

// A value as it may stand after "keyword=": inside braces when it holds ';',
// a brace, or a blank at either end; as it is otherwise.
QString valor_en_cadena(const QString& valor);

// The value of a keyword (any case), its braces taken off; empty when the
// string does not name it.
QString valor_de(const QString& cadena, const QString& palabra);

// The port a data source names (0: the driver's default).
int puerto_de(const QString& cadena);

// The string with the program's time limits for the driver added.
QString con_limites(const QString& cadena, const LimitesTiempo& limites);

// The limit the server itself puts on a statement.
int limite_servidor_ms(const LimitesTiempo& limites);

} // namespace velmora
