// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/twips.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace velmora {

namespace {

int dpi(const QWidget* referencia)
{
    if (referencia)
        return referencia->logicalDpiX();
    if (const QScreen* pantalla = QGuiApplication::primaryScreen())
        return qRound(pantalla->logicalDotsPerInchX());
    return 96;
}

} // namespace

int twips_a_px(int twips, const QWidget* referencia)
{
    return static_cast<int>(std::lround(twips * dpi(referencia) / 1440.0));
}

int px_a_twips(int px, const QWidget* referencia)
{
    return static_cast<int>(std::lround(px * 1440.0 / dpi(referencia)));
}

void ubicar(QWidget* control, int izquierda, int arriba, int ancho, int alto)
{
    const QWidget* ventana = control->window();
    control->setGeometry(twips_a_px(izquierda, ventana), twips_a_px(arriba, ventana), twips_a_px(ancho, ventana),
                         twips_a_px(alto, ventana));
}

void fijar_area_cliente(QWidget* ventana, int ancho_twips, int alto_twips)
{
    QSize tamano(twips_a_px(ancho_twips, ventana), twips_a_px(alto_twips, ventana));
    // Controls kept at a distance from the right or bottom edge measure it from here.
    ventana->setProperty("velmora_tamano_diseno", tamano);
    // A window larger than the screen would hide its lower controls.
    if (const QScreen* pantalla = ventana->screen())
        tamano = tamano.boundedTo(pantalla->availableGeometry().size());
    // Controls placed by position need the whole area; a layout knows its own minimum.
    if (!ventana->layout())
        ventana->setMinimumSize(tamano);
    ventana->resize(tamano);
}

} // namespace velmora
