// SPDX-License-Identifier: GPL-3.0-or-later
// The data source file as the program reads it: each keyword of the file
// reaches the driver as one attribute, whatever its value holds, and a file
// the reader cannot take whole is refused naming the line.

#include "data/conexion.h"
#include "data/errores.h"
#include "data/origen_datos.h"
#include "soporte/cadena_odbc.h"
#include "soporte/soporte.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;

class TstOrigenDatos final : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Conexion().cerrar(); }
    void lectura_data();
    void lectura();
    void rechazo_data();
    void rechazo();
    void archivo_no_valido_data();
    void archivo_no_valido();
    void conecta_con_cr();
    void driver_no_abre_otra_base();

private:
    QString escribir(const QByteArray& contenido);
    QTemporaryDir carpeta_;
};

QString TstOrigenDatos::escribir(const QByteArray& contenido)
{
    const QString ruta = carpeta_.filePath(QStringLiteral("origen.dsn"));
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(contenido) != contenido.size())
        qFatal("cannot write the data source file");
    return ruta;
}

void TstOrigenDatos::lectura_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QStringList>("atributos"); // as the driver splits them
    const QStringList base{"DRIVER=SQLite3", "Database=/tmp/a.db", "StepAPI=1"};
    QTest::newRow("LF") << QByteArray("[ODBC]\nDRIVER=SQLite3\nDatabase=/tmp/a.db\nStepAPI=1\n")
                        << base;
    QTest::newRow("CRLF") << QByteArray("[ODBC]\r\nDRIVER=SQLite3\r\nDatabase=/tmp/a.db\r\nStepAPI=1\r\n")
                          << base;
    QTest::newRow("CR") << QByteArray("[ODBC]\rDRIVER=SQLite3\rDatabase=/tmp/a.db\rStepAPI=1") << base;
    QTest::newRow("mezcla, BOM y comentarios")
        << QByteArray("\xEF\xBB\xBF; nota\r\n[Otra]\rDatabase=/x\n[odbc]\r\nDRIVER={SQLite3}\rDatabase=/tmp/a.db\n"
                      "# más\r\nStepAPI=1\r\n")
        << base;
    QTest::newRow("llave que cierra en DRIVER")
        << QByteArray("[ODBC]\nDRIVER=SQLite3};Database=/other.db;X={\nDatabase=/tmp/a.db\n")
        << QStringList{"DRIVER=SQLite3};Database=/other.db;X={", "Database=/tmp/a.db"};
    QTest::newRow("punto y coma y llaves en un valor")
        << QByteArray("[ODBC]\nDRIVER=PostgreSQL Unicode\nPWD=a;b}c{d\nDatabase= velmora \n")
        << QStringList{"DRIVER=PostgreSQL Unicode", "PWD=a;b}c{d", "Database=velmora"};
    QTest::newRow("valor vacío") << QByteArray("[ODBC]\nDRIVER=PostgreSQL Unicode\nPassword=\n")
                                 << QStringList{"DRIVER=PostgreSQL Unicode", "Password="};
}

void TstOrigenDatos::lectura()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QStringList, atributos);
    OrigenDatos o;
    try {
        o = leer_origen_datos(escribir(contenido));
    } catch (const ErrorBaseDatos& e) {
        QFAIL(qPrintable(e.texto()));
    }
    const auto pares = partir_cadena_odbc(o.cadena);
    QVERIFY2(pares.has_value(), qPrintable(o.cadena));
    QStringList leidos;
    for (const auto& [clave, valor] : *pares)
        leidos << clave + u'=' + valor;
    QCOMPARE(leidos, atributos);
}

void TstOrigenDatos::rechazo_data()
{
    QTest::addColumn<QByteArray>("contenido");
    QTest::addColumn<QString>("en_texto");
    QTest::newRow("clave con punto y coma")
        << QByteArray("[ODBC]\nDRIVER=SQLite3\nx;PWD=secreto99\n") << "línea 3: \"x;PWD\" no es una palabra clave";
    QTest::newRow("clave con llaves") << QByteArray("[ODBC]\r\nDRIVER=SQLite3\r\n{Database}=/a\r\n")
                                      << "línea 3";
    QTest::newRow("clave con blanco") << QByteArray("[ODBC]\nDRIVER=SQLite3\nData base=/a\n")
                                      << "línea 3";
    QTest::newRow("clave vacía") << QByteArray("[ODBC]\nDRIVER=SQLite3\n=/a\n") << "línea 3";
    QTest::newRow("línea sin igual") << QByteArray("[ODBC]\nDRIVER=SQLite3\nsecreto99\n")
                                     << "línea 3: no tiene la forma clave=valor";
    QTest::newRow("CR dentro de un valor")
        << QByteArray("[ODBC]\nDRIVER=SQLite3\nPWD=secreto99\rmas\n") << "línea 4";
    QTest::newRow("SQLite: llaves en Database")
        << QByteArray("[ODBC]\nDRIVER=SQLite3\nDatabase={x;y}\n")
        << "línea 3: el controlador SQLite no admite llaves ni ';' en el valor de \"Database\"";
    QTest::newRow("SQLite: punto y coma en Database")
        << QByteArray("[ODBC]\nDRIVER=SQLite3\nDatabase=mi;base.db\n") << "línea 3: el controlador SQLite no admite";
    QTest::newRow("SQLite: llave en otro valor")
        << QByteArray("[ODBC]\nDRIVER={SQLite3 ODBC Driver}\nDatabase=/a.db\nPWD=se}creto99\n")
        << "línea 4: el controlador SQLite no admite";
    QTest::newRow("SQLite: :memory:")
        << QByteArray("[ODBC]\nDRIVER=SQLite3\nDatabase=:memory:\n") << "línea 3: \":memory:\" es una base de datos vacía";
    QTest::newRow("segunda sección [ODBC]")
        << QByteArray("[ODBC]\nDRIVER=SQLite3\nDatabase=/a.db\n[Otra]\n[odbc]\nDatabase=/b.db\n")
        << "línea 5: una segunda sección [ODBC]; deje una sola";
    QTest::newRow("carácter nulo") << (QByteArray("[ODBC]\nDRIVER=SQLite3\nDatabase=/a") + '\0' + "b\n")
                                   << "línea 3: tiene un carácter de control";
}

void TstOrigenDatos::rechazo()
{
    QFETCH(QByteArray, contenido);
    QFETCH(QString, en_texto);
    const QString ruta = escribir(contenido);
    try {
        const OrigenDatos o = leer_origen_datos(ruta);
        QFAIL(qPrintable(QStringLiteral("read as ") + o.cadena));
    } catch (const ErrorBaseDatos& e) {
        QVERIFY2(e.texto().contains(en_texto), qPrintable(e.texto()));
        QVERIFY2(e.texto().contains(ruta), qPrintable(e.texto()));
        QVERIFY(!e.texto().contains(QStringLiteral("secreto99")));
    }
}

void TstOrigenDatos::archivo_no_valido_data()
{
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QString>("en_texto");
    QTest::newRow("carpeta") << "carpeta" << "es una carpeta, no un archivo";
    QTest::newRow("tubería") << "fifo" << "no es un archivo normal";
    QTest::newRow("sin permiso de lectura") << "ilegible" << "No tiene permiso para leer el origen de datos";
    QTest::newRow("ciclo de enlaces") << "ciclo" << "enlace simbólico que forma un ciclo";
    QTest::newRow("enlace roto") << "roto" << "es un enlace simbólico a";
    QTest::newRow("no existe") << "falta" << "no existe. Arranque el programa con ./run.sh";
    QTest::newRow("demasiado grande") << "grande" << "ocupa 314572800 bytes";
}

// What is not a data source file is refused before it is read, in Spanish,
// naming the file and what to do (no "Unknown error", no waiting on a pipe).
void TstOrigenDatos::archivo_no_valido()
{
    QFETCH(QString, caso);
    QFETCH(QString, en_texto);
    const QString ruta = carpeta_.filePath(caso + QStringLiteral(".dsn"));
    const QByteArray local = QFile::encodeName(ruta);
    if (caso == QStringLiteral("carpeta")) {
        QVERIFY(QDir().mkpath(ruta));
    } else if (caso == QStringLiteral("fifo")) {
        QCOMPARE(::mkfifo(local.constData(), 0600), 0);
    } else if (caso == QStringLiteral("ilegible")) {
        // Root reads any file: the case runs as a user without rights.
        if (!correr_como(Usuario::SinDerechos))
            return;
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[ODBC]\nDRIVER=SQLite3\n");
        f.close();
        QVERIFY(f.setPermissions(QFileDevice::WriteOwner));
    } else if (caso == QStringLiteral("ciclo")) {
        QVERIFY(QFile::link(ruta, ruta));
    } else if (caso == QStringLiteral("roto")) {
        QVERIFY(QFile::link(carpeta_.filePath(QStringLiteral("nada.dsn")), ruta));
    } else if (caso == QStringLiteral("grande")) {
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[ODBC]\nDRIVER=SQLite3\n");
        QVERIFY(f.resize(300LL * 1024 * 1024)); // sparse: no disk taken
    }
    try {
        const OrigenDatos o = leer_origen_datos(ruta);
        QFAIL(qPrintable(QStringLiteral("read as ") + o.cadena));
    } catch (const ErrorBaseDatos& e) {
        QVERIFY2(e.texto().contains(en_texto), qPrintable(e.texto()));
        QVERIFY2(e.texto().contains(u'"' + ruta + u'"'), qPrintable(e.texto()));
        QVERIFY2(!e.texto().contains(QStringLiteral("rror")), qPrintable(e.texto())); // no "Unknown error"
    }
}

// The real driver reads a file with old Mac line ends.
void TstOrigenDatos::conecta_con_cr()
{
    const BasePrueba base;
    const QString ruta =
        escribir("[ODBC]\rDRIVER=SQLite3\rDatabase=" + base.archivo().toUtf8() + "\rStepAPI=1\r");
    try {
        Conexion().abrir(QStringLiteral("FILEDSN=") + ruta);
    } catch (const ErrorBaseDatos& e) {
        QFAIL(qPrintable(e.mensaje()));
    }
    Resultado r = Conexion().ejecutar(QStringLiteral("SELECT count(*) AS n FROM indicador"));
    QVERIFY(!r.eof());
    QVERIFY(r.texto(QStringLiteral("n")).toInt() > 0);
}

// A DRIVER value that closes its braces opens no database of its own
// choosing: the real driver manager sees one driver name, which it does not
// know.
void TstOrigenDatos::driver_no_abre_otra_base()
{
    const BasePrueba otra;
    const QString ruta = escribir("[ODBC]\nDRIVER=SQLite3};Database=" + otra.archivo().toUtf8()
                                  + ";X={\nDatabase=" + carpeta_.filePath(QStringLiteral("no.db")).toUtf8()
                                  + "\n");
    try {
        Conexion().abrir(QStringLiteral("FILEDSN=") + ruta);
        QFAIL("the connection opened");
    } catch (const ErrorBaseDatos& e) {
        QVERIFY2(e.texto().contains(QStringLiteral("'SQLite3};Database=") + otra.archivo()), qPrintable(e.mensaje()));
    }
    QVERIFY(!Conexion().abierta());
}

QTEST_GUILESS_MAIN(TstOrigenDatos)
#include "tst_origen_datos.moc"
