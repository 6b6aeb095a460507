// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/leyenda.h"

#include "reglas/bandas.h"

#include <QHash>
#include <QLocale>

namespace velmora {

namespace {

const QHash<QString, QString>& significados()
{
    static const QHash<QString, QString> tabla = {
        {QStringLiteral("Azul"), QStringLiteral("Azul: meta superada (más del 100 % del camino)")},
        {QStringLiteral("Verde"), QStringLiteral("Verde: meta cumplida (más del 75 % del camino)")},
        {QStringLiteral("Amarillo"), QStringLiteral("Amarillo: en camino (del 40 % al 75 % del camino)")},
        {QStringLiteral("Rojo"), QStringLiteral("Rojo: lejos de la meta (menos del 40 % del camino)")},
        {QStringLiteral("Blanco"), QStringLiteral("Blanco: sin datos para calcular")},
        {QStringLiteral("T_Azul"), QStringLiteral("Flecha azul: sube más del 20 %")},
        {QStringLiteral("T_Verde"), QStringLiteral("Flecha verde: sube del 5 % al 20 %")},
        {QStringLiteral("T_Blanco"), QStringLiteral("Flecha blanca: estable (menos del 5 % de cambio)")},
        {QStringLiteral("T_Amarillo"), QStringLiteral("Flecha amarilla: baja del 5 % al 20 %")},
        {QStringLiteral("T_Rojo"), QStringLiteral("Flecha roja: baja más del 20 %")},
        {QStringLiteral("raya"), QStringLiteral("Raya: sin valor con qué comparar")},
    };
    return tabla;
}

} // namespace

QString significado_imagen(const QString& nombre)
{
    return significados().value(nombre);
}

const QStringList& imagenes_leyenda()
{
    static const QStringList nombres = {
        QStringLiteral("Azul"),     QStringLiteral("Verde"),   QStringLiteral("Amarillo"),
        QStringLiteral("Rojo"),     QStringLiteral("Blanco"),  QStringLiteral("T_Azul"),
        QStringLiteral("T_Verde"),  QStringLiteral("T_Blanco"), QStringLiteral("T_Amarillo"),
        QStringLiteral("T_Rojo"),   QStringLiteral("raya"),
    };
    return nombres;
}

QString ayuda_estado(const QString& mostrada, const QString& V, const QString& M, const QString& B)
{
    const QString significado = significado_imagen(mostrada);
    if (mostrada != icono_estado(V, M, B) || mostrada == QStringLiteral("Blanco"))
        return significado;
    const std::optional<double> razon = razon_estado(V, M, B);
    if (!razon)
        return significado;
    return significado + QStringLiteral("\n") + QLocale().toString(qRound64(*razon * 100.0))
           + QStringLiteral(" % del camino de la línea base a la meta (línea base %1, meta %2, valor %3)")
                 .arg(B.trimmed(), M.trimmed(), V.trimmed());
}

QString ayuda_tendencia(const QString& mostrada, const QString& V, const QString& C)
{
    const QString significado = significado_imagen(mostrada);
    if (mostrada != icono_tendencia(V, C) || mostrada == QStringLiteral("raya") || mostrada == QStringLiteral("Blanco"))
        return significado;
    const std::optional<double> razon = razon_tendencia(V, C);
    if (!razon)
        return significado;
    const qint64 redondo = qRound64(*razon * 100.0);
    return significado + QStringLiteral("\n") + (redondo > 0 ? QStringLiteral("+") : QString())
           + QLocale().toString(redondo)
           + QStringLiteral(" % frente al valor comparado (de %1 a %2)").arg(C.trimmed(), V.trimmed());
}

} // namespace velmora
