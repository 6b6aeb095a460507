#pragma once

#include <QString>
#include <optional>

// The icon bands worked out in the tests, apart from the program's rules.
inline QString estado_esperado(std::optional<double> v, std::optional<double> m, std::optional<double> b)
{
    if (!v || !m || !b || *m == *b)
        return QStringLiteral("Blanco");
    const double p = (*v - *b) / (*m - *b) * 100;
    return p < 40 ? "Rojo" : p <= 75 ? "Amarillo" : p <= 100 ? "Verde" : "Azul";
}

inline QString tendencia_esperada(std::optional<double> v, std::optional<double> c)
{
    if (!c)
        return QStringLiteral("raya");
    if (*c == 0)
        return QStringLiteral("Blanco");
    if (!v)
        return QStringLiteral("raya");
    const double t = (*v - *c) / *c * 100;
    return t > 20 ? "T_Azul" : t >= 5 ? "T_Verde" : t > -5 ? "T_Blanco" : t >= -20 ? "T_Amarillo" : "T_Rojo";
}
