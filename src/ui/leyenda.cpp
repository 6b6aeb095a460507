#include "ui/leyenda.h"

#include <QHash>

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
