// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/menu_nuevo.h"

#include "app/menu.h"
#include "ui/controles.h"
#include "ui/imagenes.h"
#include "ui/registro_ventanas.h"
#include "ui/atender.h"

#include <QPushButton>

namespace velmora {

Menu_Nuevo::Menu_Nuevo(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Menu_Nuevo"));
    setWindowTitle(QStringLiteral("Nuevo"));
    fijar_fondo(this, QStringLiteral("menu"));

    cmd_n_indicador = boton(this, QStringLiteral("cmd_n_indicador"), QStringLiteral("N Indicador"), QStringLiteral("indicador"));
    cmd_n_registro = boton(this, QStringLiteral("cmd_n_registro"), QStringLiteral("Eliminar I"), QStringLiteral("eliminar"));
    cmd_nuevo_registro = boton(this, QStringLiteral("cmd_nuevo_registro"), QStringLiteral("N Registro"), QStringLiteral("registro"));
    cmd_salir_reporte = boton(this, QStringLiteral("cmd_salir_reporte"), QStringLiteral("Salir"), QStringLiteral("salir"));

    disponer_menu(this, {{cmd_n_indicador, cmd_n_registro, cmd_nuevo_registro}}, cmd_salir_reporte, 4500, 4200);

    connect(cmd_n_indicador, &QPushButton::clicked, this, atendido(this, &Menu_Nuevo::cmd_n_indicador_Click));
    connect(cmd_n_registro, &QPushButton::clicked, this, atendido(this, &Menu_Nuevo::cmd_n_registro_Click));
    connect(cmd_nuevo_registro, &QPushButton::clicked, this, atendido(this, &Menu_Nuevo::cmd_nuevo_registro_Click));
    connect(cmd_salir_reporte, &QPushButton::clicked, this, atendido(this, &Menu_Nuevo::cmd_salir_reporte_Click));
}

void Menu_Nuevo::cmd_n_indicador_Click()
{
    RegistroVentanas& registro = RegistroVentanas::instancia();
    registro.mostrar(QStringLiteral("Nuevo"));
    registro.descargar(QStringLiteral("Menu_Nuevo"));
}

void Menu_Nuevo::cmd_n_registro_Click()
{
    RegistroVentanas& registro = RegistroVentanas::instancia();
    registro.mostrar(QStringLiteral("Eliminar"));
    registro.descargar(QStringLiteral("Menu_Nuevo"));
}

void Menu_Nuevo::cmd_nuevo_registro_Click()
{
    RegistroVentanas& registro = RegistroVentanas::instancia();
    registro.mostrar(QStringLiteral("Nuevo_Registro"));
    registro.descargar(QStringLiteral("Menu_Nuevo"));
}

void Menu_Nuevo::cmd_salir_reporte_Click()
{
    RegistroVentanas::instancia().descargar(QStringLiteral("Menu_Nuevo"));
}

} // namespace velmora
