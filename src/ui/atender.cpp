#include "ui/atender.h"

#include "ui/mensajes.h"

#include <QApplication>
#include <QWidget>

namespace velmora {

void informar_error(const ErrorBaseDatos& error)
{
    mostrar_mensaje(QStringLiteral("Error ") + error.numero() + u'\n' + error.texto(),
                    QStringLiteral("Error de base de datos"), IconoMensaje::Critico);
}

bool sin_rechazo(const std::function<void()>& paso)
{
    try {
        paso();
    } catch (const RechazoDatos& e) {
        mensaje(e.texto());
        return false;
    }
    return true;
}

void terminar_por_error(const ErrorBaseDatos& error)
{
    informar_error(error);
    for (QWidget* ventana : QApplication::topLevelWidgets())
        ventana->hide();
    QCoreApplication::exit(1);
}

} // namespace velmora
