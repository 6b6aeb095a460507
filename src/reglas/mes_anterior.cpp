// SPDX-License-Identifier: GPL-3.0-or-later
#include "reglas/mes_anterior.h"

#include "data/textos.h"

namespace velmora {

QString mes_anterior(const QString& mes, const QString& septiembre)
{
    const QStringList& meses = nombres_meses();
    const qsizetype i = meses.indexOf(mes);
    if (i <= 0)
        return meses.last();
    if (meses[i - 1] == QStringLiteral("Septiembre"))
        return septiembre;
    return meses[i - 1];
}

} // namespace velmora
