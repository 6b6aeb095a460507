#include "ui/listas.h"

#include "data/conexion.h"
#include "data/textos.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
constexpr int kMaximoItems = 32767;
}

QComboBox* lista_editable(QWidget* ventana, const QString& nombre)
{
    auto* lista = new QComboBox(ventana);
    lista->setObjectName(nombre);
    lista->setEditable(true);
    lista->setCompleter(nullptr);
    lista->setInsertPolicy(QComboBox::NoInsert);
    QLineEdit* texto = lista->lineEdit();
    QObject::connect(lista, &QComboBox::currentIndexChanged, texto, [texto] { texto->setCursorPosition(0); });
    return lista;
}

void llenar_lista(QComboBox* lista, const QString& comando, const QString& campo, int ancho, FormaItem forma)
{
    for (Resultado r = Conexion().ejecutar(comando); !r.eof() && lista->count() < kMaximoItems; r.siguiente()) {
        const QString texto = r.texto(campo);
        lista->addItem(forma == FormaItem::Rellena ? texto_item(texto, ancho) : texto.left(ancho));
    }
    lista->setCurrentIndex(-1);
}
