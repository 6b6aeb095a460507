#include "data/dialectos.h"

std::optional<Dialecto> dialecto_de(const QString& nombre_dbms)
{
    if (nombre_dbms.contains(QStringLiteral("PostgreSQL"), Qt::CaseInsensitive))
        return Dialecto::PostgreSQL;
    if (nombre_dbms.contains(QStringLiteral("SQLite"), Qt::CaseInsensitive))
        return Dialecto::SQLite;
    if (nombre_dbms.contains(QStringLiteral("SQL Server"), Qt::CaseInsensitive))
        return Dialecto::SqlServer;
    return std::nullopt;
}
