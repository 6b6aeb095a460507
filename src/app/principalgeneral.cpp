// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/principalgeneral.h"

#include "app/menu.h"
#include "app/terminar.h"
#include "ui/imagenes.h"
#include "ui/registro_ventanas.h"
#include "ui/atender.h"
#include "ui/controles.h"

#include <QPushButton>

namespace velmora {

Principalgeneral::Principalgeneral(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Principalgeneral"));
    setWindowTitle(QStringLiteral("Form1"));
    fijar_fondo(this, QStringLiteral("menu"));
    terminar_al_cerrar(this);

    cmd_reportes = boton(this, QStringLiteral("cmd_reportes"), QStringLiteral("Reportes"), QStringLiteral("reportes"));
    cmd_tende = boton(this, QStringLiteral("cmd_tende"), QStringLiteral("  Tendencia Desempeño"), QStringLiteral("tendencia"));
    Command1 = boton(this, QStringLiteral("Command1"), QStringLiteral("Salir"), QStringLiteral("salir"));

    disponer_menu(this, {{cmd_reportes, cmd_tende}}, Command1, 4500, 3900);

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
    salir_del_programa();
}

} // namespace velmora
