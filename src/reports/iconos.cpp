#include "reports/iconos.h"

#include "data/textos.h"
#include "reports/decimal_exacto.h"
#include "ui/leyenda.h"

#include <QLocale>

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

QString ayuda_estado(const QString& mostrada, const QString& V, const QString& M, const QString& B)
{
    const QString significado = significado_imagen(mostrada);
    if (mostrada != icono_estado(V, M, B) || mostrada == QStringLiteral("Blanco"))
        return significado;
    const auto v = a_numero(V);
    const auto m = a_numero(M);
    const auto b = a_numero(B);
    if (!v || !m || !b || *m == *b)
        return significado;
    const double p = (*v - *b) / (*m - *b) * 100.0;
    return significado + QStringLiteral("\n") + QLocale().toString(qRound64(p))
           + QStringLiteral(" % del camino de la línea base a la meta (línea base %1, meta %2, valor %3)")
                 .arg(B.trimmed(), M.trimmed(), V.trimmed());
}

QString ayuda_tendencia(const QString& mostrada, const QString& V, const QString& C)
{
    const QString significado = significado_imagen(mostrada);
    if (mostrada != icono_tendencia(V, C) || mostrada == QStringLiteral("raya") || mostrada == QStringLiteral("Blanco"))
        return significado;
    const auto v = a_numero(V);
    const auto c = a_numero(C);
    if (!v || !c || *c == 0)
        return significado;
    const double t = (*v - *c) / *c * 100.0;
    const qint64 redondo = qRound64(t);
    return significado + QStringLiteral("\n") + (redondo > 0 ? QStringLiteral("+") : QString())
           + QLocale().toString(redondo)
           + QStringLiteral(" % frente al valor comparado (de %1 a %2)").arg(C.trimmed(), V.trimmed());
}

QString ruta_icono(const QString& nombre)
{
    return QStringLiteral(":/iconos/") + nombre + QStringLiteral(".svg");
}
