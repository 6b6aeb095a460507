#include "app/menu_nuevo.h"

#include "app/boton_menu.h"
#include "ui/imagenes.h"
#include "ui/registro_ventanas.h"
#include "ui/twips.h"
#include "ui/atender.h"

#include <QPushButton>
#include <QVBoxLayout>

Menu_Nuevo::Menu_Nuevo(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Menu_Nuevo"));
    setWindowTitle(QStringLiteral("Nuevo"));
    fijar_fondo(this, QStringLiteral("menu"));

    cmd_n_indicador = boton_menu(this, QStringLiteral("cmd_n_indicador"), QStringLiteral("N Indicador"), QStringLiteral("indicador"));
    cmd_n_registro = boton_menu(this, QStringLiteral("cmd_n_registro"), QStringLiteral("Eliminar I"), QStringLiteral("eliminar"));
    cmd_nuevo_registro = boton_menu(this, QStringLiteral("cmd_nuevo_registro"), QStringLiteral("N Registro"), QStringLiteral("registro"));
    cmd_salir_reporte = boton_menu(this, QStringLiteral("cmd_salir_reporte"), QStringLiteral("Salir"), QStringLiteral("salir"));

    auto* capa = new QVBoxLayout(this);
    const int margen = twips_a_px(450, this);
    capa->setContentsMargins(margen, margen, margen, margen);
    capa->addWidget(cmd_n_indicador);
    capa->addWidget(cmd_n_registro);
    capa->addWidget(cmd_nuevo_registro);
    capa->addStretch();
    capa->addWidget(cmd_salir_reporte);
    fijar_area_cliente(this, 4500, 4200);

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
