// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A loopback TCP proxy in front of the throwaway PostgreSQL server (which
// listens on a Unix socket only): the program connects to 127.0.0.1 and the
// proxy forwards every byte, until the client sends a chosen statement; then
// it cuts the connection there (nothing of that message reaches the server)
// or holds it (nothing more passes either way), as a network cut or a
// stalled server would.

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

class IntermediarioTcp final {
public:
    enum class Accion { Cortar, Retener };

    // `socket_servidor`: the server's Unix socket (".../.s.PGSQL.5432").
    explicit IntermediarioTcp(const QString& socket_servidor);
    ~IntermediarioTcp();
    IntermediarioTcp(const IntermediarioTcp&) = delete;
    IntermediarioTcp& operator=(const IntermediarioTcp&) = delete;

    int puerto() const { return puerto_; }

    // The first client message holding `texto` (any case) that passes after
    // one holding `tras` did (on the same connection) is cut or held. Once.
    void al_ver(const QByteArray& texto, Accion accion, const QByteArray& tras = {});
    bool disparado() const { return disparado_.load(); }

    // A held connection is let go after `segundos` at most, so that a
    // program that waits without limit fails its test instead of hanging.
    // True when that happened: the program waited the whole hold.
    void fijar_espera_maxima(int segundos) { espera_maxima_s_.store(segundos); }
    bool soltado_por_espera() const { return soltado_por_espera_.load(); }

    // Cuts every connection now (the server looks restarted to the client).
    void cortar_todas();

private:
    struct Estado;
    void atender();

    std::unique_ptr<Estado> estado_;
    int puerto_ = 0;
    int escucha_ = -1;
    int aviso_[2] = {-1, -1};
    std::atomic<bool> disparado_{false};
    std::atomic<bool> soltado_por_espera_{false};
    std::atomic<int> espera_maxima_s_{40};
    std::thread hilo_;
};

// A copy of the data source `dsn` that reaches its server through the proxy
// on `puerto` (Servername 127.0.0.1), written into `carpeta`.
QString dsn_por_intermediario(const QString& dsn, const QString& carpeta, int puerto);

// The Unix socket of the server a data source names (its Servername folder).
QString socket_de_dsn(const QString& dsn);
