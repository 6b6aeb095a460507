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

BasePrueba::BasePrueba(const QString& plantilla)
{
    QVERIFY2(carpeta_.isValid(), "no temporary folder");
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

QStringList meses_guardados(const QString& indicador, const QString& anio)
{
    QStringList filas;
    for (Resultado r = Conexion().ejecutar(comando_exec(QStringLiteral("Consulta_modificar"), {indicador, anio}));
         !r.eof(); r.siguiente())
        filas << r.texto(QStringLiteral("Valor")) + u'|' + r.texto(QStringLiteral("Meta C/P")) + u'|'
                + r.texto(QStringLiteral("Nivel Base")) + u'|' + r.texto(QStringLiteral("Id1"));
    return filas;
}
