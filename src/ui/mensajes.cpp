// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mensajes.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace velmora {

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

bool preguntar_en_caja(const QString& texto)
{
    QMessageBox caja(QApplication::activeWindow());
    caja.setWindowTitle(QStringLiteral("Mensajes"));
    caja.setText(texto);
    caja.setIcon(QMessageBox::Question);
    caja.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    caja.setDefaultButton(QMessageBox::No);
    return caja.exec() == QMessageBox::Yes;
}

Preguntador& preguntador_actual()
{
    static Preguntador actual = preguntar_en_caja;
    return actual;
}

Mensajero& mensajero_actual()
{
    static Mensajero actual = mostrar_caja;
    return actual;
}

} // namespace

void mostrar_mensaje(const QString& texto, const QString& titulo, IconoMensaje icono)
{
    // Also on standard error: seen in a terminal, a log or a session's
    // journal after the box is gone, and by whoever has no screen reader.
    QString linea = QStringLiteral("velmora: ") + texto.trimmed();
    linea.replace(u'\n', QStringLiteral(" | "));
    const QByteArray bytes = (linea + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
    mensajero_actual()(texto, titulo, icono);
}

bool preguntar(const QString& texto)
{
    return preguntador_actual()(texto);
}

Preguntador establecer_preguntador(Preguntador nuevo)
{
    Preguntador anterior = std::move(preguntador_actual());
    preguntador_actual() = nuevo ? std::move(nuevo) : Preguntador(preguntar_en_caja);
    return anterior;
}

Mensajero establecer_mensajero(Mensajero nuevo)
{
    Mensajero anterior = std::move(mensajero_actual());
    mensajero_actual() = nuevo ? std::move(nuevo) : Mensajero(mostrar_caja);
    return anterior;
}

} // namespace velmora
