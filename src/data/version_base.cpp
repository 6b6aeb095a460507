// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/version_base.h"

#include "data/archivo_sqlite.h"
#include "data/errores.h"
#include "data/procedimientos_sqlite.h"
#include "data/sentencias.h"

#include <QDir>
#include <QRegularExpression>

namespace velmora {

namespace {

QString nativa(const QString& ruta)
{
    return QDir::toNativeSeparators(ruta);
}

ErrorBaseDatos version_nueva(const QString& base, int version)
{
    return ErrorBaseDatos(kErrorVersionNueva,
                          QStringLiteral("La base de datos \"%1\" es de una versión más nueva de Velmora (versión %2 "
                                         "de la base; este programa llega a la %3). No se abre, para no estropearla: "
                                         "use la versión del programa que la creó o una más nueva.")
                              .arg(base)
                              .arg(version)
                              .arg(kVersionBase));
}

int leer_entero(const Sentencias& sentencias, const QString& sql)
{
    const Filas filas = sentencias.filas_y_cierre(sentencias.directo(sql));
    return filas.valores.empty() ? 0 : filas.valores.front().value(0).toInt();
}

} // namespace

QString preparar_base_sqlite(const Sentencias& sentencias, ProcedimientosSqlite& procedimientos,
                             const QString& archivo)
{
    const int version = leer_entero(sentencias, QStringLiteral("PRAGMA user_version"));
    if (version > kVersionBase)
        throw version_nueva(nativa(archivo), version);
    const int tablas = leer_entero(sentencias, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                                                              "AND name IN ('indicador', 'registro', 'procedimientos')"));
    if (tablas != 3)
        throw ErrorBaseDatos(kErrorBaseAjena,
                             QStringLiteral("El archivo \"%1\" no es una base de datos de Velmora: no tiene las tablas "
                                            "del programa. Corrija Database en el origen de datos para que indique la "
                                            "base de datos del programa.")
                                 .arg(nativa(archivo)));
    const bool al_dia = procedimientos.al_dia();
    if (al_dia && version == kVersionBase)
        return {};
    if (solo_lectura(archivo)) {
        if (al_dia)
            return {};
        return QStringLiteral("La base de datos \"%1\" es de una versión anterior del programa y su usuario solo puede "
                              "leerla: puede consultar los informes, pero no guardar. Para ponerla al día, alguien que "
                              "pueda escribir en el archivo y en su carpeta debe abrirla una vez con esta versión del "
                              "programa.")
            .arg(nativa(archivo));
    }
    if (!al_dia)
        procedimientos.actualizar_base();
    // The SQLite driver leaves a lone PRAGMA that sets a value unrun; as
    // part of a script (a savepoint around it) it runs.
    sentencias.orden(QStringLiteral("SAVEPOINT sello; PRAGMA user_version = %1; RELEASE sello").arg(kVersionBase));
    return {};
}

void revisar_version_postgres(const Sentencias& sentencias, const QString& base)
{
    const Filas filas = sentencias.filas_y_cierre(sentencias.directo(
        QStringLiteral("SELECT coalesce(obj_description(to_regclass('indicador'), 'pg_class'), '') AS v")));
    const QString comentario = filas.valores.empty() ? QString() : filas.valores.front().value(0).toString();
    static const QRegularExpression stamp(QStringLiteral("versión de la base (\\d+)"));
    const int version = stamp.match(comentario).captured(1).toInt();
    if (version > kVersionBase)
        throw version_nueva(base, version);
}

} // namespace velmora
