// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "data/errores.h"

#include <functional>
#include <utility>

namespace velmora {

// A database error shown the way the program shows one it cannot go on
// from: "Error <number>" and its text, critical icon.
void informar_error(const ErrorBaseDatos& error);

// A press the database could not serve now: its text, as a plain message.
void informar_rechazo(const RechazoDatos& rechazo);

// Shows the error and ends the program with a failure code: every window
// hidden, the event loop told to end (as "Salir" does, but failing).
void terminar_por_error(const ErrorBaseDatos& error);

// Runs a step of the user's action. What the database could not do now
// (another user holds it, the server restarted or does not answer) is a
// message, and the user goes on: the press stored nothing, the next one
// tries again. Any other database error it lets through ends the program
// here, so it never travels through Qt's event code. Refusals of bad input
// are caught by the screens (sin_rechazo) before they get this far.
template <typename Accion>
void atender(Accion&& accion)
{
    try {
        std::forward<Accion>(accion)();
    } catch (const RechazoDatos& rechazo) {
        informar_rechazo(rechazo);
    } catch (const ErrorBaseDatos& error) {
        terminar_por_error(error);
    }
}

// Runs a step that hands the database what the user gave. When the database
// refuses that data, its text is shown and the answer is false: the action
// stops there and the user keeps the input to correct it.
bool sin_rechazo(const std::function<void()>& paso);

// A handler wrapped for connect():
//   connect(boton, &QPushButton::clicked, this, atendido(this, &Pantalla::boton_Click));
template <typename Objeto, typename Clase, typename... Argumentos>
auto atendido(Objeto* objeto, void (Clase::*manejador)(Argumentos...))
{
    return [objeto, manejador](Argumentos... argumentos) {
        atender([&] { (objeto->*manejador)(std::forward<Argumentos>(argumentos)...); });
    };
}

} // namespace velmora
