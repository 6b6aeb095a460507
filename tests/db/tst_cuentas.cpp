// SPDX-License-Identifier: GPL-3.0-or-later
// Accounts and rights on the PostgreSQL server: a database loaded by
// cargar.sh as an owner that is no superuser, a reader and an editor added
// by cuenta.sh, each logging in through the ODBC driver as the program
// does. Whatever a client tries outside the store procedures, the server
// refuses it (SQLSTATE 42501) and nothing changes; the history names the
// account; the program's own login tells a reader at once.

#include "app/terminar.h"
#include "app/ventanas.h"
#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"
#include "data/permisos.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/registro_ventanas.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

using namespace velmora;

namespace {

const QString kSufijo = QString::number(QCoreApplication::applicationPid());
const QString kBase = QStringLiteral("velmora_cuentas_") + kSufijo;
const QString kDueño = QStringLiteral("dueno_") + kSufijo;
const QString kLectora = QStringLiteral("lectora_") + kSufijo;
const QString kEditor = QStringLiteral("editor_") + kSufijo;

QString servidor()
{
    QFile f(dsn_postgres());
    if (f.open(QIODevice::ReadOnly))
        for (const QString& linea : QString::fromUtf8(f.readAll()).split(u'\n'))
            if (linea.startsWith(QStringLiteral("Servername=")))
                return linea.mid(11).trimmed();
    return {};
}

QString cadena(const QString& cuenta, const QString& base = kBase)
{
    return QStringLiteral("host=%1 port=5432 user=%2 dbname=%3").arg(servidor(), cuenta, base);
}

struct Salida {
    bool bien = false;
    QString texto; // standard output and error
};

Salida correr(const QString& programa, const QStringList& argumentos)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programa, argumentos);
    const bool fin = p.waitForFinished(120000);
    return {fin && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, QString::fromUtf8(p.readAll())};
}

// psql as `cuenta` on the test database.
Salida psql(const QString& cuenta, const QString& sql, const QString& base = kBase)
{
    return correr(QStringLiteral("psql"), {"-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-d",
                                           cadena(cuenta, base), "-c", sql});
}

QString guion(const QString& nombre)
{
    return QStringLiteral(VELMORA_DB) + "/postgresql/" + nombre;
}

// The shipped data source, logging in as `cuenta` on the test database.
QString escribir_dsn(const QString& carpeta, const QString& cuenta)
{
    QFile f(dsn_postgres());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString texto = QString::fromUtf8(f.readAll());
    texto.replace(QRegularExpression(QStringLiteral("(?m)^Username=.*$")), "Username=" + cuenta);
    texto.replace(QRegularExpression(QStringLiteral("(?m)^Database=.*$")), "Database=" + kBase);
    const QString ruta = carpeta + "/" + cuenta + ".dsn";
    QFile d(ruta);
    if (!d.open(QIODevice::WriteOnly) || d.write(texto.toUtf8()) < 0)
        return {};
    return ruta;
}

// Everything a client could change or remove, read by the superuser: the
// rows of every table, the triggers' states and the tables themselves.
QString huella()
{
    return psql(QStringLiteral("velmora"),
                QStringLiteral(
                    "SELECT md5(concat_ws('/', (SELECT string_agg(concat_ws('|', id, valor, meta, linea_base), ',' "
                    "ORDER BY id) FROM registro), (SELECT string_agg(concat_ws('|', id, nombre, id_tipo, "
                    "id_perspectiva, id_desempeno, id_unidad), ',' ORDER BY id) FROM indicador), "
                    "(SELECT string_agg(concat_ws('|', id_indicador, id_departamento), ',' ORDER BY 1) FROM "
                    "indicador_departamento), (SELECT string_agg(concat_ws('|', id, usuario_bd, tipo_usuario, "
                    "indicador, campo, antes, despues), ',' ORDER BY id) FROM historial), (SELECT "
                    "string_agg(tgname || tgenabled, ',' ORDER BY tgname) FROM pg_trigger WHERE NOT "
                    "tgisinternal), (SELECT string_agg(relname, ',' ORDER BY relname) FROM pg_class WHERE "
                    "relnamespace = 'public'::regnamespace)))"))
        .texto.trimmed();
}

} // namespace

class TstCuentas final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void permisos();
    void intentos_data();
    void intentos();
    void guardados_del_editor();
    void guardados_de_la_lectora_data();
    void guardados_de_la_lectora();
    void el_guardado_se_niega_aun_con_permiso();
    void cuenta_sh_cambia_de_grupo();
    void login_de_lectora();
    void login_de_editor();

private:
    void abrir(const QString& cuenta) { Conexion().abrir(QStringLiteral("FILEDSN=") + dsn_.value(cuenta)); }

    QTemporaryDir carpeta_;
    QHash<QString, QString> dsn_;
};

void TstCuentas::initTestCase()
{
    if (dsn_postgres().isEmpty())
        QFAIL("no PostgreSQL server (VELMORA_PG_DSN): run the tests through scripts/con_postgres.sh");
    // The database as the README sets it up: an owner that may create roles
    // and nothing more, which loads everything and adds the people.
    for (const QString& sql : {"CREATE ROLE " + kDueño + " LOGIN CREATEROLE",
                               "CREATE DATABASE " + kBase + " OWNER " + kDueño}) {
        const Salida s = psql(QStringLiteral("velmora"), sql, QStringLiteral("postgres"));
        QVERIFY2(s.bien, qPrintable(s.texto));
    }
    Salida s = correr(guion("cargar.sh"), {cadena(kDueño)});
    QVERIFY2(s.bien, qPrintable(s.texto));
    for (const auto& [cuenta, grupo] : {std::pair{kLectora, QStringLiteral("lectura")}, {kEditor, "edicion"}}) {
        s = correr(guion("cuenta.sh"), {cadena(kDueño), cuenta, grupo});
        QVERIFY2(s.bien, qPrintable(s.texto));
        dsn_[cuenta] = escribir_dsn(carpeta_.path(), cuenta);
        QVERIFY(!dsn_[cuenta].isEmpty());
    }
    dsn_[kDueño] = escribir_dsn(carpeta_.path(), kDueño);
    QCOMPARE(psql(QStringLiteral("velmora"),
                  "SELECT string_agg(c.rolname || ':' || g.rolname, ',' ORDER BY c.rolname) FROM pg_auth_members m "
                  "JOIN pg_roles g ON g.oid = m.roleid JOIN pg_roles c ON c.oid = m.member WHERE c.rolname IN ('"
                      + kLectora + "', '" + kEditor + "')")
                 .texto.trimmed(),
             kEditor + ":velmora_edicion," + kLectora + ":velmora_lectura");
}

void TstCuentas::cleanupTestCase()
{
    Conexion().cerrar();
    if (dsn_postgres().isEmpty())
        return;
    psql(QStringLiteral("velmora"), "DROP DATABASE IF EXISTS " + kBase + " WITH (FORCE)", QStringLiteral("postgres"));
    psql(QStringLiteral("velmora"), QStringLiteral("DROP ROLE IF EXISTS %1, %2, %3").arg(kLectora, kEditor, kDueño),
         QStringLiteral("postgres"));
}

void TstCuentas::cleanup()
{
    RegistroVentanas::instancia().descargar_todas();
    Conexion().cerrar();
}

void TstCuentas::permisos()
{
    for (const auto& [cuenta, modifica] : {std::pair{kLectora, false}, {kEditor, true}, {kDueño, true}}) {
        abrir(cuenta);
        const PermisosCuenta p = permisos_cuenta();
        QCOMPARE(p.cuenta, cuenta);
        QCOMPARE(p.modificar, modifica);
    }
    // An embedded file has no accounts: whoever may write it, may change.
    BasePrueba sqlite;
    sqlite.abrir();
    QVERIFY(permisos_cuenta().modificar);
}

// What a client other than the program tries, each as the reader and as
// the editor: the server's permission error, and nothing changed.
void TstCuentas::intentos_data()
{
    QTest::addColumn<QString>("cuenta");
    QTest::addColumn<QStringList>("sentencias");
    const QList<std::pair<const char*, QStringList>> intentos = {
        {"Sesion_programa Administrador, luego modificar",
         {comando_exec("Sesion_programa", {"Administrador", "x"}), comando_modificar("1", "2", "3", "229")}},
        {"quitar el trigger del historial", {"ALTER TABLE registro DISABLE TRIGGER historial_registro"}},
        {"quitar los triggers propios", {"ALTER TABLE registro DISABLE TRIGGER USER"}},
        {"UPDATE directo", {"UPDATE registro SET valor = 1 WHERE id = 229"}},
        {"INSERT directo", {"INSERT INTO indicador (nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad) "
                            "VALUES ('Intruso', 1, 1, 1, 1)"}},
        {"DELETE directo", {"DELETE FROM indicador WHERE nombre = 'Margen operativo'"}},
        {"bloquear filas", {"SELECT id FROM registro WHERE id = 229 FOR UPDATE"}},
        {"DELETE FROM historial", {"DELETE FROM historial"}},
        {"UPDATE del historial", {"UPDATE historial SET usuario_bd = 'otro'"}},
        {"INSERT en el historial", {"INSERT INTO historial (indicador, campo, antes, despues) "
                                    "VALUES ('Margen operativo', 'Valor', 1, 2)"}},
        {"TRUNCATE historial", {"TRUNCATE historial"}},
        {"DROP TABLE historial CASCADE", {"DROP TABLE historial CASCADE"}},
        {"ALTER TABLE historial", {"ALTER TABLE historial DROP COLUMN usuario_bd"}},
        {"cambiar un procedimiento", {"CREATE OR REPLACE FUNCTION eliminar(p text) RETURNS void "
                                      "LANGUAGE sql AS 'SELECT NULL'"}},
    };
    for (const QString& cuenta : {kLectora, kEditor})
        for (const auto& [nombre, sentencias] : intentos) {
            // The editor may run the stores: only the reader is refused those.
            if (cuenta == kEditor && sentencias.size() > 1)
                continue;
            QTest::addRow("%s: %s", cuenta.startsWith(u'l') ? "lectora" : "editor", nombre)
                << cuenta << sentencias;
        }
}

void TstCuentas::intentos()
{
    QFETCH(QString, cuenta);
    QFETCH(QStringList, sentencias);
    const QString antes = huella();
    QVERIFY(!antes.isEmpty());
    abrir(cuenta);
    for (int i = 0; i + 1 < sentencias.size(); ++i)
        Conexion().ejecutar(sentencias[i]);
    try {
        Conexion().ejecutar(sentencias.last());
        QFAIL("the server let it through");
    } catch (const ErrorBaseDatos& e) {
        QCOMPARE(e.estado(), QString(kErrorSinPermiso));
        // A refusal the program shows and goes on from, never its end.
        QVERIFY(dynamic_cast<const RechazoDatos*>(&e));
    }
    Conexion().cerrar();
    QCOMPARE(huella(), antes);
}

// The editor's stores land, and the history names the editor's account
// with the user type the program gave.
void TstCuentas::guardados_del_editor()
{
    abrir(kEditor);
    QVERIFY(Conexion().fijar_sesion(comando_exec("Sesion_programa", {"Administrador", "x"})));
    {
        Transaccion t(Conexion());
        QCOMPARE(Conexion().ejecutar(comando_exec("Consulta_registro", {"229"})).texto("Indicador"),
                 QStringLiteral("Margen operativo"));
        Conexion().ejecutar(comando_modificar("8", "14", "15", "229"));
        t.confirmar();
    }
    Conexion().ejecutar(comando_exec("Nuevo_Indicador", {"Indicador del editor", "1"}));
    Conexion().ejecutar(comando_exec("Nuevo_registro", {"21", "Enero", "Indicador del editor", "2", "3", "1", "2",
                                                        "1", "2", "3"}));
    Conexion().ejecutar(comando_exec("eliminar", {"Indicador del editor"}));
    Conexion().ejecutar(comando_exec("Restaurar_indicador", {"Indicador del editor"}));
    QCOMPARE(columna(comando_exec("Consulta_KPI", {"Indicador del editor", "Enero", "2025"}), "Valor"),
             QStringList{"3"});

    const auto quienes = [](const QString& indicador) {
        QStringList q;
        for (Resultado r = Conexion().ejecutar(comando_exec("Consulta_historial", {indicador})); !r.eof();
             r.siguiente())
            q << r.texto("Usuario") + "|" + r.texto("Tipo de usuario") + "|" + r.texto("Campo");
        q.removeDuplicates();
        return q;
    };
    QCOMPARE(quienes("Margen operativo"), QStringList{kEditor + "|Administrador|Valor"});
    QVERIFY(!quienes("Indicador del editor").isEmpty());
    for (const QString& q : quienes("Indicador del editor"))
        QVERIFY2(q.startsWith(kEditor + "|Administrador|"), qPrintable(q));
    Conexion().cerrar();

    // The owner's own change names the owner: no account passes for another.
    abrir(kDueño);
    Conexion().ejecutar(comando_modificar("8", "14,5", "15", "229"));
    QCOMPARE(quienes("Margen operativo").first(), kDueño + "||Valor");
    // The reader reads that history, Historial's list and the reports.
    abrir(kLectora);
    QCOMPARE(quienes("Margen operativo"), (QStringList{kDueño + "||Valor", kEditor + "|Administrador|Valor"}));
    QVERIFY(columna(comando_exec("Indicadores_historial"), "Indicador").contains("Indicador del editor"));
    QVERIFY(Conexion().ejecutar(comando_exec("Ten_Des", {"1", "2024", "Margen operativo"})).campo("Valor").toDouble()
            == 14.5);
}

void TstCuentas::guardados_de_la_lectora_data()
{
    QTest::addColumn<QString>("comando");
    QTest::newRow("modificar") << comando_modificar("1", "2", "3", "229");
    QTest::newRow("Consulta_registro") << comando_exec("Consulta_registro", {"229"});
    QTest::newRow("Nuevo_Indicador") << comando_exec("Nuevo_Indicador", {"De la lectora", "1"});
    QTest::newRow("Nuevo_registro") << comando_exec("Nuevo_registro", {"21", "Enero", "Margen operativo", "2", "3",
                                                                       "1", "2", "1", "2", "3"});
    QTest::newRow("eliminar") << comando_exec("eliminar", {"Margen operativo"});
    QTest::newRow("Restaurar_indicador") << comando_exec("Restaurar_indicador", {"Ausentismo"});
}

void TstCuentas::guardados_de_la_lectora()
{
    QFETCH(QString, comando);
    const QString antes = huella();
    abrir(kLectora);
    QVERIFY(Conexion().fijar_sesion(comando_exec("Sesion_programa", {"Administrador", "x"})));
    try {
        Conexion().ejecutar(comando);
        QFAIL("a reader ran a store");
    } catch (const RechazoDatos& e) {
        QCOMPARE(e.estado(), QString(kErrorSinPermiso));
        QVERIFY2(e.texto().contains(QStringLiteral("solo puede consultar")), qPrintable(e.texto()));
    }
    Conexion().cerrar();
    QCOMPARE(huella(), antes);
}

// A right given by mistake (every function to PUBLIC, as PostgreSQL does
// by default) still lets no reader change anything: the store asks itself.
void TstCuentas::el_guardado_se_niega_aun_con_permiso()
{
    const QString antes = huella();
    QVERIFY(psql(kDueño, QStringLiteral("GRANT EXECUTE ON FUNCTION modificar(text, text, text, text) TO PUBLIC")).bien);
    const Salida s = psql(kLectora, QStringLiteral("SELECT modificar('1', '2', '3', '229')"));
    QVERIFY(psql(kDueño, QStringLiteral("REVOKE EXECUTE ON FUNCTION modificar(text, text, text, text) FROM PUBLIC")).bien);
    QVERIFY(!s.bien);
    QVERIFY2(s.texto.contains("La cuenta " + kLectora + " de la base de datos solo puede consultar"),
             qPrintable(s.texto));
    QCOMPARE(huella(), antes);
}

void TstCuentas::cuenta_sh_cambia_de_grupo()
{
    const auto modifica = [this](const QString& cuenta) {
        abrir(cuenta);
        const bool m = permisos_cuenta().modificar;
        Conexion().cerrar();
        return m;
    };
    QVERIFY(correr(guion("cuenta.sh"), {cadena(kDueño), kLectora, "edicion"}).bien);
    QVERIFY(modifica(kLectora));
    QVERIFY(correr(guion("cuenta.sh"), {cadena(kDueño), kLectora, "lectura"}).bien);
    QVERIFY(!modifica(kLectora));
    QVERIFY(correr(guion("cuenta.sh"), {cadena(kDueño), kLectora, "ninguno"}).bien);
    // In no group: not even reading, and the program goes on after saying so.
    abrir(kLectora);
    QVERIFY_THROWS_EXCEPTION(RechazoDatos, Conexion().ejecutar(comando_consulta("Indicadores")));
    Conexion().cerrar();
    QVERIFY(correr(guion("cuenta.sh"), {cadena(kDueño), kLectora, "lectura"}).bien);
    QVERIFY(!modifica(kLectora));
    QVERIFY(!correr(guion("cuenta.sh"), {cadena(kDueño), kLectora, "todo"}).bien);
}

// The program itself on a reader's account: "Administrador" is told at
// login that the account only reads; Historial, the reports and the trend
// work; a save is a message and the program goes on.
void TstCuentas::login_de_lectora()
{
    // A history to read, whatever ran before.
    QVERIFY(psql(kDueño, QStringLiteral("SELECT modificar('8', '14', '15', '229')")).bien);
    abrir(kLectora);
    registrar_ventanas();
    int terminado = 0;
    const Terminador anterior = establecer_terminador([&] { ++terminado; });
    RegistroMensajes mensajes;
    RegistroVentanas& registro = RegistroVentanas::instancia();
    QWidget* login = registro.mostrar("FET049TF");
    elegir(control<QComboBox>(login, "usuario"), "Administrador");
    teclear(control<QLineEdit>(login, "contraseña"), "mirtovask");
    pulsar(login, "cargar");
    QCOMPARE(mensajes.textos(),
             QStringList{"La cuenta " + kLectora
                         + " de la base de datos solo puede consultar: los reportes, la tendencia, la exportación "
                           "y el historial funcionan, pero no se guardará ningún cambio"});
    QWidget* menu = registro.ventana("Principal");
    QVERIFY(menu && menu->isVisible());
    mensajes.limpiar();

    pulsar(menu, "cmd_historial");
    QWidget* historial = registro.ventana("Historial");
    elegir(control<QComboBox>(historial, "Combo_indicador"), "Margen operativo");
    pulsar(historial, "boton_consulta");
    QCOMPARE(mensajes.textos(), QStringList());

    pulsar(menu, "cmd_tende");
    QWidget* v = registro.ventana("Tendencia_y_Desempeño");
    elegir(v, "Cmb_Tipo_Indicador_TendenciasyDesempeño", "Principal      ");
    elegir(v, "Cmb_Año_TendenciasyDesempeño", "2009 ");
    elegir(v, "Cmb_KPI_TendenciasyDesempeño", (QStringLiteral("Margen operativo") + QString(15, u' ')).left(100));
    pulsar(v, "Button_LLenar_TendeciasyDesempeño");
    pulsar(v, "Button_Graficar");
    QCOMPARE(mensajes.textos(), QStringList());

    const QString antes = huella();
    const QString sin_permiso = "La base de datos no permite esto a esta cuenta, que solo puede consultar; no se "
                                "guardó nada. Para cambiar datos, pida al administrador de la base de datos el "
                                "grupo velmora_edicion";
    pulsar(menu, "boton_nuevo");
    QWidget* nuevo = registro.mostrar("Nuevo");
    teclear(control<QLineEdit>(nuevo, "Text_nuevo_indicador"), "De la lectora");
    elegir(nuevo, "Combo_nuevo_indicador", "Principal      ");
    pulsar(nuevo, "Command1");
    pulsar(historial, "boton_restaurar");
    QCOMPARE(mensajes.textos(), (QStringList{sin_permiso, sin_permiso}));
    QCOMPARE(terminado, 0);
    QCOMPARE(huella(), antes);
    establecer_terminador(anterior);
}

// An editor's login says nothing more than before.
void TstCuentas::login_de_editor()
{
    abrir(kEditor);
    registrar_ventanas();
    RegistroMensajes mensajes;
    QWidget* login = RegistroVentanas::instancia().mostrar("FET049TF");
    elegir(control<QComboBox>(login, "usuario"), "Administrador");
    teclear(control<QLineEdit>(login, "contraseña"), "mirtovask");
    pulsar(login, "cargar");
    QCOMPARE(mensajes.textos(), QStringList());
    QVERIFY(RegistroVentanas::instancia().ventana("Principal")->isVisible());
}

QTEST_MAIN(TstCuentas)
#include "tst_cuentas.moc"
