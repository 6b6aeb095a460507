// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace velmora {

// How commands reach the engine the driver reports.
enum class Dialecto {
    SqlServer,  // command texts go as they stand
    PostgreSQL, // Exec becomes SELECT * FROM "name"(?, ...), [x] becomes "x"
    SQLite,     // the procedure body is read from the database's own table
};

// The dialect of the engine whose name the driver reports (SQL_DBMS_NAME);
// none for an engine the program does not know.
std::optional<Dialecto> dialecto_de(const QString& nombre_dbms);

// Whether a connection string opens the SQLite driver (its DRIVER first, as
// the data source's string has it): that driver needs settings of its own
// before it connects.
bool cadena_sqlite(const QString& cadena);

// A command text, as the screens build it, in the form one engine runs it.
struct ComandoMotor {
    enum class Forma {
        Texto,         // sql runs as it stands
        Parametros,    // sql has a ? for each argument, bound in order
        Procedimiento, // the program runs the procedure sql names itself
    };
    Forma forma = Forma::Texto;
    QString sql;
    QStringList argumentos;
};

ComandoMotor traducir(Dialecto dialecto, const QString& comando);

} // namespace velmora
