// SPDX-License-Identifier: GPL-3.0-or-later
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

constexpr char kSinRelleno[] = "velmora_sin_relleno";

QString sin_blancos_finales(QString texto)
{
    while (texto.endsWith(u' '))
        texto.chop(1);
    return texto;
}

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

};

// The text box of an editable list (or a box marked by leer_sin_relleno) as
// screen readers see it: named by the list, its text without the padding
// blanks of the item or cell it shows.
class TextoListaAccesible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TextoListaAccesible(QLineEdit* texto) : QAccessibleWidget(texto, QAccessible::EditableText) {}

    QLineEdit* caja() const { return static_cast<QLineEdit*>(widget()); }
    QString visible() const { return sin_blancos_finales(caja()->text()); }

    void* interface_cast(QAccessible::InterfaceType tipo) override
    {
        if (tipo == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(tipo);
    }
    QAccessible::State state() const override
    {
        QAccessible::State estado = QAccessibleWidget::state();
        estado.editable = !caja()->isReadOnly();
        estado.selectableText = true;
        return estado;
    }
    QString text(QAccessible::Text tipo) const override
    {
        if (tipo == QAccessible::Value)
            return visible();
        if (tipo == QAccessible::Name && caja()->accessibleName().isEmpty())
            if (QAccessibleInterface* lista = parent())
                return lista->text(QAccessible::Name);
        return QAccessibleWidget::text(tipo);
    }

    // QAccessibleTextInterface, over the text without its padding.
    void selection(int indice, int* desde, int* hasta) const override
    {
        *desde = *hasta = 0;
        if (indice == 0 && caja()->hasSelectedText()) {
            *desde = qMin(caja()->selectionStart(), characterCount());
            *hasta = qMin(caja()->selectionEnd(), characterCount());
        }
    }
    int selectionCount() const override { return caja()->hasSelectedText() ? 1 : 0; }
    void addSelection(int desde, int hasta) override { setSelection(0, desde, hasta); }
    void removeSelection(int) override { caja()->deselect(); }
    void setSelection(int, int desde, int hasta) override { caja()->setSelection(desde, hasta - desde); }
    int cursorPosition() const override { return qMin(caja()->cursorPosition(), characterCount()); }
    void setCursorPosition(int posicion) override { caja()->setCursorPosition(posicion); }
    QString text(int desde, int hasta) const override { return visible().mid(desde, hasta - desde); }
    int characterCount() const override { return int(visible().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* desde, int* hasta) const override
    {
        *desde = 0;
        *hasta = characterCount();
        return {};
    }
};

// Items carry padding blanks (a list's width is set by them); a screen
// reader reads each item of the open list without them.
void nombrar_items_sin_relleno(QComboBox* lista)
{
    QAbstractItemModel* modelo = lista->model();
    const auto nombrar = [modelo](int desde, int hasta) {
        for (int f = desde; f <= hasta; ++f) {
            const QModelIndex i = modelo->index(f, 0);
            const QString texto = i.data(Qt::DisplayRole).toString();
            const QVariant nombre = texto.trimmed() == texto ? QVariant() : QVariant(texto.trimmed());
            if (i.data(Qt::AccessibleTextRole) != nombre)
                modelo->setData(i, nombre, Qt::AccessibleTextRole);
        }
    };
    QObject::connect(modelo, &QAbstractItemModel::rowsInserted, lista,
                     [nombrar](const QModelIndex&, int desde, int hasta) { nombrar(desde, hasta); });
    QObject::connect(modelo, &QAbstractItemModel::dataChanged, lista,
                     [nombrar](const QModelIndex& desde, const QModelIndex& hasta, const QList<int>& papeles) {
                         if (papeles.isEmpty() || papeles.contains(Qt::DisplayRole) || papeles.contains(Qt::EditRole))
                             nombrar(desde.row(), hasta.row());
                     });
}

QAccessibleInterface* fabrica_listas(const QString& clase, QObject* objeto)
{
    if (clase == QLatin1String("QComboBox"))
        if (auto* lista = qobject_cast<QComboBox*>(objeto))
            return new ListaAccesible(lista);
    // Asked for while the list is still making its box, before lineEdit()
    // returns it.
    if (clase == QLatin1String("QLineEdit")
        && (qobject_cast<QComboBox*>(objeto->parent()) || objeto->property(kSinRelleno).toBool()))
        if (auto* caja = qobject_cast<QLineEdit*>(objeto))
            return new TextoListaAccesible(caja);
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

void leer_sin_relleno(QLineEdit* caja)
{
    instalar_accesibilidad_listas();
    caja->setProperty(kSinRelleno, true);
    // One made before the mark (Qt's own) would go on reading the blanks.
    if (QAccessibleInterface* i = QAccessible::queryAccessibleInterface(caja);
        i && !dynamic_cast<TextoListaAccesible*>(i))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(i));
}

QComboBox* lista_editable(QWidget* ventana, const QString& nombre)
{
    instalar_accesibilidad_listas();
    auto* lista = new QComboBox(ventana);
    lista->setObjectName(nombre);
    lista->setEditable(true);
    lista->setCompleter(nullptr);
    lista->setInsertPolicy(QComboBox::NoInsert);
    nombrar_items_sin_relleno(lista);
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
