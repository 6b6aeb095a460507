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
    puerto_ = puerto;
    limite_ms_ = limite_ms;
    activa_.store(!sockets_.empty(), std::memory_order_relaxed);
    if (activa_.load(std::memory_order_relaxed) && !hilo_) {
        hilo_ = true;
        std::thread([this] { vigilar_siempre(); }).detach();
    }
    aviso_.notify_all();
}

void Vigia::armar()
{
    vencida_.store(false, std::memory_order_relaxed);
    inicio_.store(ahora_ms(), std::memory_order_release);
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
        qint64 inicio = inicio_.load(std::memory_order_acquire);
        if (inicio == 0 || sockets_.empty() || limite_ms_ <= 0 || ahora_ms() - inicio < limite_ms_)
            continue;
        // Only the call that was armed then: one that began since runs on.
        if (!inicio_.compare_exchange_strong(inicio, 0, std::memory_order_acq_rel))
            continue;
        vencida_.store(true, std::memory_order_release);
        for (const SocketServidor& socket : sockets_)
            cortar_socket(socket, puerto_);
    }
}

thread_local int Vigilada::profundidad_ = 0;

Vigilada::Vigilada()
{
    if (profundidad_++ == 0 && Vigia::instancia().activa())
        Vigia::instancia().armar();
}

Vigilada::~Vigilada()
{
    if (--profundidad_ == 0)
        Vigia::instancia().desarmar();
}

} // namespace velmora
