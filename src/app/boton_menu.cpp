#include "app/boton_menu.h"

#include "ui/imagenes.h"
#include "ui/twips.h"

#include <QPushButton>

QPushButton* boton_menu(QWidget* ventana, const QString& nombre, const QString& texto, const QString& imagen)
{
    auto* boton = new QPushButton(texto, ventana);
    boton->setObjectName(nombre);
    poner_imagen(boton, imagen);
    boton->setMinimumHeight(twips_a_px(645, ventana));
    boton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return boton;
}
