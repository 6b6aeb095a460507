#pragma once

#include <QString>
#include <optional>

// How commands reach the engine the driver reports.
enum class Dialecto {
    SqlServer,  // command texts go as they stand
    PostgreSQL, // Exec becomes SELECT * FROM "name"(?, ...), [x] becomes "x"
    SQLite,     // the procedure body is read from the database's own table
};

// The dialect of the engine whose name the driver reports (SQL_DBMS_NAME);
// none for an engine the program does not know.
std::optional<Dialecto> dialecto_de(const QString& nombre_dbms);
