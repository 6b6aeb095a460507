// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/dialectos.h"

#include <QString>
#include <QVariant>
#include <optional>

class QSqlError;

namespace velmora {

// What a failure reported by the engine means to the program.
enum class ClaseError {
    Otra,             // a failure of the database or of the connection
    SinProcedimiento, // the database has no procedure of that name
    Bloqueo,          // another program holds the database: nothing stored, try again
    Rechazo,          // the data given was refused (bad value, constraint, the procedure's own error)
    Conexion,         // the connection was lost (server restarted or gone): the transaction did not land
    Tiempo,           // the statement ran past its time limit and was cancelled
    SinEspacio,       // no room left on the database's disk: nothing stored
    SoloLectura,      // the user may only read the database (file or folder): nothing stored
};

// From a diagnostic's SQLSTATE and the engine's native error number; the
// text only tells a lost connection that the driver reports without a
// SQLSTATE of its own.
ClaseError clasificar_error(Dialecto dialecto, const QString& estado, int nativo,
                            const QString& texto = {});

// The server's own English (or translated) text of a unique key violation,
// which names a constraint and tells the user nothing: true for it, false for
// the procedures' own words.
bool es_clave_duplicada_del_servidor(const QString& texto);

// One failure as the driver reports it.
struct Diagnostico {
    QString estado; // SQLSTATE, empty when the driver gave none
    QString numero; // the native number, or the SQLSTATE when the engine gives none
    QString texto;  // every record's text, each once
    int nativo = 0;
};

enum class TipoHandle { Sentencia, Conexion };

// The driver's own diagnostic records on a handle as Qt hands it over
// (QSqlResult::handle(), QSqlDriver::handle()); read them before anything
// else runs on the handle. None when the handle holds no record.
std::optional<Diagnostico> leer_diagnostico(TipoHandle tipo, const QVariant& handle);

// What Qt kept of a failure when the handle has no record left.
Diagnostico diagnostico_de(const QSqlError& error);

// The ODBC handle inside one of Qt's handle variants; null when there is none.
void* handle_de(const QVariant& v);

// The engine's text as a user reads it: no driver prefixes, no trailing code.
QString limpiar_texto(QString texto);

} // namespace velmora
