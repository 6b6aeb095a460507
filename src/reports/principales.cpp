// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/principales.h"

#include "data/comandos.h"
#include "reports/reporte_estado.h"
#include "reports/ventana_reporte.h"
#include "ui/controles.h"
#include "ui/grid/grilla.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "ui/atender.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace velmora {

Principales::Principales(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Principales"));
    setWindowTitle(QStringLiteral("Principales"));
    fijar_fondo(this, QStringLiteral("principal"));

    Label_Perspectiva = etiqueta(this, QStringLiteral("Label_Perspectiva"), QStringLiteral("Perspectiva :"));
    Cmb_Perspectiva_Reporte = lista_ancha(this, QStringLiteral("Cmb_Perspectiva_Reporte"), 3000);
    Label_Año = etiqueta(this, QStringLiteral("Label_Año"), QStringLiteral("Año :"));
    Cmb_Año_Reporte = lista_ancha(this, QStringLiteral("Cmb_Año_Reporte"), 1000);
    Label_Mes = etiqueta(this, QStringLiteral("Label_Mes"), QStringLiteral("Mes :"));
    Cmb_mes_Reporte = lista_ancha(this, QStringLiteral("Cmb_mes_Reporte"), 1600);
    Button_Cargar_ReporteSocial =
        boton(this, QStringLiteral("Button_Cargar_ReporteSocial"), QStringLiteral("Ver"), QStringLiteral("ver"));
    Flex3 = nombrado<Grilla>(this, QStringLiteral("Flex3"));
    Flex4 = new ModeloGrilla(this);
    Flex4->setObjectName(QStringLiteral("Flex4"));

    disponer_reporte(this,
                     {{Label_Perspectiva, Cmb_Perspectiva_Reporte}, {Label_Año, Cmb_Año_Reporte}, {Label_Mes, Cmb_mes_Reporte}},
                     Button_Cargar_ReporteSocial, Flex3, mostrado);

    connect(Button_Cargar_ReporteSocial, &QPushButton::clicked, this, atendido(this, &Principales::Button_Cargar_ReporteSocial_Click));
    Form_Load();
}

void Principales::Form_Load()
{
    preparar_grillas(*Flex3, *Flex4, forma_principal(), mostrado);
    llenar_lista(Cmb_Perspectiva_Reporte, comando_consulta(QStringLiteral("Perspectivas")), QStringLiteral("perspectiva"), 50);
    llenar_lista(Cmb_Año_Reporte, comando_consulta(QStringLiteral("Año")), QStringLiteral("año"), 5);
    llenar_meses(Cmb_mes_Reporte);
}

void Principales::Button_Cargar_ReporteSocial_Click()
{
    ver_reporte(forma_principal(), Cmb_Perspectiva_Reporte->currentText(), Cmb_Año_Reporte->currentText(),
                Cmb_mes_Reporte->currentText(), *Flex3->modelo(), *Flex4, mostrado);
}

} // namespace velmora
