// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/sockets_servidor.h"

#include <algorithm>

#ifdef __linux__
#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#endif

namespace velmora {

// The peer's address of a socket that leads to a database server: a
// PostgreSQL Unix socket, or TCP to the port of the data source (PostgreSQL's
// or SQL Server's by default). Empty for any other one: another thread of
// the program (D-Bus, accessibility) may open a socket at the same moment.
QByteArray par_del_servidor(int fd, int puerto)
{
#ifdef __linux__
    sockaddr_storage direccion {};
    socklen_t largo = sizeof direccion;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&direccion), &largo) != 0)
        return {};
    const QByteArray par(reinterpret_cast<const char*>(&direccion), int(largo));
    int puerto_par = 0;
    switch (direccion.ss_family) {
    case AF_UNIX: {
        const auto* local = reinterpret_cast<const sockaddr_un*>(&direccion);
        const QByteArray ruta(local->sun_path, int(qstrnlen(local->sun_path, sizeof local->sun_path)));
        return ruta.contains(".s.PGSQL.") ? par : QByteArray();
    }
    case AF_INET:
        puerto_par = ntohs(reinterpret_cast<const sockaddr_in*>(&direccion)->sin_port);
        break;
    case AF_INET6:
        puerto_par = ntohs(reinterpret_cast<const sockaddr_in6*>(&direccion)->sin6_port);
        break;
    default:
        return {};
    }
    const bool servidor = puerto > 0 ? puerto_par == puerto : (puerto_par == 5432 || puerto_par == 1433);
    return servidor ? par : QByteArray();
#else
    Q_UNUSED(fd);
    Q_UNUSED(puerto);
    return {};
#endif
}

// The sockets the process holds, to tell which ones a new connection made.
std::vector<int> sockets_abiertos()
{
    std::vector<int> sockets;
#ifdef __linux__
    DIR* carpeta = opendir("/proc/self/fd");
    if (!carpeta)
        return sockets;
    while (const dirent* entrada = readdir(carpeta)) {
        bool ok = false;
        const int fd = QByteArray(entrada->d_name).toInt(&ok);
        struct stat datos {};
        if (ok && fd != dirfd(carpeta) && fstat(fd, &datos) == 0 && S_ISSOCK(datos.st_mode))
            sockets.push_back(fd);
    }
    closedir(carpeta);
#endif
    return sockets;
}

std::vector<SocketServidor> sockets_nuevos(const std::vector<int>& antes, int puerto)
{
    std::vector<SocketServidor> nuevos;
    for (const int fd : sockets_abiertos()) {
        if (std::find(antes.begin(), antes.end(), fd) != antes.end())
            continue;
        QByteArray par = par_del_servidor(fd, puerto);
        if (!par.isEmpty())
            nuevos.push_back({fd, std::move(par)});
    }
    return nuevos;
}

void cortar_socket(const SocketServidor& socket, int puerto)
{
    // The driver may have closed it on a lost connection and its number
    // gone to another socket since.
    if (par_del_servidor(socket.fd, puerto) != socket.par)
        return;
#ifdef __linux__
    ::shutdown(socket.fd, SHUT_RDWR);
#endif
}

} // namespace velmora
