// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;
class QRectF;

namespace velmora {

// What a screen hands to printing: a document described in plain values,
// drawn for the page by pintar_documento (ui/maqueta.h), never a picture of
// the window.

// One table as printed: its heading row, its rows (text and picture name
// per cell; a picture is drawn from its SVG, never from a screen pixmap) and
// the designed column widths in twips, used as proportions.
struct TablaImpresa {
    QStringList encabezados;
    QList<QStringList> textos;
    QList<QStringList> imagenes; // as many rows as textos, or none
    QList<int> anchos;           // twips, one per column
    int columnas_fijas = 0;      // row headings (a row's name), repeated in each band
};

struct DocumentoImpreso {
    QString titulo;
    QStringList seleccion; // "Perspectiva: Financiero", "Año: 2009", ...
    QList<TablaImpresa> tablas;
    // Draws the chart into the given rectangle; empty when the screen shows none.
    std::function<void(QPainter&, const QRectF&)> grafica;
    // The least size, in points, at which the chart reads whole: the chart
    // gives up height down to it so that the legend stays on its page.
    QSizeF grafica_minima;
};

} // namespace velmora
