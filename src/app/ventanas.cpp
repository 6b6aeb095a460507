#include "app/ventanas.h"

#include "ui/registro_ventanas.h"

#include <QWidget>

namespace {

QWidget* ventana_vacia(const QString& nombre, const QString& titulo)
{
    auto* v = new QWidget;
    v->setObjectName(nombre);
    v->setWindowTitle(titulo);
    return v;
}

} // namespace

void registrar_ventanas()
{
    RegistroVentanas& r = RegistroVentanas::instancia();
    r.registrar(QStringLiteral("Principal"),
                [] { return ventana_vacia(QStringLiteral("Principal"), QStringLiteral("Velmora 1.0 (Brelvo)")); });
    r.registrar(QStringLiteral("FET049TF"),
                [] { return ventana_vacia(QStringLiteral("FET049TF"), QStringLiteral("Form1")); });
}
