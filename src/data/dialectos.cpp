// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/dialectos.h"

#include "data/comandos.h"

#include <QRegularExpression>

namespace velmora {

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

bool cadena_sqlite(const QString& cadena)
{
    static const QRegularExpression sqlite(QStringLiteral("^DRIVER=\\{?[^;}]*sqlite"),
                                           QRegularExpression::CaseInsensitiveOption);
    return sqlite.match(cadena).hasMatch();
}

ComandoMotor traducir(Dialecto dialecto, const QString& comando)
{
    // SQL Server runs the program's commands as they are written.
    if (dialecto == Dialecto::SqlServer)
        return {ComandoMotor::Forma::Texto, comando, {}};
    const std::optional<LlamadaExec> llamada = analizar_exec(comando);
    if (!llamada) {
        if (dialecto == Dialecto::SQLite)
            return {ComandoMotor::Forma::Texto, comando, {}};
        // A name with blanks is bracketed; PostgreSQL quotes it instead.
        static const QRegularExpression corchetes(QStringLiteral("\\[([^\\]]*)\\]"));
        QString sql = comando;
        sql.replace(corchetes, QStringLiteral("\"\\1\""));
        return {ComandoMotor::Forma::Texto, sql, {}};
    }
    if (dialecto == Dialecto::SQLite)
        return {ComandoMotor::Forma::Procedimiento, llamada->nombre, llamada->argumentos};

    // PostgreSQL: the procedure is a function returning its rows.
    QString nombre = llamada->nombre;
    nombre.replace(u'"', QStringLiteral("\"\""));
    QStringList marcas;
    for (qsizetype i = 0; i < llamada->argumentos.size(); ++i)
        marcas << QStringLiteral("?");
    return {ComandoMotor::Forma::Parametros,
            QStringLiteral("SELECT * FROM \"%1\"(%2)").arg(nombre, marcas.join(u',')),
            llamada->argumentos};
}

} // namespace velmora
