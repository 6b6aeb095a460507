#include "app/ventanas.h"

#include "app/fet049tf.h"
#include "app/menu_nuevo.h"
#include "app/principal.h"
#include "app/principalgeneral.h"
#include "app/reportes.h"
#include "reports/departamentales.h"
#include "reports/principales.h"
#include "ui/registro_ventanas.h"

#include <QWidget>

namespace {

// Stands in for a screen that is not built yet, so the menus can open it.
QWidget* ventana_vacia(const QString& nombre, const QString& titulo)
{
    auto* v = new QWidget;
    v->setObjectName(nombre);
    v->setWindowTitle(titulo);
    return v;
}

} // namespace

void registrar_ventanas()
{
    RegistroVentanas& r = RegistroVentanas::instancia();
    r.registrar(QStringLiteral("FET049TF"), [] { return new FET049TF; });
    r.registrar(QStringLiteral("Principal"), [] { return new Principal; });
    r.registrar(QStringLiteral("Principalgeneral"), [] { return new Principalgeneral; });
    r.registrar(QStringLiteral("Reportes"), [] { return new Reportes; });
    r.registrar(QStringLiteral("Menu_Nuevo"), [] { return new Menu_Nuevo; });

    r.registrar(QStringLiteral("Nuevo"), [] { return ventana_vacia(QStringLiteral("Nuevo"), QStringLiteral("Nuevo Indicador")); });
    r.registrar(QStringLiteral("Eliminar"), [] { return ventana_vacia(QStringLiteral("Eliminar"), QStringLiteral("Eliminar Indicador")); });
    r.registrar(QStringLiteral("Modificar"), [] { return ventana_vacia(QStringLiteral("Modificar"), QStringLiteral("Modificar")); });
    r.registrar(QStringLiteral("Principales"), [] { return new Principales; });
    r.registrar(QStringLiteral("Departamentales"), [] { return new Departamentales; });
    r.registrar(QStringLiteral("Tendencia_y_Desempeño"), [] { return ventana_vacia(QStringLiteral("Tendencia_y_Desempeño"), QStringLiteral("Tendencia y Desempeño")); });
    r.registrar(QStringLiteral("Exportar"), [] { return ventana_vacia(QStringLiteral("Exportar"), QStringLiteral("Exportar")); });
    r.registrar(QStringLiteral("Nuevo_Registro"), [] { return ventana_vacia(QStringLiteral("Nuevo_Registro"), QStringLiteral("Nuevo Registro")); });
    r.registrar(QStringLiteral("KPI"), [] { return ventana_vacia(QStringLiteral("KPI"), QStringLiteral("Modificar2")); });
}
