// SPDX-License-Identifier: GPL-3.0-or-later
#include "soporte.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"

#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QProcess>
#include <QSettings>
#include <QWidget>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

using namespace velmora;

namespace {

// Each test process keeps the program's settings (remembered window sizes
// and places) in a folder of its own, never in the user's.
void configuracion_temporal()
{
    static QTemporaryDir carpeta;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, carpeta.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, carpeta.path());
}
Q_CONSTRUCTOR_FUNCTION(configuracion_temporal)

} // namespace

QString carpeta_configuracion()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("velmora"), QStringLiteral("velmora"))
        .fileName();
}

bool en_postgres()
{
    return qEnvironmentVariable("VELMORA_MOTOR") == QStringLiteral("postgres");
}

BasePrueba::BasePrueba(const QString& plantilla)
{
    QVERIFY2(carpeta_.isValid(), "no temporary folder");
    if (en_postgres()) {
        if (plantilla != ruta_base_demo())
            qFatal("a copy of %s on PostgreSQL", qPrintable(plantilla));
        if (dsn_postgres().isEmpty())
            qFatal("no PostgreSQL server (VELMORA_PG_DSN): run the tests through scripts/con_postgres.sh");
        static int numero = 0;
        postgres_ = std::make_unique<BasePostgres>(
            QStringLiteral("velmora_prueba_%1_%2").arg(QCoreApplication::applicationPid()).arg(++numero));
        dsn_ = postgres_->dsn();
        return;
    }
    archivo_ = carpeta_.filePath(QStringLiteral("prueba.db"));
    dsn_ = carpeta_.filePath(QStringLiteral("conexion.dsn"));
    if (!QFile::copy(plantilla, archivo_))
        qFatal("cannot copy %s", qPrintable(plantilla));
    QFile::setPermissions(archivo_, QFile::ReadOwner | QFile::WriteOwner);
    escribir_origen(dsn_, archivo_);
}

void escribir_origen(const QString& dsn, const QString& base)
{
    // The program's own writer, so tests read rows the way users do.
    QProcess p;
    p.start(QStringLiteral(VELMORA_ESCRIBIR_ORIGEN), {dsn, base});
    if (!p.waitForFinished() || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qFatal("cannot write %s: %s", qPrintable(dsn), p.readAllStandardError().constData());
}

QString BasePrueba::ruta_base_demo()
{
    return QStringLiteral(VELMORA_BASE_DEMO);
}

void BasePrueba::abrir() const
{
    Conexion().abrir(QStringLiteral("FILEDSN=") + dsn_);
}

RegistroMensajes::RegistroMensajes()
{
    anterior_ = establecer_mensajero([this](const QString& texto, const QString& titulo, IconoMensaje icono) {
        mensajes.append({texto, titulo, icono});
    });
    pregunta_anterior_ = establecer_preguntador([this](const QString& texto) {
        preguntas.append(texto);
        return respuesta;
    });
}

RegistroMensajes::~RegistroMensajes()
{
    establecer_mensajero(anterior_);
    establecer_preguntador(pregunta_anterior_);
}

QStringList RegistroMensajes::textos() const
{
    QStringList t;
    for (const auto& m : mensajes)
        t << m.texto;
    return t;
}

void guardar_captura(QWidget* ventana, const QString& nombre)
{
    const QString carpeta = QStringLiteral(VELMORA_SCREENSHOTS);
    QDir().mkpath(carpeta);
    ventana->grab().save(QDir(carpeta).filePath(nombre + QStringLiteral(".png")));
}

QString dsn_postgres()
{
    return qEnvironmentVariable("VELMORA_PG_DSN");
}

namespace {

// A user id with no account on this machine, so the child owns nothing of
// anyone's.
uint usuario_desechable()
{
    for (uint uid = 61000; uid < 62000; ++uid)
        if (!::getpwuid(uid))
            return uid;
    qFatal("no free user id");
    return 0;
}

} // namespace

bool correr_como(Usuario quien)
{
    const bool root = ::geteuid() == 0;
    if ((quien == Usuario::Root) == root)
        return true;
    QStringList programa;
    if (quien == Usuario::SinDerechos) {
        const QString uid = QString::number(usuario_desechable());
        programa = {QStringLiteral("setpriv"), QStringLiteral("--reuid=") + uid, QStringLiteral("--regid=") + uid,
                    QStringLiteral("--clear-groups"), QStringLiteral("--")};
    } else {
        programa = {QStringLiteral("unshare"), QStringLiteral("--user"), QStringLiteral("--map-root-user"),
                    QStringLiteral("--mount"), QStringLiteral("--")};
    }
    QString caso = QString::fromUtf8(QTest::currentTestFunction());
    if (QTest::currentDataTag())
        caso += u':' + QString::fromUtf8(QTest::currentDataTag());
    programa << QCoreApplication::applicationFilePath() << caso;
    QProcess hijo;
    hijo.setProcessChannelMode(QProcess::MergedChannels);
    // Folders the child may write in: the test's own are root's.
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("TMPDIR"), QDir::tempPath());
    hijo.setProcessEnvironment(entorno);
    hijo.start(programa.takeFirst(), programa);
    const bool terminado = hijo.waitForFinished(120000);
    const QString salida = QString::fromUtf8(hijo.readAll());
    const QString explicacion = QStringLiteral("the case as %1 (%2):\n%3")
                                    .arg(quien == Usuario::Root ? QStringLiteral("root") : QStringLiteral("a user without rights"),
                                         programa.join(u' '), salida);
    // The child must have run the case and passed it: nothing skipped, nothing failed.
    const bool paso = terminado && hijo.exitStatus() == QProcess::NormalExit && hijo.exitCode() == 0
                      && salida.contains(QStringLiteral("PASS   : ")) && salida.contains(QStringLiteral(" 0 failed, 0 skipped"))
                      && salida.contains(QStringLiteral("::") + caso.section(u':', 0, 0) + u'(');
    QTest::qVerify(paso, "correr_como", qPrintable(explicacion), __FILE__, __LINE__);
    return false;
}

namespace {

QString leer_dsn_postgres()
{
    QFile f(dsn_postgres());
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(dsn_postgres()));
    return QString::fromUtf8(f.readAll());
}

QString base_de(const QString& origen)
{
    for (const QString& l : origen.split(u'\n'))
        if (l.startsWith(QStringLiteral("Database="), Qt::CaseInsensitive))
            return l.section(u'=', 1).trimmed();
    return {};
}

void en_mantenimiento(const QString& dsn, const QString& sentencia)
{
    Conexion().abrir(QStringLiteral("FILEDSN=") + dsn);
    Conexion().ejecutar(sentencia);
    Conexion().cerrar();
}

} // namespace

QString escribir_dsn_postgres(const QString& carpeta, const QString& base)
{
    QStringList lineas = leer_dsn_postgres().split(u'\n');
    for (QString& l : lineas)
        if (l.startsWith(QStringLiteral("Database="), Qt::CaseInsensitive))
            l = QStringLiteral("Database=") + base;
    const QString ruta = QDir(carpeta).filePath(base + QStringLiteral(".dsn"));
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        qFatal("cannot write %s", qPrintable(ruta));
    f.write(lineas.join(u'\n').toUtf8());
    return ruta;
}

BasePostgres::BasePostgres(const QString& nombre) : nombre_(nombre)
{
    const QString plantilla = base_de(leer_dsn_postgres());
    mantenimiento_ = escribir_dsn_postgres(carpeta_.path(), QStringLiteral("postgres"));
    dsn_ = escribir_dsn_postgres(carpeta_.path(), nombre_);
    en_mantenimiento(mantenimiento_, QStringLiteral("DROP DATABASE IF EXISTS ") + nombre_);
    en_mantenimiento(mantenimiento_, QStringLiteral("CREATE DATABASE %1 TEMPLATE \"%2\"").arg(nombre_, plantilla));
}

BasePostgres::~BasePostgres()
{
    try {
        en_mantenimiento(mantenimiento_, QStringLiteral("DROP DATABASE IF EXISTS ") + nombre_);
    } catch (const ErrorBaseDatos&) {
        // A database left behind dies with the test script's server.
    }
}

void procedimiento_prueba(const QString& nombre, int argumentos, const QString& consulta, const QList<int>& parametros)
{
    if (Conexion().dialecto() != Dialecto::PostgreSQL) {
        QStringList lista;
        for (int p : parametros)
            lista << QString::number(p);
        Conexion().ejecutar(QStringLiteral("DELETE FROM procedimientos WHERE nombre = ") + entre_comillas(nombre));
        Conexion().ejecutar(QStringLiteral("INSERT INTO procedimientos (nombre, paso, sentencia, parametros) "
                                           "VALUES (%1, 1, %2, %3)")
                                .arg(entre_comillas(nombre), entre_comillas(consulta), entre_comillas(lista.join(u','))));
        return;
    }
    // The i-th ? becomes the argument it names; in the view, a Null text.
    QString cuerpo, vista;
    int i = 0;
    for (const QChar c : consulta) {
        if (c != u'?') {
            cuerpo += c;
            vista += c;
            continue;
        }
        if (i >= parametros.size())
            qFatal("%s: more ? than parameters", qPrintable(nombre));
        cuerpo += QStringLiteral("$%1").arg(parametros[i++]);
        vista += QStringLiteral("CAST(NULL AS text)");
    }
    const QString tipo = QStringLiteral("\"%1_filas\"").arg(nombre);
    QStringList textos(argumentos, QStringLiteral("text"));
    Conexion().ejecutar(QStringLiteral("DROP FUNCTION IF EXISTS \"%1\"").arg(nombre));
    Conexion().ejecutar(QStringLiteral("DROP VIEW IF EXISTS ") + tipo);
    Conexion().ejecutar(QStringLiteral("CREATE VIEW %1 AS %2").arg(tipo, vista));
    Conexion().ejecutar(QStringLiteral("CREATE FUNCTION \"%1\"(%2) RETURNS SETOF %3 LANGUAGE sql STABLE AS %4")
                            .arg(nombre, textos.join(QStringLiteral(", ")), tipo, entre_comillas(cuerpo)));
}

QStringList meses_guardados(const QString& indicador, const QString& anio)
{
    QStringList filas;
    for (Resultado r = Conexion().ejecutar(comando_exec(QStringLiteral("Consulta_modificar"), {indicador, anio}));
         !r.eof(); r.siguiente())
        filas << r.texto(QStringLiteral("Valor")) + u'|' + r.texto(QStringLiteral("Meta C/P")) + u'|'
                + r.texto(QStringLiteral("Nivel Base")) + u'|' + r.texto(QStringLiteral("Id1"));
    return filas;
}
