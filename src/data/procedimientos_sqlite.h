// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/comandos.h"

#include <QHash>
#include <QList>
#include <QString>

#include <vector>

class QSqlQuery;

namespace velmora {

class Resultado;
class Sentencias;

// SQLite has no stored procedures: their bodies live in the database's own
// table procedimientos (one row per statement, with the argument each ?
// takes) and the program runs them itself.
class ProcedimientosSqlite final {
public:
    explicit ProcedimientosSqlite(const Sentencias& sentencias);

    Resultado ejecutar(const LlamadaExec& llamada);

    // Every body at once, before a write transaction begins (see the .cpp).
    void cargar_todos();
    // Bodies are read afresh after a command that may change them.
    void ver_comando(const QString& comando);
    void olvidar();

    // A database made by an earlier version of the program, brought up to
    // date when it is opened, keeping every row and id: ids never given
    // again, numbers read whole, the current procedures, names in NFC.
    void actualizar_base();
    // The file has this version's columns (nothing for actualizar_base to do).
    bool al_dia() const;

    struct Argumento {
        int indice = 0;       // 1-based: which argument the ? takes
        bool numero = false;  // bound as the double the program reads from it
    };
    struct Paso {
        QString sentencia;
        QList<Argumento> argumentos; // one per ?, in order
    };

private:
    using Cuerpo = std::vector<Paso>;

    const Cuerpo& cuerpo(const QString& nombre);
    QSqlQuery preparar(const Paso& paso, const QStringList& argumentos) const;
    QStringList columnas(const QString& tabla) const;
    void sin_reusar_ids(const QString& tabla) const;
    void nombres_en_nfc() const;

    const Sentencias& sentencias_;
    QHash<QString, Cuerpo> cuerpos_;
    bool todos_cargados_ = false;
};

} // namespace velmora
