// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/diagnostico.h"

#include <QtTest>

using namespace velmora;

// What each engine's failures mean to the program, from the SQLSTATE and the
// native number as the drivers report them.
class TstDiagnostico final : public QObject {
    Q_OBJECT
private slots:
    void clasificar_data();
    void clasificar();
    void conexion_perdida_por_texto_data();
    void conexion_perdida_por_texto();
    void clave_duplicada_data();
    void clave_duplicada();
    void texto_limpio_data();
    void texto_limpio();
};

void TstDiagnostico::clasificar_data()
{
    QTest::addColumn<Dialecto>("dialecto");
    QTest::addColumn<QString>("estado");
    QTest::addColumn<int>("nativo");
    QTest::addColumn<ClaseError>("clase");

    const auto sqlite = Dialecto::SQLite;
    const auto postgres = Dialecto::PostgreSQL;
    const auto sqlserver = Dialecto::SqlServer;

    QTest::newRow("SQLite ocupada") << sqlite << "HY000" << 5 << ClaseError::Bloqueo;
    QTest::newRow("SQLite bloqueada") << sqlite << "HY000" << 6 << ClaseError::Bloqueo;
    QTest::newRow("SQLite restricción o RAISE") << sqlite << "HY000" << 19 << ClaseError::Rechazo;
    QTest::newRow("SQLite sintaxis") << sqlite << "HY000" << 1 << ClaseError::Otra;
    QTest::newRow("SQLite procedimiento propio") << sqlite << "" << 2812 << ClaseError::SinProcedimiento;
    QTest::newRow("SQLite estado 23") << sqlite << "23000" << 0 << ClaseError::Rechazo;
    QTest::newRow("SQLite disco lleno") << sqlite << "HY000" << 13 << ClaseError::SinEspacio;
    QTest::newRow("SQLite solo lectura") << sqlite << "HY000" << 8 << ClaseError::SoloLectura;
    QTest::newRow("SQLite carpeta de solo lectura") << sqlite << "HY000" << 1544 << ClaseError::SoloLectura;
    QTest::newRow("SQLite sin diario") << sqlite << "HY000" << 14 << ClaseError::SoloLectura;

    QTest::newRow("PostgreSQL bloqueo") << postgres << "55P03" << 7 << ClaseError::Bloqueo;
    QTest::newRow("PostgreSQL único") << postgres << "23505" << 7 << ClaseError::Rechazo;
    QTest::newRow("PostgreSQL no es número") << postgres << "22P02" << 7 << ClaseError::Rechazo;
    QTest::newRow("PostgreSQL RAISE EXCEPTION") << postgres << "P0001" << 7 << ClaseError::Rechazo;
    QTest::newRow("PostgreSQL sin función") << postgres << "42883" << 7 << ClaseError::SinProcedimiento;
    QTest::newRow("PostgreSQL sintaxis") << postgres << "42601" << 7 << ClaseError::Otra;
    QTest::newRow("PostgreSQL cuenta sin permiso") << postgres << "42501" << 7 << ClaseError::Rechazo;
    QTest::newRow("PostgreSQL conexión perdida") << postgres << "08S01" << 35 << ClaseError::Conexion;
    QTest::newRow("PostgreSQL servidor reiniciado") << postgres << "57P01" << 7 << ClaseError::Conexion;
    QTest::newRow("PostgreSQL sentencia cancelada") << postgres << "57014" << 7 << ClaseError::Tiempo;
    QTest::newRow("ODBC tiempo vencido") << postgres << "HYT00" << 0 << ClaseError::Tiempo;
    // SQLite's numbers mean nothing from another engine.
    QTest::newRow("PostgreSQL nativo 5") << postgres << "HY000" << 5 << ClaseError::Otra;
    QTest::newRow("PostgreSQL nativo 19") << postgres << "HY000" << 19 << ClaseError::Otra;
    QTest::newRow("PostgreSQL nativo 13") << postgres << "HY000" << 13 << ClaseError::Otra;

    QTest::newRow("SQL Server RAISERROR") << sqlserver << "42000" << 50000 << ClaseError::Rechazo;
    QTest::newRow("SQL Server mensaje propio") << sqlserver << "42000" << 50001 << ClaseError::Rechazo;
    QTest::newRow("SQL Server número del motor") << sqlserver << "42000" << 49999 << ClaseError::Otra;
    QTest::newRow("SQL Server único") << sqlserver << "23000" << 2627 << ClaseError::Rechazo;
    QTest::newRow("SQL Server sin procedimiento") << sqlserver << "42000" << 2812 << ClaseError::SinProcedimiento;
    QTest::newRow("SQL Server conexión perdida") << sqlserver << "08S01" << 10054 << ClaseError::Conexion;
    // A file has no connection to lose.
    QTest::newRow("SQLite estado 08") << sqlite << "08001" << 0 << ClaseError::Otra;
    QTest::newRow("SQL Server nativo 5") << sqlserver << "HY000" << 5 << ClaseError::Otra;
}

void TstDiagnostico::clasificar()
{
    QFETCH(Dialecto, dialecto);
    QFETCH(QString, estado);
    QFETCH(int, nativo);
    QFETCH(ClaseError, clase);
    QCOMPARE(clasificar_error(dialecto, estado, nativo), clase);
}

// psqlODBC reports a server gone under a general SQLSTATE, with libpq's text.
void TstDiagnostico::conexion_perdida_por_texto_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<ClaseError>("clase");
    QTest::newRow("reinicio") << "FATAL:  terminating connection due to administrator command" << ClaseError::Conexion;
    QTest::newRow("socket cerrado") << "server closed the connection unexpectedly\n\tThis probably means..."
                                    << ClaseError::Conexion;
    QTest::newRow("conexión muerta") << "Could not send Query(connection dead)" << ClaseError::Conexion;
    QTest::newRow("apagándose") << "FATAL:  the database system is shutting down" << ClaseError::Conexion;
    QTest::newRow("error corriente") << "syntax error at or near \"x\"" << ClaseError::Otra;
}

void TstDiagnostico::conexion_perdida_por_texto()
{
    QFETCH(QString, texto);
    QFETCH(ClaseError, clase);
    QCOMPARE(clasificar_error(Dialecto::PostgreSQL, QStringLiteral("HY000"), 0, texto), clase);
    QCOMPARE(clasificar_error(Dialecto::PostgreSQL, QString(), 0, texto), clase);
}

void TstDiagnostico::clave_duplicada_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("del_servidor");
    QTest::newRow("PostgreSQL")
        << "duplicate key value violates unique constraint \"indicador_nombre_key\"\nDETAIL: ..." << true;
    QTest::newRow("PostgreSQL en español") << "llave duplicada viola restricción de unicidad «indicador_nombre_key»"
                                           << true;
    QTest::newRow("SQLite") << "UNIQUE constraint failed: indicador.nombre" << true;
    QTest::newRow("mensaje propio") << "Ya existe un indicador con ese nombre" << false;
}

void TstDiagnostico::clave_duplicada()
{
    QFETCH(QString, texto);
    QFETCH(bool, del_servidor);
    QCOMPARE(es_clave_duplicada_del_servidor(texto), del_servidor);
}

void TstDiagnostico::texto_limpio_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("limpio");
    QTest::newRow("SQLite") << "[unixODBC][SQLite]UNIQUE constraint failed: t.nombre (19)"
                            << "UNIQUE constraint failed: t.nombre";
    QTest::newRow("PostgreSQL") << "ERROR:  Valor no numérico;\nError while executing the query"
                                << "Valor no numérico";
    QTest::newRow("SQL Server")
        << "[Microsoft][ODBC Driver 18 for SQL Server][SQL Server]Could not find stored procedure 'x'."
        << "Could not find stored procedure 'x'.";
    QTest::newRow("paréntesis en medio") << "valor (12) fuera de rango" << "valor (12) fuera de rango";
    QTest::newRow("sin prefijo") << "  Valor no numérico " << "Valor no numérico";
}

void TstDiagnostico::texto_limpio()
{
    QFETCH(QString, texto);
    QFETCH(QString, limpio);
    QCOMPARE(limpiar_texto(texto), limpio);
}

QTEST_GUILESS_MAIN(TstDiagnostico)
#include "tst_diagnostico.moc"
