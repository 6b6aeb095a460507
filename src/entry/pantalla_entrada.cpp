#include "entry/pantalla_entrada.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/textos.h"
#include "ui/imagenes.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace entrada {

namespace {
constexpr int kMaximoItems = 32767; // list positions are 16-bit
}

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
    auto* l = new QComboBox(ventana);
    l->setObjectName(nombre);
    l->setEditable(true);
    // No completion that would change what is typed, and Enter adds nothing.
    l->setCompleter(nullptr);
    l->setInsertPolicy(QComboBox::NoInsert);
    l->setMaxVisibleItems(20);
    // A picked item shows from its start, not scrolled to its trailing blanks.
    QObject::connect(l, &QComboBox::currentIndexChanged, l, [l] { l->lineEdit()->setCursorPosition(0); });
    return l;
}

QPushButton* boton(QWidget* ventana, const QString& nombre, const QString& texto, const QString& imagen)
{
    auto* b = new QPushButton(texto, ventana);
    b->setObjectName(nombre);
    poner_imagen(b, imagen);
    return b;
}

void llenar(QComboBox* lista, const QString& tabla, const QString& campo, int ancho, FormaItem forma)
{
    for (Resultado r = Conexion().ejecutar(comando_consulta(tabla)); !r.eof() && lista->count() < kMaximoItems;
         r.siguiente()) {
        const QString texto = r.texto(campo);
        lista->addItem(forma == FormaItem::Rellena ? texto_item(texto, ancho) : texto.left(ancho));
    }
    lista->setCurrentIndex(-1);
}

QString codigo_tipo(const QString& tipo)
{
    return tipo == TIPO_DEPARTAMENTAL ? QStringLiteral("2") : QStringLiteral("1");
}

} // namespace entrada
