// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ventanas.h"

#include "app/fet049tf.h"
#include "app/menu_nuevo.h"
#include "app/principal.h"
#include "app/principalgeneral.h"
#include "app/reportes.h"
#include "app/terminar.h"
#include "entry/eliminar.h"
#include "entry/historial.h"
#include "entry/kpi.h"
#include "entry/modificar.h"
#include "entry/nuevo.h"
#include "entry/nuevo_registro.h"
#include "export/exportar.h"
#include "reports/departamentales.h"
#include "reports/principales.h"
#include "trend/tendencia_y_desempeno.h"
#include "ui/registro_ventanas.h"

#include "ui/listas.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace velmora {

namespace {

// Each window of the program is a window to screen readers (AT-SPI "frame",
// named by its title), not the "filler" a plain widget is.
QAccessibleInterface* fabrica_ventanas(const QString& clase, QObject* objeto)
{
    if (!clase.startsWith(QLatin1String("velmora::")))
        return nullptr;
    auto* ventana = qobject_cast<QWidget*>(objeto);
    if (!ventana || !ventana->isWindow() || ventana->inherits("QDialog"))
        return nullptr;
    return new QAccessibleWidget(ventana, QAccessible::Window);
}

} // namespace

void registrar_ventanas()
{
    salir_con_teclado();
    instalar_accesibilidad_listas();
    static const bool ventanas_accesibles = [] {
        QAccessible::installFactory(fabrica_ventanas);
        return true;
    }();
    Q_UNUSED(ventanas_accesibles);
    RegistroVentanas& r = RegistroVentanas::instancia();
    r.registrar(QStringLiteral("FET049TF"), [] { return new FET049TF; });
    r.registrar(QStringLiteral("Principal"), [] { return new Principal; });
    r.registrar(QStringLiteral("Principalgeneral"), [] { return new Principalgeneral; });
    r.registrar(QStringLiteral("Reportes"), [] { return new Reportes; });
    r.registrar(QStringLiteral("Menu_Nuevo"), [] { return new Menu_Nuevo; });

    r.registrar(QStringLiteral("Nuevo"), [] { return new Nuevo; });
    r.registrar(QStringLiteral("Eliminar"), [] { return new Eliminar; });
    r.registrar(QStringLiteral("Modificar"), [] { return new Modificar; });
    r.registrar(QStringLiteral("Principales"), [] { return new Principales; });
    r.registrar(QStringLiteral("Departamentales"), [] { return new Departamentales; });
    r.registrar(QStringLiteral("Tendencia_y_Desempeño"), [] { return new Tendencia_y_Desempeño; });
    r.registrar(QStringLiteral("Exportar"), [] { return new Exportar; });
    r.registrar(QStringLiteral("Nuevo_Registro"), [] { return new Nuevo_Registro; });
    r.registrar(QStringLiteral("KPI"), [] { return new KPI; });
    r.registrar(QStringLiteral("Historial"), [] { return new Historial; });
}

} // namespace velmora
