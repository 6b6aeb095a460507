#include "app/terminar.h"

#include <QApplication>
#include <QWidget>

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

} // namespace

void terminar_programa()
{
    terminador_actual()();
}

Terminador establecer_terminador(Terminador nuevo)
{
    Terminador anterior = std::move(terminador_actual());
    terminador_actual() = nuevo ? std::move(nuevo) : Terminador(terminar_de_verdad);
    return anterior;
}
