#include "reports/iconos.h"

#include "data/textos.h"

#include <cmath>

QString icono_estado(const QString& V, const QString& M, const QString& B)
{
    const auto v = a_numero(V);
    const auto m = a_numero(M);
    const auto b = a_numero(B);
    if (!v || !m || !b || *m == *b)
        return QStringLiteral("Blanco");
    // The ratio first, then the product: the band limits 40, 75 and 100 are
    // hit exactly when the ratio is exact.
    const double p = (*v - *b) / (*m - *b) * 100.0;
    if (std::isnan(p)) // inf / inf, from huge inputs
        return QStringLiteral("Blanco");
    if (p < 40)
        return QStringLiteral("Rojo");
    if (p <= 75)
        return QStringLiteral("Amarillo");
    if (p <= 100)
        return QStringLiteral("Verde");
    return QStringLiteral("Azul");
}

QString icono_tendencia(const QString& V, const QString& C)
{
    if (C.isEmpty())
        return QStringLiteral("raya");
    const auto c = a_numero(C);
    if (!c)
        return QStringLiteral("raya");
    // A zero comparison is settled before the value is read.
    if (*c == 0)
        return QStringLiteral("Blanco");
    const auto v = a_numero(V);
    if (!v)
        return QStringLiteral("raya");
    const double t = (*v - *c) / *c * 100.0;
    if (t > 20)
        return QStringLiteral("T_Azul");
    if (t >= 5)
        return QStringLiteral("T_Verde");
    if (t > -5)
        return QStringLiteral("T_Blanco");
    if (t >= -20)
        return QStringLiteral("T_Amarillo");
    return QStringLiteral("T_Rojo");
}

QString ruta_icono(const QString& nombre)
{
    return QStringLiteral(":/iconos/") + nombre + QStringLiteral(".svg");
}
