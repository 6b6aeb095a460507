// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controles.h"

#include "ui/imagenes.h"
#include "ui/ventana_escritorio.h"

#include <QLabel>
#include <QPushButton>

namespace velmora {

QString sin_dos_puntos(QString texto)
{
    while (texto.endsWith(u':') || texto.endsWith(u' '))
        texto.chop(1);
    return texto;
}

QString nombre_de_etiqueta(const QString& texto)
{
    return sin_dos_puntos(texto_visible(texto));
}

QLabel* etiqueta(QWidget* ventana, const QString& nombre, const QString& texto)
{
    auto* e = nombrado<QLabel>(ventana, nombre);
    e->setText(texto);
    return e;
}

QLabel* etiqueta_de(QWidget* ventana, const QString& texto, QWidget* nombrada)
{
    auto* e = new QLabel(texto, ventana);
    e->setBuddy(nombrada);
    return e;
}

QPushButton* boton(QWidget* ventana, const QString& nombre, const QString& texto, const QString& imagen)
{
    auto* b = nombrado<QPushButton>(ventana, nombre);
    b->setText(texto);
    poner_imagen(b, imagen);
    return b;
}

namespace {
constexpr char kSinGuardar[] = "velmora_sin_guardar";
}

void marcar_sin_guardar(QWidget* ventana, bool sin_guardar)
{
    ventana->setProperty(kSinGuardar, sin_guardar);
}

bool tiene_sin_guardar(const QWidget* ventana)
{
    return ventana->property(kSinGuardar).toBool();
}

} // namespace velmora
