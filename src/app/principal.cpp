#include "app/principal.h"

#include "app/boton_menu.h"
#include "app/terminar.h"
#include "ui/imagenes.h"
#include "ui/registro_ventanas.h"
#include "ui/twips.h"
#include "ui/atender.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QPushButton>

Principal::Principal(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Principal"));
    setWindowTitle(QStringLiteral("Velmora 1.0 (Brelvo)"));
    fijar_fondo(this, QStringLiteral("menu"));

    boton_nuevo = boton_menu(this, QStringLiteral("boton_nuevo"), QStringLiteral("Crear && Eliminar"), QStringLiteral("nuevo"));
    boton_modificar = boton_menu(this, QStringLiteral("boton_modificar"), QStringLiteral("Modificar"), QStringLiteral("modificar"));
    boton_reporte = boton_menu(this, QStringLiteral("boton_reporte"), QStringLiteral("Reportes"), QStringLiteral("reportes"));
    cmd_exportar = boton_menu(this, QStringLiteral("cmd_exportar"), QStringLiteral("Exportar"), QStringLiteral("exportar"));
    cmd_tende = boton_menu(this, QStringLiteral("cmd_tende"), QStringLiteral("  Tendencia Desempeño"), QStringLiteral("tendencia"));
    cmd_kpi = boton_menu(this, QStringLiteral("cmd_kpi"), QStringLiteral("Consulta KPI"), QStringLiteral("kpi"));
    cmd_historial = boton_menu(this, QStringLiteral("cmd_historial"), QStringLiteral("Historial"), QStringLiteral("historial"));
    cmd_salir = boton_menu(this, QStringLiteral("cmd_salir"), QStringLiteral("Salir"), QStringLiteral("salir"));

    // Data entry on the left, what is read on the right, leaving at the foot.
    auto* capa = new QGridLayout(this);
    const int margen = twips_a_px(450, this);
    capa->setContentsMargins(margen, margen, margen, margen);
    capa->setHorizontalSpacing(twips_a_px(300, this));
    capa->addWidget(boton_nuevo, 0, 0);
    capa->addWidget(boton_modificar, 1, 0);
    capa->addWidget(cmd_kpi, 2, 0);
    capa->addWidget(boton_reporte, 0, 1);
    capa->addWidget(cmd_tende, 1, 1);
    capa->addWidget(cmd_exportar, 2, 1);
    capa->addWidget(cmd_historial, 3, 0);
    capa->setRowStretch(4, 1);
    capa->addWidget(cmd_salir, 5, 1);
    fijar_area_cliente(this, 7200, 4650);

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
    terminar_programa();
}

void Principal::closeEvent(QCloseEvent* evento)
{
    evento->ignore();
    terminar_programa();
}
