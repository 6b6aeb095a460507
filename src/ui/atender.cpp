// SPDX-License-Identifier: GPL-3.0-or-later
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

void informar_rechazo(const RechazoDatos& rechazo)
{
    mensaje(rechazo.texto());
}

bool sin_rechazo(const std::function<void()>& paso)
{
    try {
        paso();
    } catch (const RechazoDatos& e) {
        informar_rechazo(e);
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
