#include "app/principalgeneral.h"

#include "app/boton_menu.h"
#include "app/terminar.h"
#include "ui/imagenes.h"
#include "ui/registro_ventanas.h"
#include "ui/twips.h"
#include "ui/atender.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QVBoxLayout>

Principalgeneral::Principalgeneral(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Principalgeneral"));
    setWindowTitle(QStringLiteral("Form1"));
    fijar_fondo(this, QStringLiteral("menu"));

    cmd_reportes = boton_menu(this, QStringLiteral("cmd_reportes"), QStringLiteral("Reportes"), QStringLiteral("reportes"));
    cmd_tende = boton_menu(this, QStringLiteral("cmd_tende"), QStringLiteral("  Tendencia Desempeño"), QStringLiteral("tendencia"));
    Command1 = boton_menu(this, QStringLiteral("Command1"), QStringLiteral("Salir"), QStringLiteral("salir"));

    auto* capa = new QVBoxLayout(this);
    const int margen = twips_a_px(450, this);
    capa->setContentsMargins(margen, margen, margen, margen);
    capa->addWidget(cmd_reportes);
    capa->addWidget(cmd_tende);
    capa->addStretch();
    capa->addWidget(Command1);
    fijar_area_cliente(this, 4500, 3900);

    connect(cmd_reportes, &QPushButton::clicked, this, atendido(this, &Principalgeneral::cmd_reportes_Click));
    connect(cmd_tende, &QPushButton::clicked, this, atendido(this, &Principalgeneral::cmd_tende_Click));
    connect(Command1, &QPushButton::clicked, this, atendido(this, &Principalgeneral::Command1_Click));
}

void Principalgeneral::cmd_reportes_Click()
{
    RegistroVentanas::instancia().mostrar(QStringLiteral("Reportes"));
}

void Principalgeneral::cmd_tende_Click()
{
    RegistroVentanas::instancia().mostrar(QStringLiteral("Tendencia_y_Desempeño"));
}

void Principalgeneral::Command1_Click()
{
    terminar_programa();
}

void Principalgeneral::closeEvent(QCloseEvent* evento)
{
    evento->ignore();
    terminar_programa();
}
