#pragma once

#include <QString>
#include <QStringList>

// What each report picture means, for tooltips, screen readers, copied
// text and the legend: "Verde: meta cumplida". Empty for an unknown name.
QString significado_imagen(const QString& nombre);

// The pictures the legend shows, status first, then trend.
const QStringList& imagenes_leyenda();
