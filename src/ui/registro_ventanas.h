// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

namespace velmora {

// The one place that shows, hides and unloads the program's windows. A
// window is created on first show (its constructor is its load step) and
// kept until it is unloaded.
class RegistroVentanas final {
public:
    using Fabrica = std::function<QWidget*()>;

    static RegistroVentanas& instancia();

    void registrar(const QString& nombre, Fabrica fabrica);
    bool registrada(const QString& nombre) const;

    // Creates the window when it does not exist yet, without showing it.
    // nullptr after a database error loading it: a refusal (busy, server lost) was shown; any other ends the program.
    QWidget* cargar(const QString& nombre);
    // Creates it if needed, then shows it modeless and brings it forward.
    QWidget* mostrar(const QString& nombre);
    void ocultar(const QString& nombre);
    // Destroys it; the next show creates and loads it afresh.
    void descargar(const QString& nombre);
    // The loaded window, or nullptr.
    QWidget* ventana(const QString& nombre) const;

    // Unloads every window (tests start each case from nothing).
    void descargar_todas();

private:
    RegistroVentanas() = default;
    QHash<QString, Fabrica> fabricas_;
    QHash<QString, QPointer<QWidget>> ventanas_;
};

} // namespace velmora
