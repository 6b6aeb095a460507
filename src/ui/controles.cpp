#include "ui/controles.h"

#include "ui/imagenes.h"

#include <QLabel>
#include <QPushButton>

namespace velmora {

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

} // namespace velmora
