// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/dialectos.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

namespace velmora {

// A forward-only result, walked once: end test, field by name, move next.
class Resultado final {
public:
    struct Impl;
    explicit Resultado(std::unique_ptr<Impl> impl);
    Resultado(Resultado&&) noexcept;
    Resultado& operator=(Resultado&&) noexcept;
    ~Resultado();

    bool eof() const;
    void siguiente();
    // Field of the current row by its exact name (accents and blanks
    // included). An unknown name is a database error that names the field.
    QVariant campo(const QString& nombre) const;
    // The column of a field name, looked up once for a walk of many rows
    // (an unknown name is the same error), and the field by that column.
    int indice(const QString& nombre) const;
    QVariant campo(int indice) const;
    // The field as a cell needs it (Null empty, numbers in the user's locale).
    QString texto(const QString& nombre) const;
    QString texto(int indice) const;
    QStringList campos() const;

private:
    std::unique_ptr<Impl> d;
};

// How long the program waits on the database before it gives up and tells
// the user, instead of freezing the window while a server stalls. Each is
// far above what a press takes on a million records.
struct LimitesTiempo {
    int conectar_s = 10;   // making the connection (a new one, or again after a restart)
    int sentencia_s = 30;  // one statement or one block of rows
    int bloqueo_ms = 3000; // another user's lock on what a statement needs
};

// The one database connection of the program.
class ConexionBD final {
public:
    ConexionBD();
    ~ConexionBD();
    ConexionBD(const ConexionBD&) = delete;
    ConexionBD& operator=(const ConexionBD&) = delete;

    // Opens with a connection string ("FILEDSN=path" or driver keywords).
    void abrir(const QString& cadena_conexion);
    void cerrar();
    bool abierta() const;
    Dialecto dialecto() const;
    QString nombre_dbms() const;
    // What the user should know of the database just opened (one the user
    // can only read and that needs bringing up to date); empty when nothing.
    QString aviso() const;

    // Runs a lookup or a procedure command text, as the screens build them.
    Resultado ejecutar(const QString& comando);

    void iniciar_transaccion();
    void confirmar();
    void deshacer();

    // Runs a command that sets the session up (who the program's user is)
    // and keeps it, to run again whenever the connection is made anew.
    // False, with nothing kept, when the database has no such procedure.
    bool fijar_sesion(const QString& comando);

    // Every command text is passed to the observer before it runs (tests
    // use it to see what a press sends).
    void observar(std::function<void(const QString&)> observador);

    // The time limits of the next abrir().
    void fijar_limites(const LimitesTiempo& limites);

private:
    void asegurar_conexion();
    void reconectar();
    void preparar_servidor();

    struct Impl;
    std::unique_ptr<Impl> d;
};

// Created on first use; lives for the whole process.
ConexionBD& Conexion();

// Opens Conexion() from "FILEDSN=" + the fixed data source path.
void abrir_conexion();

// Lands all the commands run while it lives, or none of them.
class Transaccion final {
public:
    explicit Transaccion(ConexionBD& conexion);
    ~Transaccion();
    Transaccion(const Transaccion&) = delete;
    Transaccion& operator=(const Transaccion&) = delete;
    void confirmar();

private:
    ConexionBD& conexion_;
    bool activa_ = true;
};

} // namespace velmora
