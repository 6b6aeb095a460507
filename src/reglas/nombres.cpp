// SPDX-License-Identifier: GPL-3.0-or-later
#include "reglas/nombres.h"

#include <QList>

namespace velmora {

QString nombre_nfc(const QString& nombre)
{
    return nombre.normalized(QString::NormalizationForm_C);
}

bool caracter_invisible(char32_t c)
{
    return c == 0x061C                       // Arabic letter mark
        || (c >= 0x200B && c <= 0x200F)      // zero-width space, (non-)joiner, LRM, RLM
        || (c >= 0x2028 && c <= 0x202E)      // separators, embeddings and overrides
        || c == 0x2060                       // word joiner
        || (c >= 0x2066 && c <= 0x2069)      // isolates
        || c == 0xFEFF;                      // byte-order mark, zero-width no-break space
}

QString revisar_nombre(const QString& nombre)
{
    for (const uint c : nombre.toUcs4())
        if (caracter_invisible(c))
            return QStringLiteral("El nombre del indicador no puede tener caracteres invisibles ni de dirección del texto");
    return {};
}

} // namespace velmora
