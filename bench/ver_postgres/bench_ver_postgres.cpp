// SPDX-License-Identifier: GPL-3.0-or-later
// The departmental report's "Ver" on PostgreSQL against its floor, the same
// three procedure calls through libpq, on about a million records. It runs
// beside the throwaway server of the tests:
//
//   scripts/con_postgres.sh build/bench/bench/ver_postgres/bench_ver_postgres [--rondas N]
//
// It loads a database of its own (velmora_bench, the generator's 1M set) on
// that server, then alternates the two sides in one process; each round's
// ratio is taken within the round and the median is printed.
#include "medir.h"
#include "data/conexion.h"
#include "reports/departamentales.h"
#include "ui/grid/grilla.h"
#include "ui/mensajes.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <libpq-fe.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace velmora;
using namespace medir;

namespace {

const char16_t* const kDepartamento = u"Logística"; // the generator's largest
constexpr int kVeces = 9;

PGconn* conectar(const QByteArray& conexion)
{
    PGconn* c = PQconnectdb(conexion.constData());
    if (PQstatus(c) != CONNECTION_OK)
        fallar(QStringLiteral("libpq: ") + QString::fromLocal8Bit(PQerrorMessage(c)));
    // "does not exist, skipping" and the like are not news here.
    PQsetNoticeProcessor(c, [](void*, const char*) {}, nullptr);
    return c;
}

void orden(PGconn* c, const char* sql)
{
    PGresult* r = PQexec(c, sql);
    if (PQresultStatus(r) != PGRES_COMMAND_OK)
        fallar(QStringLiteral("libpq: ") + QString::fromLocal8Bit(PQerrorMessage(c)));
    PQclear(r);
}

// The three calls one "Ver" on March 2025 makes, read cell by cell.
double piso(PGconn* c)
{
    const QByteArray departamento = QString::fromUtf16(kDepartamento).toUtf8();
    const char* const llamadas[3][3] = {{"2025", "Marzo", "2"}, {"2025", "Febrero", "2"}, {"2024", "Cuarto Trimestre", "2"}};
    QElapsedTimer t;
    t.start();
    for (const auto& llamada : llamadas) {
        const char* valores[4] = {departamento.constData(), llamada[0], llamada[1], llamada[2]};
        PGresult* r = PQexecParams(c, "SELECT * FROM \"Reporte_Departamentos\"($1, $2, $3, $4)", 4, nullptr,
                                   valores, nullptr, nullptr, 0);
        if (PQresultStatus(r) != PGRES_TUPLES_OK)
            fallar(QStringLiteral("Reporte_Departamentos: ") + QString::fromLocal8Bit(PQerrorMessage(c)));
        size_t bytes = 0;
        for (int f = 0; f < PQntuples(r); ++f)
            for (int k = 0; k < PQnfields(r); ++k)
                bytes += size_t(PQgetlength(r, f, k)) + (PQgetvalue(r, f, k) ? 0 : 1);
        if (bytes == 0)
            fallar(QStringLiteral("Reporte_Departamentos read nothing"));
        PQclear(r);
    }
    return ms(t);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rondas = 5;
    const QStringList a = app.arguments().mid(1);
    if (a.size() == 2 && a[0] == QStringLiteral("--rondas"))
        rondas = qMax(1, a[1].toInt());
    else if (!a.isEmpty())
        fallar(QStringLiteral("usage: scripts/con_postgres.sh bench_ver_postgres [--rondas N]"));
    const QString dsn = qEnvironmentVariable("VELMORA_PG_DSN");
    if (dsn.isEmpty())
        fallar(QStringLiteral("no server: run it through scripts/con_postgres.sh"));

    // The server of the test script, from its data source.
    QSettings origen(dsn, QSettings::IniFormat);
    const QString servidor = origen.value(QStringLiteral("ODBC/Servername")).toString();
    const QString puerto = origen.value(QStringLiteral("ODBC/Port")).toString();
    const QString usuario = origen.value(QStringLiteral("ODBC/Username")).toString();
    const QByteArray conexion = QStringLiteral("host=%1 port=%2 user=%3").arg(servidor, puerto, usuario).toUtf8();

    QTemporaryDir carpeta;
    std::fprintf(stderr, "loading the 1M database...\n");
    {
        PGconn* c = conectar(conexion + " dbname=postgres");
        orden(c, "DROP DATABASE IF EXISTS velmora_bench");
        orden(c, "CREATE DATABASE velmora_bench");
        PQfinish(c);
    }
    const QString datos = carpeta.filePath(QStringLiteral("datos.sql"));
    ejecutar(QStringLiteral(VELMORA_GENERADOR),
             {QStringLiteral("--motor"), QStringLiteral("postgresql"), QStringLiteral("--indicadores"),
              QStringLiteral("4000"), QStringLiteral("--años"), QStringLiteral("21")},
             datos);
    ejecutar(QStringLiteral(VELMORA_CARGAR), {QString::fromUtf8(conexion + " dbname=velmora_bench"), datos});
    QFile::remove(datos);

    // The program's data source for that database: the shipped settings.
    QFile entrada(dsn);
    if (!entrada.open(QIODevice::ReadOnly))
        fallar(QStringLiteral("cannot read ") + dsn);
    QString texto = QString::fromUtf8(entrada.readAll());
    texto.replace(QStringLiteral("Database=velmora\n"), QStringLiteral("Database=velmora_bench\n"));
    const QString dsn_bench = carpeta.filePath(QStringLiteral("bench.dsn"));
    QFile salida(dsn_bench);
    if (!texto.contains(QStringLiteral("Database=velmora_bench")) || !salida.open(QIODevice::WriteOnly))
        fallar(QStringLiteral("cannot write the data source"));
    salida.write(texto.toUtf8());
    salida.close();

    QStringList mensajes;
    establecer_mensajero([&mensajes](const QString& m, const QString&, IconoMensaje) { mensajes << m; });
    Conexion().abrir(QStringLiteral("FILEDSN=") + dsn_bench);
    Departamentales ventana;
    ventana.show();
    elegir(ventana.findChild<QComboBox*>(QStringLiteral("Cmb_Departamentos_Reporte")), QString::fromUtf16(kDepartamento));
    elegir(ventana.findChild<QComboBox*>(QStringLiteral("Cmb_Año_Reporte")), QStringLiteral("2025"));
    elegir(ventana.findChild<QComboBox*>(QStringLiteral("Cmb_Trimestre_ReporteSocial")), QStringLiteral("Marzo"));
    auto* boton = ventana.findChild<QPushButton*>(QStringLiteral("Button_Cargar_ReporteSocial"));
    PGconn* c = conectar(conexion + " dbname=velmora_bench");

    std::vector<double> programa, c_piso, razon;
    for (int ronda = 0; ronda < rondas; ++ronda) {
        std::vector<double> p, f;
        for (int i = 0; i < kVeces; ++i) {
            QElapsedTimer t;
            t.start();
            boton->click();
            p.push_back(ms(t));
            f.push_back(piso(c));
        }
        programa.push_back(mediana(p));
        c_piso.push_back(mediana(f));
        razon.push_back(programa.back() / c_piso.back());
    }
    if (!mensajes.isEmpty())
        fallar(QStringLiteral("Ver said: ") + mensajes.join(u'|'));
    const int filas = ventana.findChild<Grilla*>(QStringLiteral("Flex31"))->modelo()->Rows() - 1;
    PQfinish(c);
    Conexion().cerrar();

    std::printf("bench_ver_postgres: %d rounds of %d presses, medians; ratios taken within each round\n", rondas,
                kVeces);
    std::printf("\"Ver\" on %d indicators of \"%s\" (PostgreSQL, about 1M records)\n", filas,
                qPrintable(QString::fromUtf16(kDepartamento)));
    std::printf("  program %.1f ms   the same three calls through libpq %.1f ms   ratio %.2fx\n", mediana(programa),
                mediana(c_piso), mediana(razon));
    return 0;
}
