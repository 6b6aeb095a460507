#include "app/aplicacion.h"

#include "app/ventanas.h"
#include "data/conexion.h"
#include "data/errores.h"
#include "data/locale_c.h"
#include "ui/mensajes.h"
#include "ui/registro_ventanas.h"

namespace {

void informar_error(const ErrorBaseDatos& error)
{
    mostrar_mensaje(QStringLiteral("Error ") + error.numero() + QStringLiteral("\n") + error.texto(),
                    QStringLiteral("Error de base de datos"), IconoMensaje::Critico);
}

} // namespace

AplicacionVelmora::AplicacionVelmora(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Velmora"));
    // QApplication took the C locale from LANG; the libraries need C numbers and UTF-8 text.
    fijar_locale_c();
}

bool AplicacionVelmora::notify(QObject* receptor, QEvent* evento)
{
    try {
        return QApplication::notify(receptor, evento);
    } catch (const ErrorBaseDatos& error) {
        informar_error(error);
        // Ends at once, as "Salir" does, but with a failure code.
        for (QWidget* ventana : QApplication::topLevelWidgets())
            ventana->hide();
        QCoreApplication::exit(1);
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
        informar_error(error);
        return false;
    }
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
