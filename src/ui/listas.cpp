#include "ui/listas.h"

#include "data/conexion.h"
#include "data/textos.h"
#include "ui/controles.h"
#include "ui/twips.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace velmora {

namespace {
// A product limit, not a type's (see llenar_lista).
constexpr int kMaximoItems = 32767;

// Notes a click or a Return in the list's popup, the only ways to pick. The
// note lasts until the event that made it is over.
class VigiaEleccion final : public QObject {
public:
    explicit VigiaEleccion(QComboBox* lista) : QObject(lista)
    {
        lista->view()->installEventFilter(this);
        lista->view()->viewport()->installEventFilter(this);
    }
    bool eligiendo() const { return eligiendo_; }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        bool eleccion = evento->type() == QEvent::MouseButtonRelease;
        // The list takes Return already at its shortcut check.
        if (evento->type() == QEvent::KeyPress || evento->type() == QEvent::ShortcutOverride) {
            const int tecla = static_cast<QKeyEvent*>(evento)->key();
            eleccion = tecla == Qt::Key_Return || tecla == Qt::Key_Enter;
        }
        if (eleccion) {
            eligiendo_ = true;
            QTimer::singleShot(0, this, [this] { eligiendo_ = false; });
        }
        return QObject::eventFilter(objeto, evento);
    }

private:
    bool eligiendo_ = false;
};

// A list as screen readers see it. Qt's own names a list on Linux by its
// current text, so once a value is chosen the reader hears "Financiero" and
// thirty-five blanks instead of "Perspectiva": here the name is the list's
// own (its label), and the value, without its padding, is the value.
class ListaAccesible final : public QAccessibleWidget {
public:
    explicit ListaAccesible(QComboBox* lista) : QAccessibleWidget(lista, QAccessible::ComboBox) {}

    QComboBox* lista() const { return static_cast<QComboBox*>(widget()); }

    int childCount() const override { return lista()->lineEdit() ? 2 : 1; }
    QAccessibleInterface* child(int indice) const override
    {
        if (indice == 0)
            return QAccessible::queryAccessibleInterface(lista()->view());
        if (indice == 1 && lista()->lineEdit())
            return QAccessible::queryAccessibleInterface(lista()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* hijo) const override
    {
        if (!hijo)
            return -1;
        if (hijo->object() == lista()->view())
            return 0;
        if (lista()->lineEdit() && hijo->object() == lista()->lineEdit())
            return 1;
        return -1;
    }
    QString text(QAccessible::Text tipo) const override
    {
        if (tipo == QAccessible::Value)
            return sin_blancos_finales(lista()->currentText());
        QString texto = QAccessibleWidget::text(tipo);
        if (tipo == QAccessible::Name) {
            // "Perspectiva :" reads as "Perspectiva".
            texto = sin_dos_puntos(texto);
            if (texto.isEmpty())
                texto = lista()->objectName();
        }
        return texto;
    }
    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& accion) override
    {
        if (accion == showMenuAction() || accion == pressAction())
            lista()->showPopup();
        else
            QAccessibleWidget::doAction(accion);
    }

private:
    static QString sin_blancos_finales(QString texto)
    {
        while (texto.endsWith(u' '))
            texto.chop(1);
        return texto;
    }
};

QAccessibleInterface* fabrica_listas(const QString& clase, QObject* objeto)
{
    if (clase == QLatin1String("QComboBox"))
        if (auto* lista = qobject_cast<QComboBox*>(objeto))
            return new ListaAccesible(lista);
    return nullptr;
}

} // namespace

void instalar_accesibilidad_listas()
{
    static const bool instalada = [] {
        QAccessible::installFactory(fabrica_listas);
        return true;
    }();
    Q_UNUSED(instalada);
}

QComboBox* lista_editable(QWidget* ventana, const QString& nombre)
{
    instalar_accesibilidad_listas();
    auto* lista = new QComboBox(ventana);
    lista->setObjectName(nombre);
    lista->setEditable(true);
    lista->setCompleter(nullptr);
    lista->setInsertPolicy(QComboBox::NoInsert);
    QLineEdit* texto = lista->lineEdit();
    QObject::connect(lista, &QComboBox::currentIndexChanged, texto, [texto] { texto->setCursorPosition(0); });
    return lista;
}

QComboBox* lista_ancha(QWidget* ventana, const QString& nombre, int ancho_twips)
{
    QComboBox* lista = lista_editable(ventana, nombre);
    lista->setMinimumWidth(twips_a_px(ancho_twips, ventana));
    return lista;
}

QComboBox* lista_larga(QWidget* ventana, const QString& nombre)
{
    QComboBox* lista = lista_editable(ventana, nombre);
    lista->setMaxVisibleItems(20);
    return lista;
}

QComboBox* lista_en_capa(QWidget* ventana, const QString& nombre, int caracteres)
{
    QComboBox* lista = lista_larga(ventana, nombre);
    lista->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lista->setMinimumContentsLength(caracteres);
    return lista;
}

void llenar_lista(QComboBox* lista, const QString& comando, const QString& campo, int ancho, FormaItem forma)
{
    for (Resultado r = Conexion().ejecutar(comando); !r.eof() && lista->count() < kMaximoItems; r.siguiente()) {
        const QString texto = r.texto(campo);
        lista->addItem(forma == FormaItem::Rellena ? texto_item(texto, ancho) : cortar(texto, ancho));
    }
    lista->setCurrentIndex(-1);
}

void llenar_meses(QComboBox* lista)
{
    lista->addItems(nombres_meses());
    lista->setCurrentIndex(-1);
}

void al_elegir(QComboBox* lista, QObject* contexto, std::function<void()> paso)
{
    auto* vigia = new VigiaEleccion(lista);
    QObject::connect(lista, &QComboBox::activated, contexto, [vigia, paso = std::move(paso)] {
        if (vigia->eligiendo())
            paso();
    });
}

} // namespace velmora
