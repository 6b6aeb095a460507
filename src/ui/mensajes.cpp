#include "ui/mensajes.h"

#include <QApplication>
#include <QMessageBox>

namespace {

void mostrar_caja(const QString& texto, const QString& titulo, IconoMensaje icono)
{
    // Over the window that raised it, not in the middle of the screen.
    QMessageBox caja(QApplication::activeWindow());
    caja.setWindowTitle(titulo.isEmpty() ? QStringLiteral("Velmora") : titulo);
    caja.setText(texto);
    switch (icono) {
    case IconoMensaje::Ninguno:
        caja.setIcon(QMessageBox::NoIcon);
        break;
    case IconoMensaje::Informacion:
        caja.setIcon(QMessageBox::Information);
        break;
    case IconoMensaje::Critico:
        caja.setIcon(QMessageBox::Critical);
        break;
    }
    caja.setStandardButtons(QMessageBox::Ok);
    caja.exec();
}

Mensajero& mensajero_actual()
{
    static Mensajero actual = mostrar_caja;
    return actual;
}

} // namespace

void mostrar_mensaje(const QString& texto, const QString& titulo, IconoMensaje icono)
{
    mensajero_actual()(texto, titulo, icono);
}

Mensajero establecer_mensajero(Mensajero nuevo)
{
    Mensajero anterior = std::move(mensajero_actual());
    mensajero_actual() = nuevo ? std::move(nuevo) : Mensajero(mostrar_caja);
    return anterior;
}
