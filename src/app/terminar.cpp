#include "app/terminar.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace velmora {

namespace {

void terminar_de_verdad()
{
    for (QWidget* ventana : QApplication::topLevelWidgets())
        ventana->hide();
    QCoreApplication::exit(0);
}

Terminador& terminador_actual()
{
    static Terminador actual = terminar_de_verdad;
    return actual;
}

class TerminarAlCerrar final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() != QEvent::Close)
            return QObject::eventFilter(objeto, evento);
        evento->ignore();
        terminar_programa();
        return true;
    }
};

} // namespace

void terminar_programa()
{
    terminador_actual()();
}

void terminar_al_cerrar(QWidget* ventana)
{
    ventana->installEventFilter(new TerminarAlCerrar(ventana));
}

Terminador establecer_terminador(Terminador nuevo)
{
    Terminador anterior = std::move(terminador_actual());
    terminador_actual() = nuevo ? std::move(nuevo) : Terminador(terminar_de_verdad);
    return anterior;
}

} // namespace velmora
