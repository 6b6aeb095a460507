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
// past the statement limit has its connection's sockets shut down: the
// driver's wait ends at once with a failure, where a stalled server (its
// processes stopped, a machine that hangs) would keep the window frozen
// until it came back. The server sees the connection end and rolls back
// whatever it had not committed.
class Vigia final {
public:
    // Never destroyed: its thread runs until the process ends.
    static Vigia& instancia();

    void vigilar(std::vector<SocketServidor> sockets, int puerto, int limite_ms);
    void olvidar() { vigilar({}, 0, 0); }
    bool activa() const { return activa_.load(std::memory_order_relaxed); }

    void armar();
    void desarmar() { inicio_.store(0, std::memory_order_release); }

    // The last watched call ended because the limit passed.
    bool vencida() const { return vencida_.load(std::memory_order_acquire); }
    int limite_s() const;

private:
    Vigia() = default;
    static qint64 ahora_ms();
    void vigilar_siempre();

    mutable std::mutex mutex_;
    std::condition_variable aviso_;
    std::vector<SocketServidor> sockets_;
    int puerto_ = 0;
    int limite_ms_ = 0;
    bool hilo_ = false;
    std::atomic<bool> activa_{false};
    std::atomic<bool> vencida_{false};
    std::atomic<qint64> inicio_{0};
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
    static thread_local int profundidad_;
};

} // namespace velmora
