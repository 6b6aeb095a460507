// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/origen_datos.h"

#include "data/cadena_conexion.h"
#include "data/errores.h"
#include "data/errores_sistema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmora {

namespace {

QString carpeta_programa()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
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

// Whether the driver is the SQLite one, whose connect reads neither braces
// nor a ';' inside a value.
bool driver_sqlite(const QString& driver)
{
    return driver.contains(QStringLiteral("sqlite"), Qt::CaseInsensitive);
}

QString nativa(const QString& ruta)
{
    return QDir::toNativeSeparators(ruta);
}

ErrorBaseDatos sin_origen(const QString& texto)
{
    return ErrorBaseDatos(kErrorSinOrigen, texto);
}

// What the program is told to do about its data source.
const QString kComoArreglar = QStringLiteral(" Compruebe el archivo y sus permisos y abra el programa de nuevo.");

// Refuses, before a byte is read, what is not a readable data source file of
// a sane size: a folder, a pipe (reading it would wait for ever), a link that
// leads nowhere, a file without read permission, or a huge one.
void comprobar_archivo(const QString& ruta)
{
    const QString n = nativa(ruta);
#ifdef Q_OS_UNIX
    const QByteArray local = QFile::encodeName(ruta);
    struct stat datos {};
    if (::stat(local.constData(), &datos) != 0) {
        const int numero = errno;
        struct stat enlace {};
        const bool es_enlace = ::lstat(local.constData(), &enlace) == 0 && S_ISLNK(enlace.st_mode);
        if (numero == ELOOP)
            throw sin_origen(QStringLiteral("El origen de datos \"%1\" es un enlace simbólico que forma un "
                                            "ciclo (lleva a sí mismo). Haga que apunte a un archivo .dsn real o "
                                            "bórrelo y abra el programa de nuevo.").arg(n));
        if (es_enlace)
            throw sin_origen(QStringLiteral("El origen de datos \"%1\" es un enlace simbólico a \"%2\", que no "
                                            "existe. Haga que apunte a un archivo .dsn real o bórrelo y abra el "
                                            "programa de nuevo.")
                                 .arg(n, nativa(QFileInfo(ruta).symLinkTarget())));
        if (numero == EACCES)
            throw sin_origen(QStringLiteral("No se puede llegar al origen de datos \"%1\": falta permiso en una "
                                            "de sus carpetas. Pida acceso a su administrador.").arg(n));
        throw sin_origen(QStringLiteral("El origen de datos \"%1\" no existe. Arranque el programa con ./run.sh "
                                        "o con la orden velmora instalada, que lo crean, o escríbalo con la "
                                        "sección [ODBC] de su base de datos.").arg(n));
    }
    if (S_ISDIR(datos.st_mode))
        throw sin_origen(QStringLiteral("El origen de datos \"%1\" es una carpeta, no un archivo. Ponga en su "
                                        "lugar el archivo .dsn con la sección [ODBC].").arg(n));
    if (!S_ISREG(datos.st_mode))
        throw sin_origen(QStringLiteral("El origen de datos \"%1\" no es un archivo normal (es una tubería, un "
                                        "dispositivo o un socket). Ponga en su lugar el archivo .dsn con la "
                                        "sección [ODBC].").arg(n));
    if (::access(local.constData(), R_OK) != 0)
        throw sin_origen(QStringLiteral("No tiene permiso para leer el origen de datos \"%1\". Dé permiso de "
                                        "lectura a su usuario (chmod u+r) o pídaselo a su administrador.").arg(n));
    const qint64 tamano = qint64(datos.st_size);
#else
    const QFileInfo info(ruta);
    if (!info.exists())
        throw sin_origen(QStringLiteral("El origen de datos \"%1\" no existe.").arg(n));
    if (info.isDir())
        throw sin_origen(QStringLiteral("El origen de datos \"%1\" es una carpeta, no un archivo.").arg(n));
    const qint64 tamano = info.size();
#endif
    if (tamano > kTamanoMaximoOrigen)
        throw sin_origen(QStringLiteral("El origen de datos \"%1\" ocupa %2 bytes: un origen de datos tiene unas "
                                        "pocas líneas (hasta %3 bytes). Compruebe que es el archivo .dsn y no la "
                                        "base de datos u otro archivo.")
                             .arg(n, QString::number(tamano), QString::number(kTamanoMaximoOrigen)));
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

QString carpeta_documentos()
{
    QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (carpeta.isEmpty())
        carpeta = QDir::homePath();
    // Created here so that the first export or PDF into it works, and a
    // file dialog does not start wherever the program was started.
    QDir().mkpath(carpeta);
    return carpeta;
}

QString ruta_exportar_por_defecto()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Archivos de programa\\Brelvo\\Exportar\\Datos.xlsx");
#else
    return QDir(carpeta_documentos()).filePath(QStringLiteral("Datos.xlsx"));
#endif
}

OrigenDatos leer_origen_datos(const QString& ruta)
{
    comprobar_archivo(ruta);
    QFile archivo(ruta);
    errno = 0;
    if (!archivo.open(QIODevice::ReadOnly)) {
        const int numero = errno;
        throw sin_origen(QStringLiteral("No se puede leer el origen de datos \"%1\" (%2).%3")
                             .arg(nativa(ruta), texto_error_sistema(numero), kComoArreglar));
    }
    QString texto = QString::fromUtf8(archivo.readAll());
    if (texto.startsWith(u'\uFEFF'))
        texto.remove(0, 1);
    const auto rechazo = [&ruta](qsizetype numero, const QString& motivo) {
        return ErrorBaseDatos(kErrorSinOrigen, QStringLiteral("El origen de datos \"%1\", línea %2: %3")
                                              .arg(nativa(ruta), QString::number(numero), motivo));
    };
    bool en_odbc = false;
    bool hay_seccion = false;
    QString driver;
    QString clave;
    QStringList pares;
    struct Valor {
        qsizetype linea;
        QString nombre;
        QString valor;
    };
    QList<Valor> valores;
    const QStringList todas = lineas(texto);
    for (qsizetype n = 0; n < todas.size(); ++n) {
        const QString linea = todas[n].trimmed();
        if (linea.isEmpty() || linea.startsWith(u';') || linea.startsWith(u'#'))
            continue;
        if (linea.startsWith(u'[')) {
            en_odbc = linea.compare(QStringLiteral("[ODBC]"), Qt::CaseInsensitive) == 0;
            // Which of the two the driver manager would read is not for us to guess.
            if (en_odbc && hay_seccion)
                throw rechazo(n + 1, QStringLiteral("una segunda sección [ODBC]; deje una sola"));
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
        valores.append({n + 1, nombre, valor});
        pares << nombre + u'=' + valor_en_cadena(valor);
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
    if (driver_sqlite(driver)) {
        for (const Valor& v : std::as_const(valores)) {
            // The SQLite driver cuts a value at ';' and keeps braces as part of
            // it: "Database={x;y}" would create and open an empty file "{x".
            if (v.valor.contains(u';') || v.valor.contains(u'{') || v.valor.contains(u'}'))
                throw rechazo(v.linea, QStringLiteral("el controlador SQLite no admite llaves ni ';' en el valor "
                                                      "de \"%1\". Cambie el nombre del archivo o de su carpeta "
                                                      "para que no los lleve.")
                                           .arg(v.nombre));
            if (v.nombre.compare(QStringLiteral("Database"), Qt::CaseInsensitive) == 0
                && v.valor.compare(QStringLiteral(":memory:"), Qt::CaseInsensitive) == 0)
                throw rechazo(v.linea, QStringLiteral("\":memory:\" es una base de datos vacía que se pierde al "
                                                      "salir. Indique en Database el archivo de su base de datos."));
        }
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

ErrorBaseDatos explicar_apertura(const ErrorBaseDatos& error, const QString& ruta)
{
    OrigenDatos origen;
    try {
        origen = leer_origen_datos(ruta);
    } catch (const ErrorBaseDatos&) {
        return error; // the data source's own message already says it all
    }
    const auto leer = [&origen](const QString& palabra) { return valor_de(origen.cadena, palabra); };
    const QString texto = error.texto();
    if (texto.contains(QStringLiteral("Can't open lib"), Qt::CaseInsensitive)
        || texto.contains(QStringLiteral("Data source name not found"), Qt::CaseInsensitive)) {
        return ErrorBaseDatos(
            kErrorSinControlador,
            QStringLiteral("No se puede cargar el controlador ODBC \"%1\" que pide el origen de datos \"%2\": no "
                           "está instalado o ese nombre no figura en /etc/odbcinst.ini. Instale el controlador "
                           "(para SQLite, el paquete libsqliteodbc; para PostgreSQL, odbc-postgresql) o corrija la "
                           "línea DRIVER del origen de datos.")
                .arg(leer(QStringLiteral("DRIVER")), nativa(ruta)),
            error.estado());
    }
    if (texto.contains(QStringLiteral("is not a database"), Qt::CaseInsensitive)) {
        return ErrorBaseDatos(
            error.numero(),
            QStringLiteral("El archivo \"%1\" no es una base de datos SQLite: está dañado o es otro tipo de "
                           "archivo (lo indica Database en el origen de datos \"%2\"). Recupérelo de una copia de "
                           "seguridad, bórrelo para empezar de nuevo con los datos de demostración, o corrija "
                           "Database en el origen de datos.")
                .arg(nativa(leer(QStringLiteral("Database"))), nativa(ruta)),
            error.estado());
    }
    return error;
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
    // The password itself first: one holding a blank is hidden whole.
    const QRegularExpression lugar(
        QStringLiteral("(\\b(?:PWD|Password)\\s*=\\s*)(\\{(?:[^}]|\\}\\})*\\}|%1|[^;\\s]*)")
            .arg(QRegularExpression::escape(clave)),
        QRegularExpression::CaseInsensitiveOption);
    texto.replace(lugar, QStringLiteral("\\1****"));
    return texto;
}

} // namespace velmora
