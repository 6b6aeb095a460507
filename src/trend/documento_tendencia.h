// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QChartView;
class QWidget;

namespace velmora {

class Grilla;
class ModeloGrilla;
struct DocumentoImpreso;

// What "Imprimir" prints on the trend screen: the choices of the shown table
// (`seleccion`, from seleccion_tendencia), all twelve months of the table
// and the baselines, the chart when one is shown and was drawn from the
// table shown (Flex2 holds its ratios), and the legend.
DocumentoImpreso documento_tendencia(const QWidget* ventana, const QStringList& seleccion, const Grilla& tabla,
                                     const Grilla& bases, const ModeloGrilla& Flex2, const QChartView& grafica);

} // namespace velmora
