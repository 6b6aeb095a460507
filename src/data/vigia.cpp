// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/vigia.h"

#include <chrono>
#include <thread>

namespace velmora {

Vigia& Vigia::instancia()
{
    static Vigia* vigia = new Vigia;
    return *vigia;
}

void Vigia::vigilar(std::vector<SocketServidor> sockets, int puerto, int limite_ms)
{
    const std::lock_guard cerrojo(mutex_);
    sockets_ = std::move(sockets);
    antes_.clear();
    apertura_ = false;
    puerto_ = puerto;
    limite_ms_ = limite_ms;
    vencida_ = false;
    inicio_ = 0;
    activa_.store(!sockets_.empty(), std::memory_order_relaxed);
    if (!sockets_.empty() && !hilo_) {
        hilo_ = true;
        std::thread([this] { vigilar_siempre(); }).detach();
    }
    aviso_.notify_all();
}

void Vigia::vigilar_apertura(std::vector<int> antes, int puerto, int limite_ms)
{
    const std::lock_guard cerrojo(mutex_);
    sockets_.clear();
    antes_ = std::move(antes);
    apertura_ = true;
    puerto_ = puerto;
    limite_ms_ = limite_ms;
    vencida_ = false;
    inicio_ = 0;
    activa_.store(true, std::memory_order_relaxed);
    if (!hilo_) {
        hilo_ = true;
        std::thread([this] { vigilar_siempre(); }).detach();
    }
    aviso_.notify_all();
}

bool Vigia::armar()
{
    const std::lock_guard cerrojo(mutex_);
    if (!apertura_ && sockets_.empty())
        return false;
    inicio_ = ahora_ms();
    return true;
}

void Vigia::desarmar()
{
    const std::lock_guard cerrojo(mutex_);
    inicio_ = 0;
}

bool Vigia::vencida() const
{
    const std::lock_guard cerrojo(mutex_);
    return vencida_;
}

int Vigia::limite_s() const
{
    const std::lock_guard cerrojo(mutex_);
    return (limite_ms_ + 999) / 1000;
}

qint64 Vigia::ahora_ms()
{
    using namespace std::chrono;
    // Never 0, which means "not armed".
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() + 1;
}

void Vigia::vigilar_siempre()
{
    std::unique_lock cerrojo(mutex_);
    for (;;) {
        const int paso = limite_ms_ > 0 ? qBound(50, limite_ms_ / 10, 1000) : 1000;
        aviso_.wait_for(cerrojo, std::chrono::milliseconds(paso));
        if (inicio_ == 0 || limite_ms_ <= 0 || ahora_ms() - inicio_ < limite_ms_)
            continue;
        // Checked and cut under the lock: the call armed now is the one cut.
        const std::vector<SocketServidor> sockets = apertura_ ? sockets_nuevos(antes_, puerto_) : sockets_;
        if (sockets.empty())
            continue;
        inicio_ = 0;
        vencida_ = true;
        for (const SocketServidor& socket : sockets)
            cortar_socket(socket, puerto_);
    }
}

thread_local int Vigilada::profundidad_ = 0;

Vigilada::Vigilada()
{
    if (profundidad_++ == 0 && Vigia::instancia().activa())
        armada_ = Vigia::instancia().armar();
}

Vigilada::~Vigilada()
{
    if (--profundidad_ == 0 && armada_)
        Vigia::instancia().desarmar();
}

} // namespace velmora
