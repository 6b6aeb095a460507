// SPDX-License-Identifier: GPL-3.0-or-later
#include "trend/documento_tendencia.h"

#include "trend/grafica_tendencia.h"
#include "ui/grid/grilla.h"
#include "ui/impresion.h"

#include <QChartView>
#include <QPainter>

namespace velmora {

DocumentoImpreso documento_tendencia(const QWidget* ventana, const QStringList& seleccion, const Grilla& tabla,
                                     const Grilla& bases, const ModeloGrilla& Flex2, const QChartView& grafica)
{
    DocumentoImpreso documento;
    documento.titulo = ventana->windowTitle();
    documento.seleccion = seleccion;
    documento.tablas << tabla_impresa(*tabla.modelo()) << tabla_impresa(*bases.modelo());
    const QChartView* vista = &grafica;
    // The chart stays on screen when "Ver" fills the table again; drawn from
    // another table it would go out under this table's choices.
    const auto* mostrada = dynamic_cast<const GraficaTendencia*>(vista->chart());
    if (mostrada && mostrada->celdas() == celdas_grafica(*tabla.modelo(), Flex2)) {
        // Laid out on paper one unit a point: its least size in points.
        documento.grafica_minima = tamano_minimo_grafica();
        documento.grafica = [vista](QPainter& p, const QRectF& destino) {
            if (const auto* g = dynamic_cast<const GraficaTendencia*>(vista->chart()))
                pintar_grafica(*g, p, destino);
        };
    }
    return documento;
}

} // namespace velmora
