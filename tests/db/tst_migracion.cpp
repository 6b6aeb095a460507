// SPDX-License-Identifier: GPL-3.0-or-later
// A database made by the previous version of the program (its schema,
// procedures and history as they were, kept in base_antigua/, with the demo
// data) brought up to date: an embedded one when the program opens it, one
// on the PostgreSQL server of scripts/con_postgres.sh by actualizar.sh.

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"
#include "data/textos.h"
#include "soporte/bits.h"
#include "soporte/pantallas.h"
#include "soporte/sin_root.h"
#include "soporte/soporte.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace velmora;

namespace {

// Runs sql on the file with the sqlite3 shell, as another client would.
bool sqlite3(const QString& archivo, const QByteArray& sql)
{
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), archivo});
    if (!p.waitForStarted())
        return false;
    p.write(sql);
    p.closeWriteChannel();
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QByteArray leer(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every row the migration must keep, with its id (numbers in a text that
// reads back as the same double; names apart, as one of them changes).
const char* const kHuella[] = {
    "SELECT id || '|' || id_indicador || '|' || id_departamento || '|' || id_anio || '|' || mes || '|' || "
    "coalesce(printf('%!.18g', valor), '') || '|' || coalesce(printf('%!.18g', meta), '') || '|' || "
    "coalesce(printf('%!.18g', linea_base), '') AS f FROM registro ORDER BY id",
    "SELECT id || '|' || id_tipo || '|' || coalesce(id_perspectiva, '') || '|' || id_desempeno || '|' || "
    "id_unidad AS f FROM indicador ORDER BY id",
    "SELECT id_indicador || '|' || id_departamento AS f FROM indicador_departamento "
    "ORDER BY id_indicador, id_departamento",
    "SELECT id || '|' || campo || '|' || coalesce(printf('%!.18g', antes), '') || '|' || "
    "coalesce(printf('%!.18g', despues), '') AS f FROM historial ORDER BY id",
};

// The rows of sql, one line each, as the sqlite3 shell reads them.
QStringList por_shell(const QString& archivo, const QString& sql)
{
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {archivo, sql});
    if (!p.waitForFinished(60000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}


} // namespace

class TstMigracion final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void conserva_filas_e_ids();
    void ids_nunca_reusados();
    void numeros_enteros_y_procedimientos_al_dia();
    void nombres_en_nfc();
    void dos_programas_a_la_vez();
    void sellada_al_actualizar();
    void antigua_solo_lectura();
    void postgres_actualizado();
    void postgres_version_nueva();

private:
    QTemporaryDir carpeta_;
    QString antigua_;
    std::unique_ptr<BasePrueba> base_;
};

void TstMigracion::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    antigua_ = carpeta_.filePath(QStringLiteral("antigua.db"));
    const QString viejos = QStringLiteral(VELMORA_BASE_ANTIGUA);
    QByteArray sql;
    for (const QString& f : {viejos + "/sqlite/01_esquema.sql", viejos + "/sqlite/02_procedimientos.sql",
                             QStringLiteral(VELMORA_DB) + "/sqlite/03_datos_demo.sql",
                             viejos + "/sqlite/04_historial.sql"})
        sql += "BEGIN;\n" + leer(f) + "\nCOMMIT;\n";
    QVERIFY(sqlite3(antigua_, sql));
    // A user's life on it: the newest indicator deleted (its ids free for
    // the next one there), a name with its accent apart, one with an
    // invisible character as well, a number with all its digits.
    sql = "INSERT INTO pedido_eliminar (nombre) VALUES ('Ausentismo');\n"
           "INSERT INTO indicador (nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad) "
           "VALUES ('Cafe' || char(769), 1, 1, 1, 1);\n"
           "INSERT INTO indicador (nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad) "
           "VALUES ('Te' || char(769, 8203), 1, 1, 1, 1);\n"
           "INSERT INTO indicador (nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad) "
           "VALUES ('Pane' || char(769), 1, 1, 1, 1);\n"
           "INSERT INTO pedido_eliminar (nombre) VALUES ('Pane' || char(769));\n"
           "UPDATE registro SET valor = 2.0 / 3 WHERE id = 229;\n";
    QVERIFY(sqlite3(antigua_, sql));
}

void TstMigracion::init()
{
    base_ = std::make_unique<BasePrueba>(antigua_);
    base_->abrir();
}

void TstMigracion::cleanup()
{
    Conexion().cerrar();
    base_.reset();
}

// Every row and id stays, the history with it; opening again changes nothing.
void TstMigracion::conserva_filas_e_ids()
{
    for (const char* tabla : {"indicador", "registro"})
        QVERIFY(Conexion()
                    .ejecutar(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = '%1'").arg(QLatin1String(tabla)))
                    .texto("sql")
                    .contains("AUTOINCREMENT"));
    for (const char* sql : kHuella) {
        const QStringList nuevas = columna(QString::fromLatin1(sql), "f");
        QVERIFY(!nuevas.isEmpty());
        QCOMPARE(nuevas, por_shell(antigua_, QString::fromLatin1(sql)));
    }
    Conexion().cerrar();
    base_->abrir();
    for (const char* sql : kHuella)
        QCOMPARE(columna(QString::fromLatin1(sql), "f"), por_shell(antigua_, QString::fromLatin1(sql)));
}

// From the migration on, deleting the newest indicator never frees its ids
// for the next one. (Ids freed before it are not known to the file any more;
// a save still checks that its records are what it fetched.)
void TstMigracion::ids_nunca_reusados()
{
    const QStringList cafe = columna(comando_exec("Consulta_modificar", {"Caf\u00E9", "2025"}), "Id1");
    QCOMPARE(cafe.size(), 12);
    const qlonglong mayor = Conexion().ejecutar("SELECT max(id) AS n FROM registro").campo("n").toLongLong();
    Conexion().ejecutar(comando_exec("eliminar", {"Caf\u00E9"}));
    Conexion().ejecutar(comando_exec("Nuevo_Indicador", {"Prueba Y", "1"}));
    const QStringList ids = columna(comando_exec("Consulta_modificar", {"Prueba Y", "2025"}), "Id1");
    QCOMPARE(ids.size(), 12);
    QVERIFY2(ids.first().toLongLong() > mayor, qPrintable(ids.first()));
}

// Numbers come back whole, typed ones are stored exactly, and the new
// procedures and the history work on the migrated file.
void TstMigracion::numeros_enteros_y_procedimientos_al_dia()
{
    Resultado r = Conexion().ejecutar(comando_exec("Consulta_registro", {"229"}));
    QVERIFY(!r.eof());
    QCOMPARE_BITS(r.campo("Valor").toDouble(), 0x1.5555555555555p-1); // 2/3
    QCOMPARE(r.texto("Indicador"), QStringLiteral("Margen operativo"));
    Conexion().fijar_sesion(comando_exec("Sesion_programa", {"Administrador", "ana"}));
    // 2/3 read through the driver's own 15 digits would come back wrong.
    Conexion().ejecutar(comando_modificar("1", "0,937278", "2", "229"));
    QCOMPARE_BITS(Conexion().ejecutar(comando_exec("Consulta_registro", {"229"})).campo("Valor").toDouble(),
                  0x1.dfe2e6ea85447p-1); // 0,937278
    Resultado h = Conexion().ejecutar(comando_exec("Consulta_historial", {"Margen operativo"}));
    while (!h.eof() && h.texto("Campo") != QStringLiteral("Valor"))
        h.siguiente();
    QVERIFY(!h.eof());
    QCOMPARE_BITS(h.campo("Antes").toDouble(), 0x1.5555555555555p-1);
    QCOMPARE_BITS(h.campo("Después").toDouble(), 0x1.dfe2e6ea85447p-1);
    QCOMPARE(h.texto("Usuario"), QStringLiteral("ana"));
}

// A name stored with its accent apart becomes its NFC form, its history too
// (a deleted indicator's as well: it comes back in NFC); an invisible
// character an old name already held stays (it does not stop the upgrade;
// new names cannot have one).
void TstMigracion::nombres_en_nfc()
{
    const QStringList nombres = columna(comando_consulta("Indicadores"), "Indicador");
    QVERIFY(nombres.contains(QStringLiteral("Caf\u00E9")));
    QVERIFY(!nombres.contains(QStringLiteral("Cafe\u0301")));
    QVERIFY(nombres.contains(QStringLiteral("T\u00E9\u200B")));
    QCOMPARE(columna("SELECT DISTINCT indicador AS i FROM historial WHERE indicador LIKE 'Caf%'", "i"),
             QStringList{QStringLiteral("Caf\u00E9")});
    QVERIFY_THROWS_EXCEPTION(RechazoDatos, Conexion().ejecutar(comando_exec("Nuevo_Indicador", {"Caf\u00E9", "1"})));
    Conexion().ejecutar(comando_exec("Restaurar_indicador", {"Pan\u00E9"}));
    QVERIFY(columna(comando_consulta("Indicadores"), "Indicador").contains(QStringLiteral("Pan\u00E9")));
}

// Two programs open an old file at the same moment: the second one, waiting
// for the first one's lock, finds the file up to date and opens it.
void TstMigracion::dos_programas_a_la_vez()
{
    Conexion().cerrar();
    const BasePrueba otra(antigua_);
    // The other program's upgrade, as far as this one can tell: it holds the
    // file's lock a moment after this one looked.
    QProcess otro;
    otro.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), otra.archivo()});
    QVERIFY(otro.waitForStarted());
    otro.write(".timeout 20000\nBEGIN IMMEDIATE;\n"
               "ALTER TABLE registro ADD COLUMN valor_exacto \"DOUBLE TEXT\";\n"
               "SELECT 'listo';\n.system sleep 1\nCOMMIT;\n");
    otro.closeWriteChannel();
    QVERIFY(otro.waitForReadyRead(30000));
    QCOMPARE(otro.readLine().trimmed(), QByteArray("listo"));
    otra.abrir();
    QVERIFY(otro.waitForFinished(30000));
    QCOMPARE(otro.exitCode(), 0);
    QCOMPARE(columna("SELECT name FROM pragma_table_xinfo('registro') WHERE name = 'valor_exacto'", "name").size(), 1);
}

// Brought up to date, the file carries this version's stamp.
void TstMigracion::sellada_al_actualizar()
{
    QCOMPARE(Conexion().ejecutar("PRAGMA user_version").campo(0).toInt(), 1);
    QCOMPARE(Conexion().aviso(), QString());
}

// An old file its user can only read (0400, a user without root): it opens
// for reading, unchanged, saying that someone who may write it must bring it
// up to date; a save is refused and the program goes on.
void TstMigracion::antigua_solo_lectura()
{
    Conexion().cerrar();
    QTemporaryDir dir(QStringLiteral("/tmp/velmora-antigua-XXXXXX"));
    const QString raiz = carpeta_para_todos(dir);
    const QString archivo = QDir(raiz).filePath("antigua.db");
    QVERIFY(QFile::copy(antigua_, archivo));
    QVERIFY(dar_al_usuario(archivo));
    QVERIFY(QFile::setPermissions(archivo, QFile::ReadOwner));
    const QString dsn = QDir(raiz).filePath("conexion.dsn");
    escribir_origen(dsn, archivo);
    QVERIFY(QFile::setPermissions(dsn, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    const QByteArray antes = leer(archivo);
    int codigo = -1;
    QString errores;
    const QString salida = como_sin_root(QStringLiteral(VELMORA_LECTOR_BASE), raiz, {dsn}, codigo, errores);
    QVERIFY2(codigo == 0, qPrintable(salida + errores));
    const QString nombre = QDir::toNativeSeparators(archivo);
    QCOMPARE(salida.split(u'\n', Qt::SkipEmptyParts),
             (QStringList{QStringLiteral("aviso=La base de datos \"%1\" es de una versión anterior del programa y su "
                                         "usuario solo puede leerla: puede consultar los informes, pero no guardar. "
                                         "Para ponerla al día, alguien que pueda escribir en el archivo y en su "
                                         "carpeta debe abrirla una vez con esta versión del programa.")
                              .arg(nombre),
                          "filas=12",
                          "guardar=" + QString(kErrorSoloLectura)
                              + QStringLiteral("|No se guardó nada: su usuario solo puede leer la base de datos \"%1\" "
                                               "(el archivo o su carpeta no le permiten escribir). Puede seguir "
                                               "consultando; para guardar, pida a quien administra el equipo "
                                               "permiso de escritura en el archivo y en su carpeta.")
                                    .arg(nombre),
                          "despues=12"}));
    QCOMPARE(leer(archivo), antes);
}

namespace {

// The test server's database `base` as psql names it.
QString cadena_pg(const QString& base, const QString& cuenta = QStringLiteral("velmora"))
{
    QString servidor;
    QFile f(dsn_postgres());
    if (f.open(QIODevice::ReadOnly))
        for (const QString& linea : QString::fromUtf8(f.readAll()).split(u'\n'))
            if (linea.startsWith(QStringLiteral("Servername=")))
                servidor = linea.mid(11).trimmed();
    return QStringLiteral("host=%1 port=5432 user=%2 dbname=%3").arg(servidor, cuenta, base);
}

// psql on the test server's database `base`, as `cuenta`; false when it fails.
bool psql(const QString& base, const QStringList& argumentos, const QByteArray& entrada = {},
          const QString& cuenta = QStringLiteral("velmora"))
{
    QProcess p;
    p.start(QStringLiteral("psql"),
            QStringList{"-X", "-q", "-v", "ON_ERROR_STOP=1", "-d", cadena_pg(base, cuenta)} + argumentos);
    if (!p.waitForStarted())
        return false;
    p.write(entrada);
    p.closeWriteChannel();
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

// A server database loaded by the previous cargar.sh, with the same life as
// the embedded one, brought up to date by actualizar.sh (twice: the second
// run changes nothing).
void TstMigracion::postgres_actualizado()
{
    if (dsn_postgres().isEmpty())
        QFAIL("no PostgreSQL server (VELMORA_PG_DSN): run the tests through scripts/con_postgres.sh");
    Conexion().cerrar();
    const QString base = QStringLiteral("velmora_antigua_%1").arg(QCoreApplication::applicationPid());
    // Loaded by an owner that is no superuser, as the README has it; the
    // update is run by the server's superuser.
    const QString dueño = QStringLiteral("dueno_antigua_%1").arg(QCoreApplication::applicationPid());
    QVERIFY(psql("postgres", {"-c", "DROP DATABASE IF EXISTS " + base, "-c", "CREATE ROLE " + dueño + " LOGIN", "-c",
                              "CREATE DATABASE " + base + " OWNER " + dueño}));
    const QString viejos = QStringLiteral(VELMORA_BASE_ANTIGUA) + "/postgresql";
    QVERIFY(psql(base,
                 {"--single-transaction", "-o", "/dev/null", "-f", viejos + "/01_esquema.sql", "-f",
                  viejos + "/02_procedimientos.sql", "-f", QStringLiteral(VELMORA_DB) + "/postgresql/03_datos_demo.sql",
                  "-f", viejos + "/04_historial.sql"},
                 {}, dueño));
    QVERIFY(psql(base, {"-o", "/dev/null"},
                 "SELECT eliminar('Ausentismo');\n"
                 "INSERT INTO indicador (nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad) "
                 "VALUES ('Cafe' || U&'\\0301', 1, 1, 1, 1), ('Mora' || U&'\\0301\\200B', 1, 1, 1, 1), "
                 "(U&'T\\00E9', 1, 1, 1, 1), (U&'Te\\0301', 1, 1, 1, 1), ('Pane' || U&'\\0301', 1, 1, 1, 1);\n"
                 "SELECT eliminar('Pane' || U&'\\0301');\n"));
    QTemporaryDir carpeta;
    const QString dsn = escribir_dsn_postgres(carpeta.path(), base);
    auto huella_pg = [&] {
        Conexion().abrir(QStringLiteral("FILEDSN=") + dsn);
        QStringList h;
        for (const char* sql : {"SELECT concat_ws('|', id, id_indicador, id_departamento, id_anio, mes, valor, meta, "
                                "linea_base) AS f FROM registro ORDER BY id",
                                "SELECT concat_ws('|', id, id_tipo, id_perspectiva, id_desempeno, id_unidad) AS f "
                                "FROM indicador ORDER BY id"})
            h << columna(QString::fromLatin1(sql), "f");
        Conexion().cerrar();
        return h;
    };
    // Accounts an administrator let in before groups existed, with rights of
    // their own on the tables.
    const QString edita = QStringLiteral("edita_antes_%1").arg(QCoreApplication::applicationPid());
    const QString lee = QStringLiteral("lee_antes_%1").arg(QCoreApplication::applicationPid());
    QVERIFY(psql(base, {"-c", QStringLiteral("CREATE ROLE %1 LOGIN; CREATE ROLE %2 LOGIN; GRANT SELECT, UPDATE ON "
                                             "registro TO %1; GRANT SELECT ON indicador, registro TO %2")
                                  .arg(edita, lee)}));
    const QStringList antes = huella_pg();
    QString dicho;
    for (int vez = 0; vez < 2; ++vez) {
        QProcess p;
        p.start(QStringLiteral(VELMORA_DB) + "/postgresql/actualizar.sh", {cadena_pg(base)});
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        if (vez == 0)
            dicho = QString::fromUtf8(p.readAllStandardOutput());
    }
    QCOMPARE(huella_pg(), antes);
    // The administrator is told what to grant each one, whose own rights went.
    QVERIFY2(dicho.contains(QStringLiteral("GRANT velmora_edicion TO %1;").arg(edita))
                 && dicho.contains(QStringLiteral("GRANT velmora_lectura TO %1;").arg(lee)),
             qPrintable(dicho));
    QVERIFY(psql(base, {"-c", QStringLiteral("DO $$ BEGIN IF has_table_privilege('%1', 'registro', 'UPDATE') OR "
                                             "has_table_privilege('%2', 'registro', 'SELECT') OR NOT "
                                             "has_function_privilege('velmora_edicion', 'modificar(text,text,text,text)',"
                                             " 'EXECUTE') OR has_function_privilege('velmora_lectura', "
                                             "'\"Restaurar_indicador\"(text)', 'EXECUTE') OR NOT (SELECT prosecdef "
                                             "FROM pg_proc WHERE proname = 'Restaurar_indicador') THEN RAISE "
                                             "'rights not brought up to date'; END IF; END $$")
                                  .arg(edita, lee)}));
    // The owner's stores still work: what the superuser made is the owner's.
    QVERIFY(psql(base, {"-o", "/dev/null", "-c", "SELECT modificar('8', '13,5', '15', '229')", "-c",
                        "SELECT * FROM \"Consulta_registro\"('229')", "-c", "SELECT * FROM \"Consulta_permisos\"()"},
                 {}, dueño));

    Conexion().abrir(QStringLiteral("FILEDSN=") + dsn);
    QVERIFY(columna(comando_consulta("Indicadores"), "Indicador").contains(QStringLiteral("Caf\u00E9")));
    Resultado r = Conexion().ejecutar(comando_exec("Consulta_registro", {"229"}));
    QCOMPARE(r.texto("Indicador"), QStringLiteral("Margen operativo"));
    try {
        Conexion().ejecutar(comando_exec("Nuevo_Indicador", {"Cafe\u0301", "1"}));
        QFAIL("a name equal in NFC was stored");
    } catch (const RechazoDatos& e) {
        QCOMPARE(e.texto(), QStringLiteral("Ya existe un indicador con ese nombre"));
    }
    // Old names the checks on names would refuse today (an invisible
    // character, a twin kept apart from its NFC form) still take records.
    for (const QString& nombre :
         {QStringLiteral("Mor\u00E1\u200B"), QStringLiteral("Te\u0301"), QStringLiteral("T\u00E9")}) {
        Conexion().ejecutar(
            comando_exec("Nuevo_registro", {"3", "Enero", nombre, "2", "1", "1", "1", "10", "20", "5"}));
        QCOMPARE(Conexion()
                     .ejecutar(QStringLiteral("SELECT id_desempeno AS d FROM indicador WHERE nombre = '%1'").arg(nombre))
                     .texto("d"),
                 QStringLiteral("2"));
    }
    // A deleted indicator's history is in NFC too: it comes back so.
    Conexion().ejecutar(comando_exec("Restaurar_indicador", {"Pan\u00E9"}));
    QVERIFY(columna(comando_consulta("Indicadores"), "Indicador").contains(QStringLiteral("Pan\u00E9")));
    // Another client cannot store an invisible character either.
    QVERIFY(!psql(base, {"-c", "INSERT INTO indicador (nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad) "
                               "VALUES ('Caf' || U&'\\202E' || 'e', 1, 1, 1, 1)"}));
    Conexion().cerrar();
    QVERIFY(psql("postgres", {"-c", "DROP DATABASE " + base, "-c", "DROP ROLE " + edita + ", " + lee + ", " + dueño}));
}

// A server database stamped by a newer version is refused, naming it.
void TstMigracion::postgres_version_nueva()
{
    if (dsn_postgres().isEmpty())
        QFAIL("no PostgreSQL server (VELMORA_PG_DSN): run the tests through scripts/con_postgres.sh");
    Conexion().cerrar();
    const BasePostgres base(QStringLiteral("velmora_nueva_%1").arg(QCoreApplication::applicationPid()));
    Conexion().abrir(QStringLiteral("FILEDSN=") + base.dsn());
    Conexion().ejecutar("COMMENT ON TABLE indicador IS 'Velmora: versión de la base 7'");
    Conexion().cerrar();
    try {
        Conexion().abrir(QStringLiteral("FILEDSN=") + base.dsn());
        QFAIL("a newer version's database was opened");
    } catch (const ErrorBaseDatos& e) {
        QCOMPARE(e.numero(), QString(kErrorVersionNueva));
        QCOMPARE(e.texto(), QStringLiteral("La base de datos \"velmora_nueva_%1\" es de una versión más nueva de "
                                           "Velmora (versión 7 de la base; este programa llega a la 1). No se abre, "
                                           "para no estropearla: use la versión del programa que la creó o una más "
                                           "nueva.")
                                .arg(QCoreApplication::applicationPid()));
    }
    QVERIFY(!Conexion().abierta());
}

QTEST_GUILESS_MAIN(TstMigracion)
#include "tst_migracion.moc"
