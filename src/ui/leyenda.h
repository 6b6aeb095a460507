// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// What each report picture means, for tooltips, screen readers, copied
// text and the legend: "Verde: meta cumplida". Empty for an unknown name.
QString significado_imagen(const QString& nombre);

// The pictures the legend shows, status first, then trend.
const QStringList& imagenes_leyenda();

// Tooltips of a shown picture: its meaning and the numbers behind it, e.g.
// "72 % del camino de la línea base a la meta". A picture the rules would
// not give for these numbers (a forced "Blanco") gets its meaning alone.
QString ayuda_estado(const QString& mostrada, const QString& V, const QString& M, const QString& B);
QString ayuda_tendencia(const QString& mostrada, const QString& V, const QString& C);

} // namespace velmora
