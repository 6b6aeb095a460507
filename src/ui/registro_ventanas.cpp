// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/registro_ventanas.h"

#include "ui/atender.h"
#include "ui/ventana_escritorio.h"

namespace velmora {

RegistroVentanas& RegistroVentanas::instancia()
{
    static RegistroVentanas registro;
    return registro;
}

void RegistroVentanas::registrar(const QString& nombre, Fabrica fabrica)
{
    fabricas_.insert(nombre, std::move(fabrica));
}

bool RegistroVentanas::registrada(const QString& nombre) const
{
    return fabricas_.contains(nombre);
}

QWidget* RegistroVentanas::cargar(const QString& nombre)
{
    if (QWidget* existente = ventana(nombre))
        return existente;
    const auto fabrica = fabricas_.constFind(nombre);
    Q_ASSERT_X(fabrica != fabricas_.constEnd(), "RegistroVentanas::cargar",
               qPrintable(QStringLiteral("ventana no registrada: ") + nombre));
    if (fabrica == fabricas_.constEnd())
        return nullptr;
    // The load step may query: a failure there ends the program as one in a
    // handler does, and no window is registered.
    QWidget* nueva = nullptr;
    atender([&] { nueva = (*fabrica)(); });
    if (!nueva)
        return nullptr;
    if (nueva->objectName().isEmpty())
        nueva->setObjectName(nombre);
    preparar_ventana(nueva, nombre);
    ventanas_.insert(nombre, nueva);
    return nueva;
}

QWidget* RegistroVentanas::mostrar(const QString& nombre)
{
    QWidget* v = cargar(nombre);
    if (!v)
        return nullptr;
    v->show();
    v->raise();
    v->activateWindow();
    return v;
}

void RegistroVentanas::ocultar(const QString& nombre)
{
    if (QWidget* v = ventana(nombre))
        v->hide();
}

void RegistroVentanas::descargar(const QString& nombre)
{
    if (QWidget* v = ventana(nombre)) {
        ventanas_.remove(nombre);
        v->hide();
        v->deleteLater();
    }
}

QWidget* RegistroVentanas::ventana(const QString& nombre) const
{
    const auto it = ventanas_.constFind(nombre);
    return it == ventanas_.constEnd() ? nullptr : it->data();
}

void RegistroVentanas::descargar_todas()
{
    const auto nombres = ventanas_.keys();
    for (const QString& nombre : nombres) {
        if (QWidget* v = ventana(nombre))
            delete v;
    }
    ventanas_.clear();
}

} // namespace velmora
