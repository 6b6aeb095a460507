// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/reportes.h"

#include "app/menu.h"
#include "ui/controles.h"
#include "ui/imagenes.h"
#include "ui/registro_ventanas.h"
#include "ui/atender.h"

#include <QPushButton>

namespace velmora {

Reportes::Reportes(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Reportes"));
    setWindowTitle(QString());
    // No title, but screen readers still say which window this is.
    setAccessibleName(QStringLiteral("Reportes"));
    fijar_fondo(this, QStringLiteral("menu"));

    cmd_principales = boton(this, QStringLiteral("cmd_principales"), QStringLiteral("Principales"), QStringLiteral("principales"));
    cmd_departamentales = boton(this, QStringLiteral("cmd_departamentales"), QStringLiteral("Departamentales"),
                                     QStringLiteral("departamentales"));
    cmd_salir_reporte = boton(this, QStringLiteral("cmd_salir_reporte"), QStringLiteral("Salir"), QStringLiteral("salir"));

    disponer_menu(this, {{cmd_principales, cmd_departamentales}}, cmd_salir_reporte, 4500, 3900);

    connect(cmd_principales, &QPushButton::clicked, this, atendido(this, &Reportes::cmd_principales_Click));
    connect(cmd_departamentales, &QPushButton::clicked, this, atendido(this, &Reportes::cmd_departamentales_Click));
    connect(cmd_salir_reporte, &QPushButton::clicked, this, atendido(this, &Reportes::cmd_salir_reporte_Click));
}

void Reportes::cmd_principales_Click()
{
    RegistroVentanas& registro = RegistroVentanas::instancia();
    registro.mostrar(QStringLiteral("Principales"));
    registro.ocultar(QStringLiteral("Reportes"));
}

void Reportes::cmd_departamentales_Click()
{
    RegistroVentanas& registro = RegistroVentanas::instancia();
    registro.mostrar(QStringLiteral("Departamentales"));
    registro.ocultar(QStringLiteral("Reportes"));
}

void Reportes::cmd_salir_reporte_Click()
{
    RegistroVentanas::instancia().ocultar(QStringLiteral("Reportes"));
}

} // namespace velmora
