#include "ui/twips.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

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

void fijar_area_cliente(QWidget* ventana, int ancho_twips, int alto_twips)
{
    ventana->setFixedSize(twips_a_px(ancho_twips, ventana), twips_a_px(alto_twips, ventana));
}
