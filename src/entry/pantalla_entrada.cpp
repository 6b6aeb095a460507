#include "entry/pantalla_entrada.h"

#include "data/textos.h"

namespace velmora {

namespace entrada {

QString codigo_tipo(const QString& tipo)
{
    return tipo == TIPO_DEPARTAMENTAL ? QStringLiteral("2") : QStringLiteral("1");
}

} // namespace entrada

} // namespace velmora
