// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace velmora {

// A value between single quotes, its own quotes doubled, so that any typed
// text reaches the database as typed and never changes the command.
QString entre_comillas(const QString& valor);

// "select * from Tabla " (a name holding a blank is bracketed).
QString comando_consulta(const QString& tabla);

// "Exec nombre 'a','b'"; "Exec nombre" when there are no arguments.
QString comando_exec(const QString& nombre, const QStringList& argumentos = {});

// As comando_exec, with "', '" after the first argument (the trend commands).
QString comando_exec_tendencia(const QString& nombre, const QStringList& argumentos);

// "Exec modificar 'base','valor','meta','id' " with its trailing blank.
QString comando_modificar(const QString& base, const QString& valor, const QString& meta,
                          const QString& id);

// A procedure call read back from its command text.
struct LlamadaExec {
    QString nombre;
    QStringList argumentos;
    bool operator==(const LlamadaExec&) const = default;
};

// Reads "Exec nombre 'a','b'" (either separator, trailing blanks allowed).
// nullopt when the text is not a procedure call of that form.
std::optional<LlamadaExec> analizar_exec(const QString& comando);

} // namespace velmora
