// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/terminar.h"

#include "ui/controles.h"
#include "ui/mensajes.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
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
        salir_del_programa();
        return true;
    }
};

class SalirConTeclado final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() != QEvent::KeyPress || !objeto->isWidgetType())
            return false;
        auto* tecla = static_cast<QKeyEvent*>(evento);
        // Ctrl+Q whatever the platform's key scheme says (the plain one binds no Quit).
        const bool salir = tecla->matches(QKeySequence::Quit)
                           || (tecla->key() == Qt::Key_Q
                               && (tecla->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier);
        if (salir && !QApplication::activeModalWidget()) {
            salir_del_programa();
            return true;
        }
        return false;
    }
};

} // namespace

void terminar_programa()
{
    terminador_actual()();
}

bool salir_del_programa()
{
    for (QWidget* ventana : QApplication::topLevelWidgets()) {
        if (!tiene_sin_guardar(ventana))
            continue;
        const QString nombre = ventana->windowTitle().isEmpty() ? ventana->objectName() : ventana->windowTitle();
        if (!preguntar(QStringLiteral("La ventana «%1» tiene valores escritos que no se guardaron. "
                                      "¿Desea salir sin guardarlos?")
                           .arg(nombre))) {
            ventana->show();
            ventana->raise();
            ventana->activateWindow();
            return false;
        }
    }
    terminar_programa();
    return true;
}

void terminar_al_cerrar(QWidget* ventana)
{
    ventana->installEventFilter(new TerminarAlCerrar(ventana));
    // Escape is too easily pressed to end the program with (ventana_escritorio).
    ventana->setProperty("velmora_cerrar_termina", true);
}

void salir_con_teclado()
{
    static const bool instalado = [] {
        qApp->installEventFilter(new SalirConTeclado(qApp));
        return true;
    }();
    Q_UNUSED(instalado);
}

Terminador establecer_terminador(Terminador nuevo)
{
    Terminador anterior = std::move(terminador_actual());
    terminador_actual() = nuevo ? std::move(nuevo) : Terminador(terminar_de_verdad);
    return anterior;
}

} // namespace velmora
