#include "entry/pantalla_entrada.h"

#include "data/textos.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace entrada {

void ubicar(QWidget* control, int izquierda, int arriba, int ancho, int alto)
{
    const QWidget* ventana = control->window();
    control->setGeometry(twips_a_px(izquierda, ventana), twips_a_px(arriba, ventana),
                         twips_a_px(ancho, ventana), twips_a_px(alto, ventana));
}

QLabel* etiqueta(QWidget* ventana, const QString& nombre, const QString& texto)
{
    auto* e = new QLabel(texto, ventana);
    e->setObjectName(nombre);
    return e;
}

QLineEdit* caja(QWidget* ventana, const QString& nombre)
{
    auto* c = new QLineEdit(ventana);
    c->setObjectName(nombre);
    return c;
}

QComboBox* lista(QWidget* ventana, const QString& nombre)
{
    QComboBox* l = lista_editable(ventana, nombre);
    l->setMaxVisibleItems(20);
    return l;
}

QPushButton* boton(QWidget* ventana, const QString& nombre, const QString& texto, const QString& imagen)
{
    auto* b = new QPushButton(texto, ventana);
    b->setObjectName(nombre);
    poner_imagen(b, imagen);
    return b;
}

QString codigo_tipo(const QString& tipo)
{
    return tipo == TIPO_DEPARTAMENTAL ? QStringLiteral("2") : QStringLiteral("1");
}

} // namespace entrada
