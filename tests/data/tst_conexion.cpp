// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"
#include "data/origen_datos.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"

#include <QtTest>

using namespace velmora;

namespace {

QString escribir(const QTemporaryDir& dir, const QString& nombre, const QString& contenido)
{
    const QString ruta = dir.filePath(nombre);
    QFile f(ruta);
    if (f.open(QIODevice::WriteOnly | QIODevice::Text))
        f.write(contenido.toUtf8());
    return ruta;
}

} // namespace

// A real SQLite file through the real SQLite3 ODBC driver.
class TstConexion final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { Conexion().cerrar(); }
    void consulta_con_corchetes();
    void procedimiento_con_comillas_data();
    void procedimiento_con_comillas();
    void nulos_y_numeros();
    void campo_desconocido();
    void rechazo_y_atomicidad();
    void transaccion_todo_o_nada();
    void origen_de_datos_malo_data();
    void origen_de_datos_malo();
    void base_sqlite_que_falta();
    void clave_oculta_solo_en_su_lugar_data();
    void clave_oculta_solo_en_su_lugar();
    void origen_con_clave_solo_para_su_dueno();

private:
    std::unique_ptr<BasePrueba> base_;
};

void TstConexion::init()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    QCOMPARE(Conexion().dialecto(), Dialecto::SQLite);
    // Procedures of this test's own, written into the copy.
    for (const QString& sql : {
             QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY, nombre TEXT NOT NULL UNIQUE, "
                            "valor REAL)"),
             QStringLiteral("CREATE TRIGGER t_valor AFTER UPDATE ON t WHEN NEW.valor IS NOT NULL "
                            "AND typeof(NEW.valor) NOT IN ('integer','real') BEGIN "
                            "SELECT RAISE(ABORT, 'Valor no numérico'); END"),
             QStringLiteral("INSERT INTO procedimientos VALUES ('eco', 1, "
                            "'SELECT ? AS \"Texto\", length(?) AS \"Largo\"', '1,1')"),
             QStringLiteral("INSERT INTO procedimientos VALUES ('alta', 1, "
                            "'INSERT INTO t(nombre) VALUES (?)', '1')"),
             QStringLiteral("INSERT INTO procedimientos VALUES ('poner', 1, "
                            "'INSERT INTO t(nombre) VALUES (?)', '1')"),
             QStringLiteral("INSERT INTO procedimientos VALUES ('poner', 2, "
                            "'UPDATE t SET valor = ? WHERE nombre = ?', '2,1')"),
             QStringLiteral("INSERT INTO procedimientos VALUES ('poner', 3, "
                            "'SELECT count(*) AS \"Cuenta\" FROM t', '')"),
             QStringLiteral("INSERT INTO t(nombre, valor) VALUES ('nulo', NULL), ('real', 12.5)"),
         })
        Conexion().ejecutar(sql);
}

void TstConexion::consulta_con_corchetes()
{
    QCOMPARE(columna(Conexion().ejecutar(comando_consulta("Tipo Indicador")), "Tipo Indicador"),
             QStringList({"Principal      ", "Departamentales"}));
    QVERIFY(columna(Conexion().ejecutar(comando_consulta("Año")), "año").contains("2005"));
}

void TstConexion::procedimiento_con_comillas_data()
{
    QTest::addColumn<QString>("valor");
    QTest::newRow("comilla") << "'";
    QTest::newRow("dos comillas") << "''";
    QTest::newRow("inyección") << "' or '1'='1";
    QTest::newRow("comentario") << "x -- y";
    QTest::newRow("acentos y blancos") << "Días   ";
}

void TstConexion::procedimiento_con_comillas()
{
    QFETCH(QString, valor);
    Resultado r = Conexion().ejecutar(comando_exec("eco", {valor}));
    QVERIFY(!r.eof());
    QCOMPARE(r.texto("Texto"), valor);
    QCOMPARE(r.campo("Largo").toInt(), valor.size());
    r.siguiente();
    QVERIFY(r.eof());
    // Stored as typed, read back as typed.
    Conexion().ejecutar(comando_exec("alta", {valor}));
    QVERIFY(columna(Conexion().ejecutar("SELECT nombre FROM t"), "nombre").contains(valor));
}

void TstConexion::nulos_y_numeros()
{
    const QStringList valores = columna(Conexion().ejecutar("SELECT valor FROM t ORDER BY id"), "valor");
    QCOMPARE(valores, QStringList({"", "12,5"}));
}

void TstConexion::campo_desconocido()
{
    Resultado r = Conexion().ejecutar(comando_exec("eco", {"x"}));
    try {
        r.campo("texto"); // names match exactly, letter case included
        QFAIL("an unknown field must be an error");
    } catch (const RechazoDatos&) {
        QFAIL("an unknown field is not a refusal");
    } catch (const ErrorBaseDatos& e) {
        QVERIFY(e.texto().contains("\"texto\""));
    }
    // A column looked up once reads the same field, and fails the same way.
    QCOMPARE(r.campo(r.indice("Largo")), r.campo("Largo"));
    QCOMPARE(r.campo(r.indice("Texto")).toString(), QStringLiteral("x"));
    QVERIFY_THROWS_EXCEPTION(ErrorBaseDatos, r.indice("texto"));
}

void TstConexion::rechazo_y_atomicidad()
{
    // A duplicate name and a value that is not a number are refusals; a
    // multi-statement procedure that fails leaves nothing behind.
    QVERIFY_THROWS_EXCEPTION(RechazoDatos, Conexion().ejecutar(comando_exec("alta", {"real"})));
    try {
        Conexion().ejecutar(comando_exec("poner", {"nuevo", "abc"}));
        QFAIL("expected a refusal");
    } catch (const RechazoDatos& e) {
        QVERIFY2(e.texto().contains("Valor no numérico"), qPrintable(e.texto()));
    }
    QCOMPARE(columna(Conexion().ejecutar("SELECT count(*) AS n FROM t"), "n"), QStringList{"2"});
    Resultado r = Conexion().ejecutar(comando_exec("poner", {"nuevo", "3.5"}));
    QCOMPARE(r.texto("Cuenta"), QStringLiteral("3"));
    // Not a refusal: a procedure that does not exist.
    try {
        Conexion().ejecutar(comando_exec("no_existe", {}));
        QFAIL("expected an error");
    } catch (const RechazoDatos&) {
        QFAIL("a missing procedure is not a refusal");
    } catch (const ErrorBaseDatos&) {
    }
}

void TstConexion::transaccion_todo_o_nada()
{
    {
        Transaccion t(Conexion());
        Conexion().ejecutar(comando_exec("poner", {"a", "1"}));
        QVERIFY_THROWS_EXCEPTION(RechazoDatos, Conexion().ejecutar(comando_exec("poner", {"b", "x"})));
    } // not confirmed: rolled back
    QCOMPARE(columna(Conexion().ejecutar("SELECT count(*) AS n FROM t"), "n"), QStringList{"2"});
    {
        Transaccion t(Conexion());
        Conexion().ejecutar(comando_exec("poner", {"a", "1"}));
        Conexion().ejecutar(comando_exec("poner", {"b", "2.5"}));
        t.confirmar();
    }
    QCOMPARE(columna(Conexion().ejecutar("SELECT count(*) AS n FROM t"), "n"), QStringList{"4"});
}

void TstConexion::origen_de_datos_malo_data()
{
    QTest::addColumn<QString>("contenido"); // empty: no file at all
    QTest::addColumn<QString>("en_texto");
    QTest::newRow("sin archivo") << "" << "no existe";
    QTest::newRow("sin sección") << "[Otra]\nDRIVER=SQLite3\n" << "[ODBC]";
    QTest::newRow("sin driver") << "[ODBC]\nDatabase=/tmp/x.db\n" << "DRIVER";
    QTest::newRow("driver desconocido") << "[ODBC]\nDRIVER=NoExiste\nPWD=secreto99\n" << "";
}

void TstConexion::origen_de_datos_malo()
{
    QFETCH(QString, contenido);
    QFETCH(QString, en_texto);
    Conexion().cerrar();
    QTemporaryDir dir;
    const QString ruta = contenido.isEmpty() ? dir.filePath("falta.dsn")
                                             : escribir(dir, "malo.dsn", contenido);
    try {
        Conexion().abrir("FILEDSN=" + ruta);
        QFAIL("expected an error");
    } catch (const ErrorBaseDatos& e) {
        QVERIFY(!e.numero().isEmpty());
        QVERIFY2(e.texto().contains(en_texto), qPrintable(e.texto()));
        QVERIFY(!e.texto().contains("secreto99"));
    }
    QVERIFY(!Conexion().abierta());
}

// The driver would create an empty file and the first screen would fail:
// refused at start-up, naming the file, and nothing created.
void TstConexion::base_sqlite_que_falta()
{
    Conexion().cerrar();
    QTemporaryDir dir;
    const QString base = dir.filePath("no_esta.db");
    const QString dsn = escribir(dir, "conexion.dsn", "[ODBC]\nDRIVER=SQLite3\nDatabase=" + base + "\nStepAPI=1\n");
    try {
        Conexion().abrir("FILEDSN=" + dsn);
        QFAIL("expected an error");
    } catch (const ErrorBaseDatos& e) {
        QVERIFY2(e.texto().contains(QDir::toNativeSeparators(base)), qPrintable(e.texto()));
        QVERIFY2(e.texto().startsWith("No existe la base de datos"), qPrintable(e.texto()));
    }
    QVERIFY(!Conexion().abierta());
    QVERIFY(!QFileInfo::exists(base));
}

void TstConexion::clave_oculta_solo_en_su_lugar_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("oculto");
    QTest::newRow("usuario igual a la clave")
        << "password authentication failed for user \"velmora\"" << "velmora"
        << "password authentication failed for user \"velmora\"";
    QTest::newRow("cadena") << "DRIVER={PostgreSQL Unicode};Username=velmora;Password=velmora;Port=5432"
                            << "velmora" << "DRIVER={PostgreSQL Unicode};Username=velmora;Password=****;Port=5432";
    QTest::newRow("PWD entre llaves") << "UID=a;PWD={x;y}};z};Port=1" << "x;y};z" << "UID=a;PWD=****;Port=1";
    QTest::newRow("clave con un blanco") << "UID=a;PWD=ab cd;Port=1" << "ab cd" << "UID=a;PWD=****;Port=1";
    QTest::newRow("clave con blancos al final del texto") << "fallo: Password=mi clave larga" << "mi clave larga"
                                                          << "fallo: Password=****";
    QTest::newRow("sin clave") << "PWD=algo" << "" << "PWD=algo";
}

void TstConexion::clave_oculta_solo_en_su_lugar()
{
    QFETCH(QString, texto);
    QFETCH(QString, clave);
    QFETCH(QString, oculto);
    QCOMPARE(ocultar_clave(texto, clave), oculto);
}

void TstConexion::origen_con_clave_solo_para_su_dueno()
{
    QTemporaryDir dir;
    const QString ruta = escribir(dir, "clave.dsn", "[ODBC]\nDRIVER=PostgreSQL Unicode\nUsername=u\nPassword=p\n");
    QVERIFY(QFile::setPermissions(ruta, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    QCOMPARE(leer_origen_datos(ruta).clave, QStringLiteral("p"));
    QCOMPARE(QFileInfo(ruta).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
             QFile::Permissions());
    QVERIFY(QFileInfo(ruta).permissions() & QFile::ReadOwner);
}

QTEST_GUILESS_MAIN(TstConexion)
#include "tst_conexion.moc"
