// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pagina_impresion.h"

#include "ui/ventana_escritorio.h"

#include <QLocale>
#include <QSettings>

namespace velmora {

namespace {

constexpr double kMargenPorDefecto = 15; // mm

QString clave(const char* nombre)
{
    return QStringLiteral("impresion/") + QLatin1String(nombre);
}

double margen(const QSettings& ajustes, const char* nombre)
{
    bool ok = false;
    const double mm = ajustes.value(clave(nombre), kMargenPorDefecto).toDouble(&ok);
    // A hand-edited value that is no length gives the usual margin.
    return ok && mm >= 0 && mm <= 100 ? mm : kMargenPorDefecto;
}

} // namespace

QPageLayout disposicion_pagina()
{
    QSettings& ajustes = configuracion();
    const QPageSize::PageSizeId por_defecto =
        QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4;
    const auto tamano = QPageSize::PageSizeId(ajustes.value(clave("tamano"), int(por_defecto)).toInt());
    const auto orientacion =
        QPageLayout::Orientation(ajustes.value(clave("orientacion"), int(QPageLayout::Portrait)).toInt());
    const QMarginsF margenes(margen(ajustes, "margen_izquierdo"), margen(ajustes, "margen_superior"),
                             margen(ajustes, "margen_derecho"), margen(ajustes, "margen_inferior"));
    QPageLayout disposicion(QPageSize(tamano), orientacion, QMarginsF(), QPageLayout::Millimeter);
    // Margins the page cannot hold (a hand-edited file) leave the least ones.
    if (!disposicion.setMargins(margenes))
        disposicion.setMargins(QMarginsF(kMargenPorDefecto, kMargenPorDefecto, kMargenPorDefecto, kMargenPorDefecto));
    return disposicion;
}

void guardar_disposicion_pagina(const QPageLayout& disposicion)
{
    QSettings& ajustes = configuracion();
    ajustes.setValue(clave("tamano"), int(disposicion.pageSize().id()));
    ajustes.setValue(clave("orientacion"), int(disposicion.orientation()));
    const QMarginsF mm = disposicion.margins(QPageLayout::Millimeter);
    ajustes.setValue(clave("margen_izquierdo"), mm.left());
    ajustes.setValue(clave("margen_superior"), mm.top());
    ajustes.setValue(clave("margen_derecho"), mm.right());
    ajustes.setValue(clave("margen_inferior"), mm.bottom());
}

} // namespace velmora
