// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/principal.h"

#include "app/menu.h"
#include "app/terminar.h"
#include "ui/imagenes.h"
#include "ui/registro_ventanas.h"
#include "ui/atender.h"
#include "ui/controles.h"

#include <QPushButton>

namespace velmora {

Principal::Principal(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Principal"));
    setWindowTitle(QStringLiteral("Velmora 1.0 (Brelvo)"));
    fijar_fondo(this, QStringLiteral("menu"));
    terminar_al_cerrar(this);

    boton_nuevo = boton(this, QStringLiteral("boton_nuevo"), QStringLiteral("Crear && Eliminar"), QStringLiteral("nuevo"));
    boton_modificar = boton(this, QStringLiteral("boton_modificar"), QStringLiteral("Modificar"), QStringLiteral("modificar"));
    boton_reporte = boton(this, QStringLiteral("boton_reporte"), QStringLiteral("Reportes"), QStringLiteral("reportes"));
    cmd_exportar = boton(this, QStringLiteral("cmd_exportar"), QStringLiteral("Exportar"), QStringLiteral("exportar"));
    cmd_tende = boton(this, QStringLiteral("cmd_tende"), QStringLiteral("  Tendencia Desempeño"), QStringLiteral("tendencia"));
    cmd_kpi = boton(this, QStringLiteral("cmd_kpi"), QStringLiteral("Consulta KPI"), QStringLiteral("kpi"));
    cmd_historial = boton(this, QStringLiteral("cmd_historial"), QStringLiteral("Historial"), QStringLiteral("historial"));
    cmd_salir = boton(this, QStringLiteral("cmd_salir"), QStringLiteral("Salir"), QStringLiteral("salir"));

    // Data entry on the left, what is read on the right, leaving at the foot.
    disponer_menu(this,
                  {{boton_nuevo, boton_modificar, cmd_kpi, cmd_historial}, {boton_reporte, cmd_tende, cmd_exportar}},
                  cmd_salir, 7200, 4650);

    connect(boton_nuevo, &QPushButton::clicked, this, atendido(this, &Principal::boton_nuevo_Click));
    connect(boton_modificar, &QPushButton::clicked, this, atendido(this, &Principal::boton_modificar_Click));
    connect(boton_reporte, &QPushButton::clicked, this, atendido(this, &Principal::boton_reporte_Click));
    connect(cmd_exportar, &QPushButton::clicked, this, atendido(this, &Principal::cmd_exportar_Click));
    connect(cmd_tende, &QPushButton::clicked, this, atendido(this, &Principal::cmd_tende_Click));
    connect(cmd_kpi, &QPushButton::clicked, this, atendido(this, &Principal::cmd_kpi_Click));
    connect(cmd_historial, &QPushButton::clicked, this, atendido(this, &Principal::cmd_historial_Click));
    connect(cmd_salir, &QPushButton::clicked, this, atendido(this, &Principal::cmd_salir_Click));
}

void Principal::boton_nuevo_Click()
{
    RegistroVentanas::instancia().mostrar(QStringLiteral("Menu_Nuevo"));
}

void Principal::boton_modificar_Click()
{
    RegistroVentanas::instancia().mostrar(QStringLiteral("Modificar"));
}

void Principal::boton_reporte_Click()
{
    RegistroVentanas::instancia().mostrar(QStringLiteral("Reportes"));
}

void Principal::cmd_exportar_Click()
{
    RegistroVentanas::instancia().mostrar(QStringLiteral("Exportar"));
}

void Principal::cmd_tende_Click()
{
    RegistroVentanas::instancia().mostrar(QStringLiteral("Tendencia_y_Desempeño"));
}

void Principal::cmd_kpi_Click()
{
    RegistroVentanas::instancia().mostrar(QStringLiteral("KPI"));
}

void Principal::cmd_historial_Click()
{
    RegistroVentanas::instancia().mostrar(QStringLiteral("Historial"));
}

void Principal::cmd_salir_Click()
{
    salir_del_programa();
}

} // namespace velmora
