// SPDX-License-Identifier: GPL-3.0-or-later
#include "reglas/codigos.h"

#include "data/textos.h"

#include <QStringList>

namespace velmora {

namespace {

int codigo_en(const QStringList& nombres, int ancho, const QString& texto)
{
    if (texto.size() != ancho)
        return 0;
    for (int i = 0; i < nombres.size(); ++i) {
        if (texto == nombres[i].leftJustified(ancho))
            return i + 1;
    }
    return 0;
}

bool es_digito(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

int codigo_desempeno(const QString& texto)
{
    static const QStringList nombres = {QStringLiteral("Creciente"), QStringLiteral("Decreciente")};
    return codigo_en(nombres, 30, texto);
}

int codigo_perspectiva(const QString& texto)
{
    static const QStringList nombres = {
        QStringLiteral("Financiero"),
        QStringLiteral("Clientes"),
        QStringLiteral("Procesos Internos"),
        QStringLiteral("Capital Intangible"),
    };
    return codigo_en(nombres, 45, texto);
}

int codigo_unidad(const QString& texto)
{
    static const QStringList nombres = {
        QStringLiteral("%"), QStringLiteral("Horas"),   QStringLiteral("#"),
        QStringLiteral("Días"), QStringLiteral("$"), QStringLiteral("Minutos"),
    };
    return codigo_en(nombres, 25, texto);
}

int codigo_anio(const QString& texto)
{
    static const QString blancos(11, u' ');
    if (texto.size() != 15 || !texto.endsWith(blancos))
        return 0;
    for (int i = 0; i < 4; ++i) {
        if (!es_digito(texto[i]))
            return 0;
    }
    const int anio = texto.left(4).toInt();
    return anio >= 2005 ? anio - 2004 : 0;
}

int codigo_tipo(const QString& tipo)
{
    return tipo == TIPO_DEPARTAMENTAL ? 2 : 1;
}

} // namespace velmora
