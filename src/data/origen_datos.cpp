#include "data/origen_datos.h"

#include "data/errores.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

namespace {

const QString kSinOrigen = QStringLiteral("IM002");

QString carpeta_programa()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

// A value holding ; or braces must travel inside braces.
QString valor_seguro(const QString& valor)
{
    if (valor.contains(u';') || valor.contains(u'{') || valor.contains(u'}')
        || valor.startsWith(u' ') || valor.endsWith(u' ')) {
        QString v = valor;
        v.replace(u'}', QStringLiteral("}}"));
        return u'{' + v + u'}';
    }
    return valor;
}

} // namespace

QString ruta_origen_datos()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Archivos de programa\\Brelvo\\PROG\\conexion.dsn");
#else
    // A deployment may ship its data source beside the program; otherwise the
    // user's own one, which stays when the build folder is deleted. When
    // neither exists the error names the user's one, where set-up writes it.
    const QString junto = QDir(carpeta_programa()).filePath(QStringLiteral("conexion.dsn"));
    if (QFileInfo::exists(junto))
        return junto;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("velmora/conexion.dsn"));
#endif
}

QString ruta_exportar_por_defecto()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Archivos de programa\\Brelvo\\Exportar\\Datos.xlsx");
#else
    QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (carpeta.isEmpty())
        carpeta = QDir::homePath();
    // Created here so that the first export into the default folder works.
    QDir().mkpath(carpeta);
    return QDir(carpeta).filePath(QStringLiteral("Datos.xlsx"));
#endif
}

OrigenDatos leer_origen_datos(const QString& ruta)
{
    QFile archivo(ruta);
    if (!QFileInfo(ruta).isFile() || !archivo.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw ErrorBaseDatos(kSinOrigen,
                             QStringLiteral("No se puede leer el origen de datos \"%1\": %2")
                                 .arg(ruta, QFileInfo::exists(ruta)
                                                ? archivo.errorString()
                                                : QStringLiteral("el archivo no existe")));
    }
    QTextStream entrada(&archivo);
    bool en_odbc = false;
    bool hay_seccion = false;
    QString driver;
    QString clave;
    QStringList pares;
    while (!entrada.atEnd()) {
        const QString linea = entrada.readLine().trimmed();
        if (linea.isEmpty() || linea.startsWith(u';') || linea.startsWith(u'#'))
            continue;
        if (linea.startsWith(u'[')) {
            en_odbc = linea.compare(QStringLiteral("[ODBC]"), Qt::CaseInsensitive) == 0;
            hay_seccion = hay_seccion || en_odbc;
            continue;
        }
        if (!en_odbc)
            continue;
        const qsizetype igual = linea.indexOf(u'=');
        if (igual <= 0)
            continue;
        const QString nombre = linea.left(igual).trimmed();
        QString valor = linea.mid(igual + 1).trimmed();
        if (nombre.compare(QStringLiteral("DRIVER"), Qt::CaseInsensitive) == 0) {
            if (valor.startsWith(u'{') && valor.endsWith(u'}'))
                valor = valor.mid(1, valor.size() - 2);
            driver = valor;
            continue;
        }
        if (nombre.compare(QStringLiteral("PWD"), Qt::CaseInsensitive) == 0
            || nombre.compare(QStringLiteral("Password"), Qt::CaseInsensitive) == 0)
            clave = valor;
        pares << nombre + u'=' + valor_seguro(valor);
    }
    if (!hay_seccion) {
        throw ErrorBaseDatos(kSinOrigen,
                             QStringLiteral("El origen de datos \"%1\" no tiene la sección [ODBC]")
                                 .arg(ruta));
    }
    if (driver.isEmpty()) {
        throw ErrorBaseDatos(kSinOrigen,
                             QStringLiteral("El origen de datos \"%1\" no indica el DRIVER")
                                 .arg(ruta));
    }
    QString cadena = QStringLiteral("DRIVER={") + driver + QStringLiteral("};");
    for (const QString& par : pares)
        cadena += par + u';';
    return {cadena, clave};
}

OrigenDatos resolver_cadena(const QString& cadena_conexion)
{
    static const QString prefijo = QStringLiteral("FILEDSN=");
    if (cadena_conexion.startsWith(prefijo, Qt::CaseInsensitive))
        return leer_origen_datos(cadena_conexion.mid(prefijo.size()));
    return {cadena_conexion, {}};
}

QString ocultar_clave(QString texto, const QString& clave)
{
    if (!clave.isEmpty())
        texto.replace(clave, QStringLiteral("****"));
    return texto;
}
