// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/aplicacion.h"

#include "app/ventanas.h"
#include "data/conexion.h"
#include "data/errores.h"
#include "data/locale_c.h"
#include "data/origen_datos.h"
#include "ui/atender.h"
#include "ui/mensajes.h"
#include "ui/registro_ventanas.h"
#include "ui/traducciones.h"

#include <QIcon>

namespace velmora {

AplicacionVelmora::AplicacionVelmora(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Velmora"));
    // QApplication took the C locale from LANG; the libraries need C numbers and UTF-8 text.
    fijar_locale_c();
    setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    setOrganizationName(QStringLiteral("Velmora"));
    setDesktopFileName(QStringLiteral("velmora"));
    setWindowIcon(QIcon(QStringLiteral(":/aplicacion/velmora.svg")));
    instalar_traducciones(*this);
}

bool AplicacionVelmora::notify(QObject* receptor, QEvent* evento)
{
    try {
        return QApplication::notify(receptor, evento);
    } catch (const RechazoDatos& rechazo) {
        informar_rechazo(rechazo);
        return true;
    } catch (const ErrorBaseDatos& error) {
        // Last resort only: handlers and window loads catch their own.
        terminar_por_error(error);
        return true;
    }
}

bool iniciar()
{
    registrar_ventanas();
    RegistroVentanas& registro = RegistroVentanas::instancia();
    QWidget* principal = registro.cargar(QStringLiteral("Principal"));
    try {
        abrir_conexion();
    } catch (const ErrorBaseDatos& error) {
        informar_error(explicar_apertura(error, ruta_origen_datos()));
        return false;
    }
    // A database the user can only read and that needs bringing up to date:
    // reports work; the user hears why saves will not, before the login.
    if (!Conexion().aviso().isEmpty())
        mensaje(Conexion().aviso());
    if (principal)
        principal->hide();
    registro.mostrar(QStringLiteral("FET049TF"));
    return true;
}

int arrancar(QApplication& aplicacion)
{
    if (!iniciar())
        return 1;
    return aplicacion.exec();
}

} // namespace velmora
