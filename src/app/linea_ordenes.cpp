// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/linea_ordenes.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#endif

namespace velmora {

namespace {

// Options of Qt's own that QApplication reads; the first group takes a value.
const QStringList kQtConValor = {
    QStringLiteral("platform"),  QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
    QStringLiteral("plugin"),    QStringLiteral("qwindowgeometry"),    QStringLiteral("qwindowtitle"),
    QStringLiteral("qwindowicon"), QStringLiteral("style"),            QStringLiteral("stylesheet"),
    QStringLiteral("session"),   QStringLiteral("display"),            QStringLiteral("geometry"),
    QStringLiteral("name"),      QStringLiteral("title"),              QStringLiteral("fontengine"),
};
const QStringList kQtSinValor = {
    QStringLiteral("reverse"), QStringLiteral("nograb"), QStringLiteral("dograb"),
    QStringLiteral("sync"),    QStringLiteral("widgetcount"),
};

void escribir(std::FILE* salida, const QString& texto)
{
    const QByteArray bytes = texto.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), salida);
    std::fflush(salida);
}

QString ayuda()
{
    return QStringLiteral(
        "Uso: velmora [opciones]\n"
        "Velmora: tablero de indicadores clave de desempeño (KPI).\n"
        "\n"
        "Opciones:\n"
        "  -h, --help       Muestra esta ayuda y termina.\n"
        "  -v, --version    Muestra la versión del programa y termina.\n"
        "\n"
        "También admite las opciones de ventanas de Qt, como -platform <nombre>,\n"
        "-style <estilo> o -reverse.\n"
        "\n"
        "La base de datos se abre con el origen de datos conexion.dsn de la carpeta\n"
        "del programa o de ~/.config/velmora/.\n");
}

// The version, and the licence as the GNU programs tell theirs.
QString version()
{
    return QStringLiteral(
        "velmora " VELMORA_VERSION "\n"
        "Copyright (C) 2026 Equipo de Velmora\n"
        "Licencia GPL-3.0-or-later: GNU GPL versión 3 o posterior <https://www.gnu.org/licenses/gpl-3.0.html>.\n"
        "Esto es software libre: puede modificarlo y redistribuirlo.\n"
        "No hay NINGUNA GARANTÍA, en la medida que lo permita la ley.\n");
}

QString sin_guiones(const QString& argumento)
{
    return argumento.startsWith(QStringLiteral("--")) ? argumento.mid(2) : argumento.mid(1);
}

#ifdef Q_OS_UNIX
// Whether an X server answers at a local display (":0", "unix:0.0") or a
// forwarded one on this machine ("localhost:10.0", ssh -X). Other hosts are
// not tried: Qt will tell.
bool servidor_x(const QString& display)
{
    const QString anfitrion = display.section(u':', 0, 0);
    bool ok = false;
    const int numero = display.section(u':', 1).section(u'.', 0, 0).toInt(&ok);
    if (!ok || numero < 0)
        return true;
    if (anfitrion.isEmpty() || anfitrion == QStringLiteral("unix")) {
        const QByteArray ruta = QByteArray("/tmp/.X11-unix/X") + QByteArray::number(numero);
        for (const bool abstracto : {true, false}) {
            sockaddr_un direccion{};
            direccion.sun_family = AF_UNIX;
            const int desde = abstracto ? 1 : 0; // Linux's abstract name: a leading NUL
            std::memcpy(direccion.sun_path + desde, ruta.constData(), size_t(ruta.size()));
            const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (s < 0)
                return true;
            const socklen_t largo = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(desde) + size_t(ruta.size()));
            const bool conecta = ::connect(s, reinterpret_cast<sockaddr*>(&direccion), largo) == 0;
            ::close(s);
            if (conecta)
                return true;
        }
        return false;
    }
    if (anfitrion == QStringLiteral("localhost") || anfitrion == QStringLiteral("127.0.0.1")) {
        sockaddr_in direccion{};
        direccion.sin_family = AF_INET;
        direccion.sin_port = htons(quint16(6000 + numero));
        direccion.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (s < 0)
            return true;
        const bool conecta = ::connect(s, reinterpret_cast<sockaddr*>(&direccion), sizeof direccion) == 0;
        ::close(s);
        return conecta;
    }
    return true;
}
#else
bool servidor_x(const QString&)
{
    return true;
}
#endif

// Whether a window system can be reached: the platform chosen (option or
// QT_QPA_PLATFORM) and, for X11 and Wayland, their display variables.
// Other platforms (offscreen, vnc, eglfs...) need no display of the session.
bool hay_pantalla(const QString& plataforma, bool display_en_ordenes)
{
    QStringList nombres = plataforma.split(u';', Qt::SkipEmptyParts);
    if (nombres.isEmpty())
        nombres = {QStringLiteral("xcb"), QStringLiteral("wayland")};
    const bool x11 = display_en_ordenes
                     || (!qEnvironmentVariableIsEmpty("DISPLAY") && servidor_x(qEnvironmentVariable("DISPLAY")));
    QString wayland_socket = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (!wayland_socket.isEmpty() && QDir::isRelativePath(wayland_socket))
        wayland_socket = QDir(qEnvironmentVariable("XDG_RUNTIME_DIR")).filePath(wayland_socket);
    const bool wayland = !wayland_socket.isEmpty() && QFileInfo::exists(wayland_socket);
    for (const QString& nombre : std::as_const(nombres)) {
        const QString n = nombre.section(u':', 0, 0).trimmed();
        if (n == QStringLiteral("xcb")) {
            if (x11)
                return true;
        } else if (n.startsWith(QStringLiteral("wayland"))) {
            if (wayland)
                return true;
        } else {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<int> leer_linea_ordenes(int argc, char** argv)
{
    QString plataforma = qEnvironmentVariable("QT_QPA_PLATFORM");
    bool display = false;
    for (int i = 1; i < argc; ++i) {
        const QString argumento = QString::fromLocal8Bit(argv[i]);
        if (argumento == QStringLiteral("-h") || argumento == QStringLiteral("--help")
            || argumento == QStringLiteral("-help") || argumento == QStringLiteral("-?")) {
            escribir(stdout, ayuda());
            return 0;
        }
        if (argumento == QStringLiteral("-v") || argumento == QStringLiteral("--version")
            || argumento == QStringLiteral("-version")) {
            escribir(stdout, version());
            return 0;
        }
        if (argumento.startsWith(u'-') && argumento.size() > 1) {
            const QString nombre = sin_guiones(argumento).section(u'=', 0, 0);
            if (kQtSinValor.contains(nombre))
                continue;
            if (kQtConValor.contains(nombre)) {
                QString valor;
                if (argumento.contains(u'='))
                    valor = argumento.section(u'=', 1);
                else if (i + 1 < argc)
                    valor = QString::fromLocal8Bit(argv[++i]);
                else {
                    escribir(stderr, QStringLiteral("velmora: a la opción «%1» le falta su valor.\n"
                                                    "Pruebe «velmora --help» para ver las opciones.\n")
                                         .arg(argumento));
                    return 2;
                }
                if (nombre == QStringLiteral("platform"))
                    plataforma = valor;
                else if (nombre == QStringLiteral("display"))
                    display = true;
                continue;
            }
            escribir(stderr, QStringLiteral("velmora: opción desconocida «%1».\n"
                                            "Pruebe «velmora --help» para ver las opciones.\n")
                                 .arg(argumento));
            return 2;
        }
        escribir(stderr, QStringLiteral("velmora: el programa no recibe argumentos («%1»).\n"
                                        "Pruebe «velmora --help» para ver las opciones.\n")
                             .arg(argumento));
        return 2;
    }
    if (!hay_pantalla(plataforma, display)) {
        escribir(stderr, QStringLiteral("velmora: no hay pantalla donde abrir las ventanas (ni DISPLAY ni "
                                        "WAYLAND_DISPLAY indican una que responda).\n"
                                        "Abra el programa desde una sesión de escritorio, o por ssh con "
                                        "«ssh -X» para ver las ventanas en su equipo.\n"));
        return 1;
    }
    return std::nullopt;
}

} // namespace velmora
