// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/departamentales.h"

#include "data/comandos.h"
#include "reports/reporte_estado.h"
#include "reports/ventana_reporte.h"
#include "ui/controles.h"
#include "ui/grid/grilla.h"
#include "ui/listas.h"
#include "ui/atender.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace velmora {

Departamentales::Departamentales(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Departamentales"));
    setWindowTitle(QStringLiteral("Departamentales"));

    Label_Departamento = etiqueta(this, QStringLiteral("Label_Departamento"), QStringLiteral("Departamento :"));
    Cmb_Departamentos_Reporte = lista_ancha(this, QStringLiteral("Cmb_Departamentos_Reporte"), 3000);
    Label_Año = etiqueta(this, QStringLiteral("Label_Año"), QStringLiteral("Año :"));
    Cmb_Año_Reporte = lista_ancha(this, QStringLiteral("Cmb_Año_Reporte"), 1000);
    Label_Mes = etiqueta(this, QStringLiteral("Label_Mes"), QStringLiteral("Mes :"));
    Cmb_Trimestre_ReporteSocial = lista_ancha(this, QStringLiteral("Cmb_Trimestre_ReporteSocial"), 1600);
    Button_Cargar_ReporteSocial =
        boton(this, QStringLiteral("Button_Cargar_ReporteSocial"), QStringLiteral("Ver"), QStringLiteral("ver"));
    Flex31 = nombrado<Grilla>(this, QStringLiteral("Flex31"));
    Flex41 = new ModeloGrilla(this);
    Flex41->setObjectName(QStringLiteral("Flex41"));

    disponer_reporte(this,
                     {{Label_Departamento, Cmb_Departamentos_Reporte},
                      {Label_Año, Cmb_Año_Reporte},
                      {Label_Mes, Cmb_Trimestre_ReporteSocial}},
                     Button_Cargar_ReporteSocial, Flex31, mostrado);

    connect(Button_Cargar_ReporteSocial, &QPushButton::clicked, this,
            atendido(this, &Departamentales::Button_Cargar_ReporteSocial_Click));
    Form_Load();
}

void Departamentales::Form_Load()
{
    preparar_grillas(*Flex31, *Flex41, forma_departamental(), mostrado);
    llenar_lista(Cmb_Departamentos_Reporte, comando_consulta(QStringLiteral("Departamentos")), QStringLiteral("Departamento"), 50);
    llenar_lista(Cmb_Año_Reporte, comando_consulta(QStringLiteral("Año")), QStringLiteral("año"), 5);
    llenar_meses(Cmb_Trimestre_ReporteSocial);
}

void Departamentales::Button_Cargar_ReporteSocial_Click()
{
    ver_reporte(forma_departamental(), Cmb_Departamentos_Reporte->currentText(), Cmb_Año_Reporte->currentText(),
                Cmb_Trimestre_ReporteSocial->currentText(), *Flex31->modelo(), *Flex41, mostrado);
}

} // namespace velmora
