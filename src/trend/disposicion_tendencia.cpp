// SPDX-License-Identifier: GPL-3.0-or-later
#include "trend/disposicion_tendencia.h"

#include "trend/grafica_tendencia.h"
#include "ui/grid/grilla.h"
#include "ui/twips.h"

#include <QChartView>
#include <QEvent>
#include <QFrame>
#include <QStyle>

namespace velmora {

namespace {

// The designed places, in twips.
constexpr int kAnchoVentana = kAnchoVentanaTendencia;
constexpr int kAltoVentana = kAltoVentanaTendencia;
constexpr int kX = 240;            // table and baselines
constexpr int kYTabla = 2160;
constexpr int kAltoTabla = 3015;
constexpr int kYBases = 5520;
constexpr int kAltoBases = 975;
constexpr int kAnchoTabla = 8415;
constexpr int kXGrafica = 9135;
constexpr int kYGrafica = 2160;
constexpr int kAnchoGrafica = 4815;
constexpr int kAltoGrafica = 4695;
constexpr int kMarco = 120; // a frame's distance around what it frames
constexpr int kTablaMinima = 3000; // the table's least width beside a wide chart

} // namespace

DisposicionTendencia::DisposicionTendencia(QWidget* ventana, Grilla* tabla, Grilla* bases, QChartView* grafica,
                                           QFrame* marco_tabla, QFrame* marco_bases, QFrame* marco_grafica)
    : QObject(ventana), ventana_(ventana), tabla_(tabla), bases_(bases), grafica_(grafica),
      marco_tabla_(marco_tabla), marco_bases_(marco_bases), marco_grafica_(marco_grafica)
{
    grafica_->setMinimumSize(tamano_minimo_grafica());
    ventana_->installEventFilter(this);
    aplicar();
}

QSize DisposicionTendencia::minimo() const
{
    auto px = [this](int twips) { return twips_a_px(twips, ventana_); };
    const QSize grafica = tamano_minimo_grafica();
    // A table of a couple of columns beside the chart, the design's margins
    // around them; the baselines and the chart in full height.
    const int ancho = px(kX) + px(kTablaMinima) + px(kXGrafica - kX - kAnchoTabla) + grafica.width()
                      + px(kAnchoVentana - kXGrafica - kAnchoGrafica);
    const int alto = std::max(px(kYBases + kAltoBases + 2 * kMarco),
                              px(kYGrafica) + grafica.height() + px(kMarco * 2));
    return {ancho, alto};
}

bool DisposicionTendencia::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == ventana_ && evento->type() == QEvent::Resize)
        aplicar();
    return false;
}

void DisposicionTendencia::aplicar()
{
    auto px = [this](int twips) { return twips_a_px(twips, ventana_); };
    const QSize minimo_grafica = tamano_minimo_grafica();
    const int extra_ancho = ventana_->width() - px(kAnchoVentana);
    const int extra_alto = ventana_->height() - px(kAltoVentana);
    // Room the table and the chart share across.
    const int reparto = px(kAnchoTabla) + px(kAnchoGrafica) + extra_ancho;
    int grafica = std::max(px(kAnchoGrafica), minimo_grafica.width());
    int tabla = reparto - grafica;
    // With room for a vertical scroll bar, which a horizontal one would bring.
    const int completa = tabla_->ancho_completo() + tabla_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tabla_);
    if (tabla > completa) {
        // Every month shows: the rest goes to the chart.
        tabla = std::max(completa, px(kAnchoTabla));
        grafica = reparto - tabla;
    }
    tabla = std::max(tabla, px(kTablaMinima));
    // A taller window gives the chart its height, but never more than the
    // design's proportion of its width: maximised, the table takes the width
    // its twelve months need and a chart as tall as the window would stand
    // beside it as a narrow strip.
    const int alto_proporcion = int(qint64(grafica) * kAltoGrafica / kAnchoGrafica);
    const int alto_grafica =
        std::max(minimo_grafica.height(), std::min(px(kAltoGrafica) + extra_alto, alto_proporcion));

    tabla_->setGeometry(px(kX), px(kYTabla), tabla, px(kAltoTabla));
    bases_->setGeometry(px(kX), px(kYBases), tabla, px(kAltoBases));
    const int x_grafica = px(kX) + tabla + px(kXGrafica - kX - kAnchoTabla);
    grafica_->setGeometry(x_grafica, px(kYGrafica), grafica, alto_grafica);
    const int m = px(kMarco);
    marco_tabla_->setGeometry(tabla_->geometry().adjusted(-m, -m, m, m));
    marco_bases_->setGeometry(bases_->geometry().adjusted(-m, -m, m, m));
    marco_grafica_->setGeometry(grafica_->geometry().adjusted(-m, -m, m, m));
}

} // namespace velmora
