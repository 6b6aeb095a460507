// SPDX-License-Identifier: GPL-3.0-or-later
#include "soporte/intermediario_tcp.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <vector>

namespace {

using Reloj = std::chrono::steady_clock;

struct Par {
    int cliente = -1;
    int servidor = -1;
    bool visto_tras = false;
    bool retenida = false;
    Reloj::time_point desde;
    QByteArray pendiente;
};

void cerrar(Par& par)
{
    if (par.cliente >= 0)
        ::close(par.cliente);
    if (par.servidor >= 0)
        ::close(par.servidor);
    par.cliente = par.servidor = -1;
}

bool escribir_todo(int fd, const QByteArray& datos)
{
    qsizetype hecho = 0;
    while (hecho < datos.size()) {
        const ssize_t n = ::send(fd, datos.constData() + hecho, size_t(datos.size() - hecho), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        hecho += n;
    }
    return true;
}

int conectar_unix(const QString& ruta)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un direccion {};
    direccion.sun_family = AF_UNIX;
    const QByteArray local = QFile::encodeName(ruta);
    qstrncpy(direccion.sun_path, local.constData(), sizeof direccion.sun_path);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&direccion), sizeof direccion) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

struct IntermediarioTcp::Estado {
    QString socket_servidor;
    std::mutex mutex;
    QByteArray texto;
    QByteArray tras;
    Accion accion = Accion::Cortar;
    bool regla = false;
    bool cortar = false;
    bool fin = false;
    std::vector<Par> pares;
};

IntermediarioTcp::IntermediarioTcp(const QString& socket_servidor) : estado_(std::make_unique<Estado>())
{
    estado_->socket_servidor = socket_servidor;
    escucha_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in direccion {};
    direccion.sin_family = AF_INET;
    direccion.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t largo = sizeof direccion;
    if (::bind(escucha_, reinterpret_cast<sockaddr*>(&direccion), sizeof direccion) != 0
        || ::listen(escucha_, 16) != 0
        || ::getsockname(escucha_, reinterpret_cast<sockaddr*>(&direccion), &largo) != 0)
        qFatal("the proxy cannot listen on 127.0.0.1");
    puerto_ = ntohs(direccion.sin_port);
    if (::pipe2(aviso_, O_CLOEXEC | O_NONBLOCK) != 0)
        qFatal("the proxy cannot make its pipe");
    hilo_ = std::thread([this] { atender(); });
}

IntermediarioTcp::~IntermediarioTcp()
{
    {
        const std::lock_guard cerrojo(estado_->mutex);
        estado_->fin = true;
    }
    (void)::write(aviso_[1], "x", 1);
    hilo_.join();
    for (Par& par : estado_->pares)
        cerrar(par);
    ::close(escucha_);
    ::close(aviso_[0]);
    ::close(aviso_[1]);
}

void IntermediarioTcp::al_ver(const QByteArray& texto, Accion accion, const QByteArray& tras)
{
    const std::lock_guard cerrojo(estado_->mutex);
    estado_->texto = texto.toLower();
    estado_->tras = tras.toLower();
    estado_->accion = accion;
    estado_->regla = true;
    for (Par& par : estado_->pares)
        par.visto_tras = false;
}

void IntermediarioTcp::cortar_todas()
{
    {
        const std::lock_guard cerrojo(estado_->mutex);
        estado_->cortar = true;
    }
    (void)::write(aviso_[1], "x", 1);
    // Done when the proxy's thread has seen it.
    for (int i = 0; i < 500; ++i) {
        {
            const std::lock_guard cerrojo(estado_->mutex);
            if (!estado_->cortar)
                return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void IntermediarioTcp::atender()
{
    Estado& e = *estado_;
    char buffer[65536];
    for (;;) {
        std::vector<pollfd> fds{{aviso_[0], POLLIN, 0}, {escucha_, POLLIN, 0}};
        {
            const std::lock_guard cerrojo(e.mutex);
            if (e.fin)
                return;
            if (e.cortar) {
                for (Par& par : e.pares)
                    cerrar(par);
                e.pares.clear();
                e.cortar = false;
            }
            for (Par& par : e.pares) {
                if (par.retenida) {
                    const int espera = espera_maxima_s_.load();
                    if (Reloj::now() - par.desde < std::chrono::seconds(espera))
                        continue;
                    soltado_por_espera_.store(true);
                    par.retenida = false;
                    if (!escribir_todo(par.servidor, par.pendiente))
                        cerrar(par);
                    par.pendiente.clear();
                }
            }
            std::erase_if(e.pares, [](const Par& par) { return par.cliente < 0; });
            for (const Par& par : e.pares) {
                if (par.retenida)
                    continue;
                fds.push_back({par.cliente, POLLIN, 0});
                fds.push_back({par.servidor, POLLIN, 0});
            }
        }
        if (::poll(fds.data(), fds.size(), 100) < 0)
            continue;
        const std::lock_guard cerrojo(e.mutex);
        if (fds[0].revents) {
            while (::read(aviso_[0], buffer, sizeof buffer) > 0) {
            }
        }
        if (fds[1].revents & POLLIN) {
            const int cliente = ::accept4(escucha_, nullptr, nullptr, SOCK_CLOEXEC);
            if (cliente >= 0) {
                Par par;
                par.cliente = cliente;
                par.servidor = conectar_unix(e.socket_servidor);
                if (par.servidor < 0)
                    cerrar(par);
                else
                    e.pares.push_back(par);
            }
        }
        for (size_t i = 2; i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const auto it = std::find_if(e.pares.begin(), e.pares.end(), [&](const Par& par) {
                return par.cliente == fds[i].fd || par.servidor == fds[i].fd;
            });
            if (it == e.pares.end() || it->retenida)
                continue;
            Par& par = *it;
            const bool del_cliente = fds[i].fd == par.cliente;
            const ssize_t n = ::recv(fds[i].fd, buffer, sizeof buffer, 0);
            if (n <= 0) {
                cerrar(par);
                continue;
            }
            const QByteArray datos(buffer, n);
            if (!del_cliente) {
                if (!escribir_todo(par.cliente, datos))
                    cerrar(par);
                continue;
            }
            if (e.regla) {
                const QByteArray minusculas = datos.toLower();
                qsizetype desde = 0;
                if (!par.visto_tras && !e.tras.isEmpty()) {
                    const qsizetype donde = minusculas.indexOf(e.tras);
                    if (donde >= 0) {
                        par.visto_tras = true;
                        desde = donde + e.tras.size();
                    }
                }
                if ((par.visto_tras || e.tras.isEmpty()) && minusculas.indexOf(e.texto, desde) >= 0) {
                    e.regla = false;
                    disparado_.store(true);
                    if (e.accion == Accion::Cortar) {
                        cerrar(par);
                    } else {
                        par.retenida = true;
                        par.desde = Reloj::now();
                        par.pendiente = datos;
                    }
                    continue;
                }
            }
            if (!escribir_todo(par.servidor, datos))
                cerrar(par);
        }
    }
}

QString socket_de_dsn(const QString& dsn)
{
    QFile f(dsn);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(dsn));
    QString carpeta;
    QString puerto = QStringLiteral("5432");
    for (const QString& linea : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (linea.startsWith(QStringLiteral("Servername="), Qt::CaseInsensitive))
            carpeta = linea.section(u'=', 1).trimmed();
        if (linea.startsWith(QStringLiteral("Port="), Qt::CaseInsensitive))
            puerto = linea.section(u'=', 1).trimmed();
    }
    return QDir(carpeta).filePath(QStringLiteral(".s.PGSQL.") + puerto);
}

QString dsn_por_intermediario(const QString& dsn, const QString& carpeta, int puerto)
{
    QFile f(dsn);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(dsn));
    QStringList lineas = QString::fromUtf8(f.readAll()).split(u'\n');
    for (QString& l : lineas) {
        if (l.startsWith(QStringLiteral("Servername="), Qt::CaseInsensitive))
            l = QStringLiteral("Servername=127.0.0.1");
        if (l.startsWith(QStringLiteral("Port="), Qt::CaseInsensitive))
            l = QStringLiteral("Port=%1").arg(puerto);
    }
    const QString ruta = QDir(carpeta).filePath(QStringLiteral("intermediario.dsn"));
    QFile salida(ruta);
    if (!salida.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(ruta));
    salida.write(lineas.join(u'\n').toUtf8());
    return ruta;
}
