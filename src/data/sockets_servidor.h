// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Inside data/ only: which of the process's sockets lead to the database
// server, found in /proc (Linux only; elsewhere none is found).

#include <QByteArray>

#include <vector>

namespace velmora {

// A socket of the connection: its number and its peer's address.
struct SocketServidor {
    int fd;
    QByteArray par;
};

// The peer's address of a socket that leads to a database server: a
// PostgreSQL Unix socket, or TCP to `puerto` (PostgreSQL's or SQL Server's
// default when 0). Empty for any other one.
QByteArray par_del_servidor(int fd, int puerto);

// The sockets the process holds, to tell which ones a new connection made.
std::vector<int> sockets_abiertos();

// The sockets to the server opened since `antes` was taken.
std::vector<SocketServidor> sockets_nuevos(const std::vector<int>& antes, int puerto);

// Shuts a socket down both ways, if it still leads to the same peer.
void cortar_socket(const SocketServidor& socket, int puerto);

} // namespace velmora
