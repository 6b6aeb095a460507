#include "data/origen_datos.h"

#include "data/errores.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace velmora {

namespace {

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

// A key the driver takes as one keyword: letters, digits and underscores,
// from a letter. Anything else could split into several attributes.
bool palabra_clave(const QString& nombre)
{
    if (nombre.isEmpty() || !nombre[0].isLetter() || nombre[0].unicode() > 0x7f)
        return false;
    return std::all_of(nombre.cbegin(), nombre.cend(), [](QChar c) {
        return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'_');
    });
}

// A value inside braces with every closing brace doubled, as connection
// strings quote: a ; or a brace in it can never start another attribute.
QString entre_llaves(const QString& valor)
{
    QString v = valor;
    v.replace(u'}', QStringLiteral("}}"));
    return u'{' + v + u'}';
}

// The file's lines, each ended by LF, CRLF or CR, so that a carriage
// return is a line end and never vanishes from the middle of a value.
QStringList lineas(const QString& texto)
{
    QStringList r;
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (texto[i] != u'\n' && texto[i] != u'\r')
            continue;
        r << texto.mid(inicio, i - inicio);
        if (texto[i] == u'\r' && i + 1 < texto.size() && texto[i + 1] == u'\n')
            ++i;
        inicio = i + 1;
    }
    if (inicio < texto.size())
        r << texto.mid(inicio);
    return r;
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
    if (!QFileInfo(ruta).isFile() || !archivo.open(QIODevice::ReadOnly)) {
        throw ErrorBaseDatos(kErrorSinOrigen,
                             QStringLiteral("No se puede leer el origen de datos \"%1\": %2")
                                 .arg(ruta, QFileInfo::exists(ruta)
                                                ? archivo.errorString()
                                                : QStringLiteral("el archivo no existe")));
    }
    QString texto = QString::fromUtf8(archivo.readAll());
    if (texto.startsWith(u'\uFEFF'))
        texto.remove(0, 1);
    const auto rechazo = [&ruta](qsizetype numero, const QString& motivo) {
        return ErrorBaseDatos(kErrorSinOrigen, QStringLiteral("El origen de datos \"%1\", línea %2: %3")
                                              .arg(ruta, QString::number(numero), motivo));
    };
    bool en_odbc = false;
    bool hay_seccion = false;
    QString driver;
    QString clave;
    QStringList pares;
    const QStringList todas = lineas(texto);
    for (qsizetype n = 0; n < todas.size(); ++n) {
        const QString linea = todas[n].trimmed();
        if (linea.isEmpty() || linea.startsWith(u';') || linea.startsWith(u'#'))
            continue;
        if (linea.startsWith(u'[')) {
            en_odbc = linea.compare(QStringLiteral("[ODBC]"), Qt::CaseInsensitive) == 0;
            hay_seccion = hay_seccion || en_odbc;
            continue;
        }
        if (!en_odbc)
            continue;
        // A control character would cut the text the driver reads.
        if (std::any_of(linea.cbegin(), linea.cend(),
                        [](QChar c) { return c.category() == QChar::Other_Control && c != u'\t'; }))
            throw rechazo(n + 1, QStringLiteral("tiene un carácter de control"));
        const qsizetype igual = linea.indexOf(u'=');
        const QString nombre = linea.left(igual).trimmed();
        // Never echo a line without "=": it may well be a password.
        if (igual < 0)
            throw rechazo(n + 1, QStringLiteral("no tiene la forma clave=valor"));
        if (!palabra_clave(nombre))
            throw rechazo(n + 1, QStringLiteral("\"%1\" no es una palabra clave").arg(nombre));
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
        throw ErrorBaseDatos(kErrorSinOrigen,
                             QStringLiteral("El origen de datos \"%1\" no tiene la sección [ODBC]")
                                 .arg(ruta));
    }
    if (driver.isEmpty()) {
        throw ErrorBaseDatos(kErrorSinOrigen,
                             QStringLiteral("El origen de datos \"%1\" no indica el DRIVER")
                                 .arg(ruta));
    }
    // A file holding a password is for its owner's eyes only.
    const QFileDevice::Permissions ajenos = QFileDevice::ReadGroup | QFileDevice::WriteGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther;
    if (!clave.isEmpty() && (archivo.permissions() & ajenos))
        archivo.setPermissions(archivo.permissions() & ~ajenos);
    QString cadena = QStringLiteral("DRIVER=") + entre_llaves(driver) + u';';
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
    // Only the password's own place: the same word elsewhere (a user name
    // equal to it) stays, or the mask itself would tell the password.
    if (clave.isEmpty())
        return texto;
    static const QRegularExpression lugar(
        QStringLiteral("(\\b(?:PWD|Password)\\s*=\\s*)(\\{(?:[^}]|\\}\\})*\\}|[^;\\s]*)"),
        QRegularExpression::CaseInsensitiveOption);
    texto.replace(lugar, QStringLiteral("\\1****"));
    return texto;
}

} // namespace velmora
