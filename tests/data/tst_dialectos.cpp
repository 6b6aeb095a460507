// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/dialectos.h"

#include <QtTest>

using namespace velmora;

// Which engine the program talks to, and each command in that engine's form.
class TstDialectos final : public QObject {
    Q_OBJECT
private slots:
    void dialecto_data();
    void dialecto();
    void cadena_sqlite_data();
    void cadena_sqlite();
    void traducir_data();
    void traducir();
};

void TstDialectos::dialecto_data()
{
    // As the drivers report SQL_DBMS_NAME; -1: an engine the program refuses.
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<int>("dialecto");
    QTest::newRow("SQLite") << "SQLite" << int(Dialecto::SQLite);
    QTest::newRow("PostgreSQL") << "PostgreSQL" << int(Dialecto::PostgreSQL);
    QTest::newRow("SQL Server") << "Microsoft SQL Server" << int(Dialecto::SqlServer);
    QTest::newRow("desconocido") << "Oracle" << -1;
    QTest::newRow("sin nombre") << "" << -1;
}

void TstDialectos::dialecto()
{
    QFETCH(QString, nombre);
    QFETCH(int, dialecto);
    const std::optional<Dialecto> d = dialecto_de(nombre);
    QCOMPARE(d ? int(*d) : -1, dialecto);
}

void TstDialectos::cadena_sqlite_data()
{
    QTest::addColumn<QString>("cadena");
    QTest::addColumn<bool>("sqlite");
    QTest::newRow("SQLite3") << "DRIVER=SQLite3;Database=/tmp/x.db;" << true;
    QTest::newRow("entre llaves") << "DRIVER={SQLite3 ODBC Driver};Database=x.db;" << true;
    QTest::newRow("minúsculas") << "driver=sqlite3;" << true;
    QTest::newRow("PostgreSQL") << "DRIVER={PostgreSQL Unicode};Database=sqlite;" << false;
    QTest::newRow("DRIVER no primero") << "Database=x.sqlite;DRIVER=PostgreSQL;" << false;
    QTest::newRow("vacía") << "" << false;
}

void TstDialectos::cadena_sqlite()
{
    QFETCH(QString, cadena);
    QFETCH(bool, sqlite);
    QCOMPARE(::cadena_sqlite(cadena), sqlite);
}

void TstDialectos::traducir_data()
{
    QTest::addColumn<Dialecto>("dialecto");
    QTest::addColumn<QString>("comando");
    QTest::addColumn<ComandoMotor::Forma>("forma");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("argumentos");

    using F = ComandoMotor::Forma;
    const QStringList ninguno;
    QTest::newRow("SQL Server llamada") << Dialecto::SqlServer << "Exec ver 'a','b'" << F::Texto
                                        << "Exec ver 'a','b'" << ninguno;
    QTest::newRow("SQL Server corchetes") << Dialecto::SqlServer << "select * from [Tipo Indicador] "
                                          << F::Texto << "select * from [Tipo Indicador] " << ninguno;

    QTest::newRow("PostgreSQL corchetes") << Dialecto::PostgreSQL << "select * from [Tipo Indicador] "
                                          << F::Texto << "select * from \"Tipo Indicador\" " << ninguno;
    QTest::newRow("PostgreSQL llamada") << Dialecto::PostgreSQL << "Exec ver 'a','b' " << F::Parametros
                                        << "SELECT * FROM \"ver\"(?,?)" << QStringList{"a", "b"};
    QTest::newRow("PostgreSQL sin argumentos") << Dialecto::PostgreSQL << "Exec ver" << F::Parametros
                                               << "SELECT * FROM \"ver\"()" << ninguno;
    // Values are bound, never rewritten: quotes and brackets stay as typed.
    QTest::newRow("PostgreSQL valores") << Dialecto::PostgreSQL << "Exec ver 'it''s', '[x]'" << F::Parametros
                                        << "SELECT * FROM \"ver\"(?,?)" << QStringList{"it's", "[x]"};
    QTest::newRow("PostgreSQL comilla doble en el nombre") << Dialecto::PostgreSQL << "Exec a\"b 'x'"
                                                           << F::Parametros << "SELECT * FROM \"a\"\"b\"(?)"
                                                           << QStringList{"x"};
    QTest::newRow("PostgreSQL no es llamada") << Dialecto::PostgreSQL << "Exec ver a" << F::Texto
                                              << "Exec ver a" << ninguno;

    QTest::newRow("SQLite llamada") << Dialecto::SQLite << "Exec ver 'a','b' " << F::Procedimiento << "ver"
                                    << QStringList{"a", "b"};
    QTest::newRow("SQLite corchetes") << Dialecto::SQLite << "select * from [Año] " << F::Texto
                                      << "select * from [Año] " << ninguno;
}

void TstDialectos::traducir()
{
    QFETCH(Dialecto, dialecto);
    QFETCH(QString, comando);
    QFETCH(ComandoMotor::Forma, forma);
    QFETCH(QString, sql);
    QFETCH(QStringList, argumentos);
    const ComandoMotor motor = ::traducir(dialecto, comando);
    QCOMPARE(motor.forma, forma);
    QCOMPARE(motor.sql, sql);
    QCOMPARE(motor.argumentos, argumentos);
}

QTEST_GUILESS_MAIN(TstDialectos)
#include "tst_dialectos.moc"
