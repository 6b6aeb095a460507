// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ruta_usuario.h"

#include <QDir>

namespace velmora {

namespace {

bool de_control(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

} // namespace

bool tiene_caracter_de_control(const QString& ruta)
{
    for (QChar c : ruta)
        if (de_control(c))
            return true;
    return false;
}

QString ruta_visible(const QString& ruta)
{
    QString visible;
    visible.reserve(ruta.size());
    for (QChar c : QDir::toNativeSeparators(ruta)) {
        if (de_control(c))
            visible += QStringLiteral("[U+%1]").arg(QString::number(c.unicode(), 16).toUpper(), 4, QChar(u'0'));
        else
            visible += c;
    }
    return visible;
}

QString aviso_caracter_de_control(const QString& ruta)
{
    return QStringLiteral("El nombre \"%1\" tiene un carácter de control (lo que va entre corchetes), que no puede ir "
                          "en el nombre de un archivo; suele llegar al pegar el nombre. Escríbalo de nuevo sin él")
        .arg(ruta_visible(ruta));
}

} // namespace velmora
