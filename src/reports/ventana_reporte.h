// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace velmora {

class Grilla;
struct DocumentoImpreso;
struct ReporteMostrado;

// Pieces the two report windows share; each window keeps them as its own
// named members.

// The client area of both report windows, in twips.
inline constexpr int kAnchoReporte = 10095;
inline constexpr int kAltoReporte = 5775;

// What "Imprimir" prints: the title, the choices of the shown report (each
// named by its label), the status grid's rows and the legend.
DocumentoImpreso documento_reporte(const QWidget* ventana, const QList<QLabel*>& etiquetas, const Grilla& grilla,
                                   const ReporteMostrado& mostrado);

// Lists with their labels and "Ver" along the top, the status grid framed
// below, widening with the window; sets the starting client area. "Ver" gets
// a larger picture and answers Enter.
void disponer_reporte(QWidget* ventana, const QList<QPair<QLabel*, QComboBox*>>& listas,
                      QPushButton* ver, Grilla* grilla, const ReporteMostrado& mostrado);

} // namespace velmora
