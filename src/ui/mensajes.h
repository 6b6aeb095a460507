// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace velmora {

enum class IconoMensaje { Ninguno, Informacion, Critico };

// The one way the program shows a modal message with an OK button. An empty
// title shows the program's name. The text also goes to standard error, on
// one line after "velmora: ".
void mostrar_mensaje(const QString& texto, const QString& titulo = QString(),
                     IconoMensaje icono = IconoMensaje::Informacion);

// The usual box of the screens: title "Mensajes", information icon.
inline void mensaje(const QString& texto)
{
    mostrar_mensaje(texto, QStringLiteral("Mensajes"), IconoMensaje::Informacion);
}

// Replaces how messages are shown (tests record them); returns the previous way.
using Mensajero = std::function<void(const QString& texto, const QString& titulo, IconoMensaje)>;
Mensajero establecer_mensajero(Mensajero nuevo);

// A yes-or-no question over the active window (title "Mensajes"); true
// when the user answers "Sí". "No" is the default answer.
bool preguntar(const QString& texto);

// Replaces how questions are asked (tests answer them); returns the previous way.
using Preguntador = std::function<bool(const QString& texto)>;
Preguntador establecer_preguntador(Preguntador nuevo);

} // namespace velmora
