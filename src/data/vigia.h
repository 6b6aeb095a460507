// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Inside data/ only: the watch over the calls that wait on a database server.

#include "data/sockets_servidor.h"

#include <QtGlobal>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace velmora {

// Watches the calls that wait on a database server. A call still waiting
// past its limit has its connection's sockets shut down: the driver's wait
// ends at once with a failure, where a stalled server (its processes
// stopped, a machine that hangs) would keep the window frozen until it came
// back. The server sees the connection end and rolls back whatever it had
// not committed.
//
// A call is armed and disarmed under the same lock the watch holds while it
// checks and cuts, so a cut only ever falls on the call it was meant for,
// never on one that began after it.
class Vigia final {
public:
    // Never destroyed: its thread runs until the process ends.
    static Vigia& instancia();

    // The sockets of the open connection, each call on it watched with `limite_ms`.
    void vigilar(std::vector<SocketServidor> sockets, int puerto, int limite_ms);
    // While the driver opens a connection (its own statements included):
    // past `limite_ms` the server sockets opened since `antes` are cut.
    void vigilar_apertura(std::vector<int> antes, int puerto, int limite_ms);
    void olvidar() { vigilar({}, 0, 0); }
    bool activa() const { return activa_.load(std::memory_order_relaxed); }

    // True when the call is watched.
    bool armar();
    void desarmar();

    // A call of this connection was cut: the connection is dead until it is
    // made anew, and whatever fails on it failed because the server stalled.
    bool vencida() const;
    int limite_s() const;

private:
    Vigia() = default;
    static qint64 ahora_ms();
    void vigilar_siempre();

    mutable std::mutex mutex_;
    std::condition_variable aviso_;
    std::vector<SocketServidor> sockets_;
    std::vector<int> antes_;
    bool apertura_ = false;
    int puerto_ = 0;
    int limite_ms_ = 0;
    bool hilo_ = false;
    bool vencida_ = false;
    std::atomic<bool> activa_{false};
    qint64 inicio_ = 0; // when the call now waiting began; 0 when none is
};

// One call that waits on the server, watched while it lasts (the outermost
// one when calls nest).
class Vigilada final {
public:
    Vigilada();
    ~Vigilada();
    Vigilada(const Vigilada&) = delete;
    Vigilada& operator=(const Vigilada&) = delete;

private:
    bool armada_ = false;
    static thread_local int profundidad_;
};

} // namespace velmora
