// SPDX-License-Identifier: GPL-3.0-or-later
#include "reglas/bandas.h"

#include "reglas/decimal_exacto.h"

namespace velmora {

QString icono_estado(const QString& V, const QString& M, const QString& B)
{
    const auto v = DecimalExacto::leer(V);
    const auto m = DecimalExacto::leer(M);
    const auto b = DecimalExacto::leer(B);
    if (!v || !m || !b)
        return QStringLiteral("Blanco");
    const DecimalExacto hecho = *v - *b;
    const DecimalExacto camino = *m - *b;
    if (camino.signo() == 0)
        return QStringLiteral("Blanco");
    // The figures are decimals: "2,1" of the way from 0 to "2,8" is exactly
    // 75 %, which binary division would put a hair above.
    if (DecimalExacto::comparar_razon(hecho, camino, 40) < 0)
        return QStringLiteral("Rojo");
    if (DecimalExacto::comparar_razon(hecho, camino, 75) <= 0)
        return QStringLiteral("Amarillo");
    if (DecimalExacto::comparar_razon(hecho, camino, 100) <= 0)
        return QStringLiteral("Verde");
    return QStringLiteral("Azul");
}

std::optional<double> razon_estado(const QString& V, const QString& M, const QString& B)
{
    const auto v = DecimalExacto::leer(V);
    const auto m = DecimalExacto::leer(M);
    const auto b = DecimalExacto::leer(B);
    if (!v || !m || !b)
        return std::nullopt;
    return DecimalExacto::razon(*v - *b, *m - *b);
}

QString icono_tendencia(const QString& V, const QString& C)
{
    if (C.isEmpty())
        return QStringLiteral("raya");
    const auto c = DecimalExacto::leer(C);
    if (!c)
        return QStringLiteral("raya");
    // A zero comparison is settled before the value is read.
    if (c->signo() == 0)
        return QStringLiteral("Blanco");
    const auto v = DecimalExacto::leer(V);
    if (!v)
        return QStringLiteral("raya");
    const DecimalExacto cambio = *v - *c;
    if (DecimalExacto::comparar_razon(cambio, *c, 20) > 0)
        return QStringLiteral("T_Azul");
    if (DecimalExacto::comparar_razon(cambio, *c, 5) >= 0)
        return QStringLiteral("T_Verde");
    if (DecimalExacto::comparar_razon(cambio, *c, -5) > 0)
        return QStringLiteral("T_Blanco");
    if (DecimalExacto::comparar_razon(cambio, *c, -20) >= 0)
        return QStringLiteral("T_Amarillo");
    return QStringLiteral("T_Rojo");
}

std::optional<double> razon_tendencia(const QString& V, const QString& C)
{
    const auto c = DecimalExacto::leer(C);
    const auto v = DecimalExacto::leer(V);
    if (!c || !v)
        return std::nullopt;
    return DecimalExacto::razon(*v - *c, *c);
}

} // namespace velmora
