// SPDX-License-Identifier: GPL-3.0-or-later
// bench_base [--indicadores N]: builds a large scorecard database (4000
// indicators by default, about a million records) with generar_demo and
// times each reading procedure, walked to its last row through the data
// layer, beside the plain SQL that reads the same rows and beside the same
// query made unable to use the indexes. Runs on SQLite, and also on
// PostgreSQL when VELMORA_PG_DSN names a server (scripts/con_postgres.sh).

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velmora;

namespace {

struct Caso {
    const char* nombre;
    QString procedimiento;
    QString sql;        // the same rows, ids written in
    QString sin_indice; // the same rows, indexes out of play
};

// Ids of the generated data: Clientes is perspective 2, Ventas department 1,
// 2025 is year 21, indicator 9 is "Clientes nuevos", 32 "Ausentismo".
std::vector<Caso> casos()
{
    return {
        {"Reporte_Principal",
         comando_exec("Reporte_Principal", {"Clientes                 ", "2025 ", "Marzo", "1"}),
         "SELECT i.nombre, r.meta, r.valor, r.linea_base, i.id_desempeno FROM indicador i "
         "LEFT JOIN registro r ON r.id_indicador = i.id AND r.id_departamento = 0 "
         "AND r.id_anio = 21 AND r.mes = 3 WHERE i.id_perspectiva = 2 AND i.id_tipo = 1 "
         "ORDER BY i.id",
         "SELECT r.id_indicador, r.meta, r.valor, r.linea_base FROM registro r "
         "WHERE r.id_anio + 0 = 21 AND r.mes + 0 = 3 AND r.id_departamento + 0 = 0 "
         "AND r.id_indicador + 0 IN (SELECT id FROM indicador WHERE id_perspectiva = 2 "
         "AND id_tipo = 1) ORDER BY r.id_indicador"},
        {"Reporte_Departamentos",
         comando_exec("Reporte_Departamentos", {"Ventas          ", "2025 ", "Marzo", "2"}),
         "SELECT i.nombre, r.meta, r.valor, r.linea_base, i.id_desempeno "
         "FROM indicador_departamento d JOIN indicador i ON i.id = d.id_indicador "
         "LEFT JOIN registro r ON r.id_indicador = i.id AND r.id_departamento = d.id_departamento "
         "AND r.id_anio = 21 AND r.mes = 3 WHERE d.id_departamento = 1 AND i.id_tipo = 2 "
         "ORDER BY i.id",
         {}},
        {"Ten_Des",
         comando_exec_tendencia("Ten_Des", {"Principal      ", "2025 ", "Clientes nuevos     "}),
         "SELECT r.meta, r.valor, r.linea_base FROM registro r WHERE r.id_indicador = 9 "
         "AND r.id_departamento = 0 AND r.id_anio = 21 ORDER BY r.mes",
         "SELECT r.meta, r.valor, r.linea_base FROM registro r WHERE r.id_indicador + 0 = 9 "
         "AND r.id_departamento + 0 = 0 AND r.id_anio + 0 = 21 ORDER BY r.mes"},
        {"Ten_Des2",
         comando_exec_tendencia("Ten_Des2", {"Departamentales", "2025 ", "Ausentismo   ",
                                             "Producción    "}),
         "SELECT r.meta, r.valor, r.linea_base FROM registro r WHERE r.id_indicador = 32 "
         "AND r.id_departamento = 2 AND r.id_anio = 21 ORDER BY r.mes",
         {}},
        {"Consulta_KPI",
         comando_exec("Consulta_KPI", {"Margen operativo     ", "Enero", "2025           "}),
         "SELECT r.linea_base, r.valor, r.meta, r.id FROM registro r WHERE r.id_indicador = 1 "
         "AND r.id_departamento = 0 AND r.id_anio = 21 AND r.mes = 1",
         {}},
        {"Consulta_modificar",
         comando_exec("Consulta_modificar", {"Margen operativo     ", "2025           "}),
         "SELECT valor, meta, linea_base, id FROM registro WHERE id_indicador = 1 "
         "AND id_anio = 21 ORDER BY id_departamento, mes",
         {}},
    };
}

// Runs the command and reads every field of every row, as a screen would.
long recorrer(const QString& comando, double* primera_ms = nullptr)
{
    QElapsedTimer reloj;
    reloj.start();
    Resultado r = Conexion().ejecutar(comando);
    if (primera_ms)
        *primera_ms = static_cast<double>(reloj.nsecsElapsed()) / 1e6;
    const QStringList campos = r.campos();
    long filas = 0;
    for (; !r.eof(); r.siguiente(), ++filas)
        for (const QString& c : campos)
            (void)r.texto(c);
    return filas;
}

double mediana_ms(const QString& comando, int veces, long* filas)
{
    std::vector<double> tiempos;
    for (int i = 0; i < veces; ++i) {
        QElapsedTimer reloj;
        reloj.start();
        *filas = recorrer(comando);
        tiempos.push_back(static_cast<double>(reloj.nsecsElapsed()) / 1e6);
    }
    std::sort(tiempos.begin(), tiempos.end());
    return tiempos[tiempos.size() / 2];
}

void medir(const char* motor)
{
    std::printf("\n%s\n", motor);
    for (const Caso& c : casos()) {
        long filas = 0, filas_sql = 0, filas_sin = 0;
        const double t = mediana_ms(c.procedimiento, 15, &filas);
        const double base = mediana_ms(c.sql, 15, &filas_sql);
        std::printf("  %-22s %5ld filas  %8.2f ms   SQL directo %8.2f ms", c.nombre, filas, t,
                    base);
        if (!c.sin_indice.isEmpty()) {
            const double sin = mediana_ms(c.sin_indice, 3, &filas_sin);
            std::printf("   sin índices %8.2f ms", sin);
        }
        std::printf("%s\n", filas == filas_sql ? "" : "   (¡filas distintas!)");
    }
    double primera = 0;
    QElapsedTimer reloj;
    reloj.start();
    const long filas = recorrer(comando_exec("Exportar"), &primera);
    const double todo = static_cast<double>(reloj.nsecsElapsed()) / 1e6;
    reloj.restart();
    double primera_sql = 0;
    recorrer("SELECT r.id_anio, r.mes, r.id_indicador, r.linea_base, r.valor, r.meta "
             "FROM registro r WHERE r.valor IS NOT NULL OR r.meta IS NOT NULL "
             "OR r.linea_base IS NOT NULL ORDER BY r.id_anio, r.mes, r.id_indicador, "
             "r.id_departamento",
             &primera_sql);
    const double todo_sql = static_cast<double>(reloj.nsecsElapsed()) / 1e6;
    std::printf("  %-22s %5ld filas  primera %8.2f ms, todas %9.1f ms   SQL directo (sin "
                "uniones): primera %8.2f ms, todas %9.1f ms\n",
                "Exportar", filas, primera, todo, primera_sql, todo_sql);
}

// Read to the end, so that no open statement is left on the connection (the
// SQLite driver would load the next result whole instead of streaming it).
QString contar()
{
    Resultado n = Conexion().ejecutar(QStringLiteral("SELECT count(*) AS n FROM registro"));
    const QString texto = n.texto("n");
    n.siguiente();
    return texto;
}

bool correr(const QString& programa, const QStringList& argumentos, const QString& salida = {})
{
    QProcess p;
    if (!salida.isEmpty())
        p.setStandardOutputFile(salida);
    p.setProcessChannelMode(salida.isEmpty() ? QProcess::ForwardedChannels
                                             : QProcess::ForwardedErrorChannel);
    p.start(programa, argumentos);
    return p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QString clave_dsn(const QString& dsn, const QString& clave)
{
    QFile f(dsn);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    for (const QString& l : QString::fromUtf8(f.readAll()).split(u'\n'))
        if (l.section(u'=', 0, 0).trimmed().compare(clave, Qt::CaseInsensitive) == 0)
            return l.section(u'=', 1).trimmed();
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString indicadores = QStringLiteral("4000");
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("--indicadores"))
        indicadores = args[2];
    else if (args.size() != 1) {
        std::fprintf(stderr, "uso: bench_base [--indicadores N]\n");
        return 2;
    }
    QTemporaryDir carpeta;
    const QString generador = QStringLiteral(VELMORA_GENERADOR);
    try {
        const QString datos = carpeta.filePath(QStringLiteral("datos_sqlite.sql"));
        const QString base = carpeta.filePath(QStringLiteral("grande.db"));
        QElapsedTimer reloj;
        reloj.start();
        if (!correr(generador, {"--motor", "sqlite", "--indicadores", indicadores}, datos)
            || !correr(QStringLiteral(VELMORA_RAIZ "/scripts/crear_base_sqlite.sh"), {base, datos})) {
            std::fprintf(stderr, "no se pudo crear la base SQLite\n");
            return 1;
        }
        const QString dsn = carpeta.filePath(QStringLiteral("grande.dsn"));
        // Written as the program's own data source is.
        if (!correr(QStringLiteral(VELMORA_RAIZ "/scripts/escribir_origen.sh"), {dsn, base}))
            return 1;
        Conexion().abrir(QStringLiteral("FILEDSN=") + dsn);
        std::printf("SQLite: %s registros, %.1f MB, creada en %.1f s\n", qPrintable(contar()),
                    static_cast<double>(QFileInfo(base).size()) / 1e6,
                    static_cast<double>(reloj.elapsed()) / 1e3);
        medir("SQLite (mediana de 15; todas las filas, todos los campos)");
        Conexion().cerrar();

        const QString pg = qEnvironmentVariable("VELMORA_PG_DSN");
        if (pg.isEmpty()) {
            std::printf("\nPostgreSQL: sin servidor (VELMORA_PG_DSN vacío)\n");
            return 0;
        }
        // A database of its own on the given server, loaded by the deployment script.
        const QString nombre = QStringLiteral("velmora_grande");
        const QString conexion = QStringLiteral("host=%1 port=%2 user=%3")
                                     .arg(clave_dsn(pg, "Servername"), clave_dsn(pg, "Port"),
                                          clave_dsn(pg, "Username"));
        const QString datos_pg = carpeta.filePath(QStringLiteral("datos_pg.sql"));
        reloj.restart();
        if (!correr(generador, {"--motor", "postgresql", "--indicadores", indicadores}, datos_pg)
            || !correr(QStringLiteral("psql"), {"-X", "-q", "-d", conexion + " dbname=postgres",
                                                "-c", "SET client_min_messages = warning",
                                                "-c", "DROP DATABASE IF EXISTS " + nombre,
                                                "-c", "CREATE DATABASE " + nombre})
            || !correr(QStringLiteral(VELMORA_RAIZ "/db/postgresql/cargar.sh"),
                       {conexion + " dbname=" + nombre, datos_pg})) {
            std::fprintf(stderr, "no se pudo crear la base PostgreSQL\n");
            return 1;
        }
        const double carga = static_cast<double>(reloj.elapsed()) / 1e3;
        Conexion().abrir(QStringLiteral("DRIVER={PostgreSQL Unicode};Servername=%1;Port=%2;"
                                        "Database=%3;Username=%4;UseDeclareFetch=1;Fetch=1000")
                             .arg(clave_dsn(pg, "Servername"), clave_dsn(pg, "Port"), nombre,
                                  clave_dsn(pg, "Username")));
        double bytes = 0;
        {
            Resultado m = Conexion().ejecutar(
                QStringLiteral("SELECT pg_database_size(current_database()) AS b"));
            bytes = m.campo("b").toDouble();
        }
        std::printf("\nPostgreSQL: %s registros, %.1f MB, cargada en %.1f s\n",
                    qPrintable(contar()), bytes / 1e6, carga);
        medir("PostgreSQL (mediana de 15; todas las filas, todos los campos)");
        Conexion().cerrar();
    } catch (const ErrorBaseDatos& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.mensaje()));
        return 1;
    }
    return 0;
}
