#include "app/reportes.h"

#include "app/boton_menu.h"
#include "ui/imagenes.h"
#include "ui/registro_ventanas.h"
#include "ui/twips.h"
#include "ui/atender.h"

#include <QPushButton>
#include <QVBoxLayout>

Reportes::Reportes(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Reportes"));
    setWindowTitle(QString());
    fijar_fondo(this, QStringLiteral("menu"));

    cmd_principales = boton_menu(this, QStringLiteral("cmd_principales"), QStringLiteral("Principales"), QStringLiteral("principales"));
    cmd_departamentales = boton_menu(this, QStringLiteral("cmd_departamentales"), QStringLiteral("Departamentales"),
                                     QStringLiteral("departamentales"));
    cmd_salir_reporte = boton_menu(this, QStringLiteral("cmd_salir_reporte"), QStringLiteral("Salir"), QStringLiteral("salir"));

    auto* capa = new QVBoxLayout(this);
    const int margen = twips_a_px(450, this);
    capa->setContentsMargins(margen, margen, margen, margen);
    capa->addWidget(cmd_principales);
    capa->addWidget(cmd_departamentales);
    capa->addStretch();
    capa->addWidget(cmd_salir_reporte);
    fijar_area_cliente(this, 4500, 3900);

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
