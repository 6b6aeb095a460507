// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/mensajes.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>

#include <memory>

using namespace velmora;

class QWidget;

// A database of its own on the test server, copied from the loaded one and
// dropped at the end. Needs dsn_postgres().
class BasePostgres final {
public:
    explicit BasePostgres(const QString& nombre);
    ~BasePostgres();
    BasePostgres(const BasePostgres&) = delete;
    BasePostgres& operator=(const BasePostgres&) = delete;

    QString dsn() const { return dsn_; }

private:
    QTemporaryDir carpeta_;
    QString nombre_;
    QString mantenimiento_;
    QString dsn_;
};

// The engine the test program runs on: PostgreSQL when its registration sets
// VELMORA_MOTOR=postgres (the test script's server), else SQLite.
bool en_postgres();

// A private copy of the demo data with its own data source: on SQLite a copy
// of the database file with its own conexion.dsn, on PostgreSQL (en_postgres())
// a database of its own made from the loaded one as a template. Each test
// that makes one starts from the same data on either engine.
class BasePrueba final {
public:
    // Copies the demo database (or the given SQLite file, on SQLite only).
    explicit BasePrueba(const QString& plantilla = ruta_base_demo());
    static QString ruta_base_demo();

    // The SQLite file; empty on PostgreSQL.
    QString archivo() const { return archivo_; }
    QString dsn() const { return dsn_; }
    // Opens Conexion() on this copy.
    void abrir() const;

private:
    QTemporaryDir carpeta_;
    QString archivo_;
    QString dsn_;
    std::unique_ptr<BasePostgres> postgres_;
};

// Writes the data source of an SQLite file with scripts/escribir_origen.sh,
// the writer of the program's own set-up.
void escribir_origen(const QString& dsn, const QString& base);

// Records every message the program shows while it lives.
class RegistroMensajes final {
public:
    struct Mensaje {
        QString texto;
        QString titulo;
        IconoMensaje icono;
    };
    RegistroMensajes();
    ~RegistroMensajes();
    RegistroMensajes(const RegistroMensajes&) = delete;
    RegistroMensajes& operator=(const RegistroMensajes&) = delete;

    QList<Mensaje> mensajes;
    QStringList textos() const;
    // Questions asked meanwhile, each answered with `respuesta`.
    QStringList preguntas;
    bool respuesta = true;
    void limpiar() { mensajes.clear(); }

private:
    Mensajero anterior_;
    Preguntador pregunta_anterior_;
};

// Writes a picture of the window into build/screenshots/<nombre>.png.
void guardar_captura(QWidget* ventana, const QString& nombre);

// The data source file of the PostgreSQL server started by the test script,
// empty when there is none.
QString dsn_postgres();

// Who a case must run as: a refusal that only an ordinary user meets (root
// reads and writes any file), or what only root may do (mount a small disk).
enum class Usuario { SinDerechos, Root };

// True when this process is the one to run the current test case. Otherwise
// the case has just run in a child process of this test program as that
// user (root drops to a throwaway user id with setpriv; an ordinary user
// becomes root of a user namespace of its own with unshare), its outcome is
// this case's outcome, and the caller returns. A child that cannot be
// started is a failure, never a skip.
bool correr_como(Usuario quien);

// The test server's data source pointing at the database `base`, written as
// <carpeta>/<base>.dsn.
QString escribir_dsn_postgres(const QString& carpeta, const QString& base);

// Puts a procedure of the test's own in place of the database's `nombre`, on
// the open connection, on either engine: one SELECT (written in SQL both
// engines read) whose `?` take, in order, the command's arguments numbered in
// `parametros` (from 1), for a command of `argumentos` arguments. On SQLite a
// row of `procedimientos`; on PostgreSQL a function of text arguments
// returning the rows of a view of the same SELECT.
void procedimiento_prueba(const QString& nombre, int argumentos, const QString& consulta,
                          const QList<int>& parametros = {});

// An indicator's year as Consulta_modificar returns it through Conexion(),
// one "value|target|baseline|id" line per month.
QStringList meses_guardados(const QString& indicador, const QString& anio);

// The settings file the program writes in this test process (a temporary
// folder of its own, set before any test runs).
QString carpeta_configuracion();

// The default locale set for one test, and the previous one put back.
class LocalePrueba final {
public:
    explicit LocalePrueba(const QString& nombre) : anterior_(QLocale()) { QLocale::setDefault(QLocale(nombre)); }
    ~LocalePrueba() { QLocale::setDefault(anterior_); }
    LocalePrueba(const LocalePrueba&) = delete;
    LocalePrueba& operator=(const LocalePrueba&) = delete;

private:
    QLocale anterior_;
};
