// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/errores.h"

namespace velmora {

ErrorBaseDatos::ErrorBaseDatos(QString numero, QString texto, QString estado)
    : std::runtime_error((numero + QStringLiteral(" - ") + texto).toStdString()),
      numero_(std::move(numero)), texto_(std::move(texto)), estado_(std::move(estado))
{
}

QString ErrorBaseDatos::mensaje() const
{
    return numero_ + QStringLiteral(" - ") + texto_;
}

} // namespace velmora
