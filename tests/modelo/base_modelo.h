// SPDX-License-Identifier: GPL-3.0-or-later
// The database side of the random test: the fixture each sequence starts
// from (a copy of the demo data kept to three years), the whole state read
// back exactly, and the history replayed over the state a sequence started
// from.
#pragma once

#include "modelo.h"

#include <QTemporaryDir>

#include <memory>

namespace modelo {

// Everything the operations can change, as the database holds it.
struct Estado {
    std::map<QString, Indicador> indicadores; // orden is the id
    std::map<Clave, Registro> registros;
    qint64 ultimo_historial = 0;
};

// A fresh database for each sequence, on SQLite or on the test server.
class Bases final {
public:
    explicit Bases(bool postgres);
    ~Bases();
    Bases(const Bases&) = delete;
    Bases& operator=(const Bases&) = delete;

    // A new copy of the fixture; its data source path.
    QString nueva();
    QString dsn() const { return dsn_; }

private:
    void en(const QString& dsn, const QStringList& sentencias);

    bool postgres_;
    QTemporaryDir carpeta_;
    QString plantilla_;     // SQLite: the fixture file; PostgreSQL: its database
    QString mantenimiento_; // PostgreSQL: the data source of database postgres
    QString dsn_;
};

// On the open Conexion().
Catalogo leer_catalogo();
Estado leer_estado();
Modelo modelo_de(const Estado& e, const Catalogo& c, int usuarios);

// Where the model and the database differ (empty when they agree bit for bit).
QStringList diferencias(const Modelo& m, const Estado& e);

// The history replayed over the state a sequence started from, row by row
// as the rows come: each row must start from what the rows before it left,
// and all of them must give the database's current state.
class Repaso final {
public:
    explicit Repaso(const Estado& inicio);
    // Replays the rows added since, then compares with `ahora`: what does not
    // agree (empty when all does).
    QStringList seguir(const Estado& ahora);

private:
    std::map<QString, Num> campos_; // name|field -> code
    std::map<QString, std::set<int>> departamentos_;
    std::map<Clave, Registro> numeros_;
    qint64 ultimo_ = 0;
};

} // namespace modelo
