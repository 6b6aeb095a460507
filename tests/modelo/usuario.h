// SPDX-License-Identifier: GPL-3.0-or-later
// One user of the random test: a process of its own with its own connection
// and its own windows (Nuevo, Eliminar, Historial, Modificar, KPI, Nuevo
// registro), driven by control name. It reads one order a line (JSON) and
// answers one line: the messages the screens showed, or what went wrong.
#pragma once

#include <QJsonObject>
#include <QString>
#include <QWidget>

#include <memory>

class QProcess;

namespace modelo {

// A window shown and active, as a user opens it.
std::unique_ptr<QWidget> activa(std::unique_ptr<QWidget> ventana);
template <class V>
std::unique_ptr<V> abrir()
{
    return std::unique_ptr<V>(static_cast<V*>(activa(std::make_unique<V>()).release()));
}

// Picks the item of the list that shows this name (lists pad their items
// with blanks), as a user does; throws when there is none.
void escoger(const QWidget* ventana, const QString& lista, const QString& nombre);

// The loop of the user process (this program with --usuario <n>).
int correr_usuario(int numero);

// The parent's handle on one user process.
class ProcesoUsuario final {
public:
    ProcesoUsuario(const QString& programa, int numero);
    ~ProcesoUsuario();
    ProcesoUsuario(const ProcesoUsuario&) = delete;
    ProcesoUsuario& operator=(const ProcesoUsuario&) = delete;

    // Sends the order, waits for the answer.
    QJsonObject pedir(const QJsonObject& orden);

private:
    std::unique_ptr<QProcess> proceso_;
    int numero_;
};

} // namespace modelo
