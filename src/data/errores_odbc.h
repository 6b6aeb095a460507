// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Inside data/ only: the user's words for a database or server that could
// not serve a press. What a driver's failure becomes (the error raised) is
// Sentencias::lanzar, in errores_odbc.cpp beside these texts.

#include <QString>

namespace velmora {

QString sin_respuesta(int segundos);
QString sin_respuesta_al_conectar(int segundos);
QString sin_servidor(const QString& detalle);
QString confirmacion_perdida();

} // namespace velmora
