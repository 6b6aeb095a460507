#pragma once

#include "data/comandos.h"

#include <QHash>
#include <QList>
#include <QString>

#include <vector>

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

private:
    struct Paso {
        QString sentencia;
        QList<int> argumentos; // 1-based: which argument each ? takes
    };
    using Cuerpo = std::vector<Paso>;

    const Cuerpo& cuerpo(const QString& nombre);

    const Sentencias& sentencias_;
    QHash<QString, Cuerpo> cuerpos_;
    bool todos_cargados_ = false;
};

} // namespace velmora
