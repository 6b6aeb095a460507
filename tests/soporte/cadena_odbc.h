// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Splits a connection string the way a driver does: "k=v;" pairs, a value
// in braces may hold ; and braces, a closing brace doubled inside. nullopt
// for a text that does not split cleanly.

#include <QList>
#include <QString>

#include <optional>
#include <utility>

inline std::optional<QList<std::pair<QString, QString>>> partir_cadena_odbc(const QString& cadena)
{
    QList<std::pair<QString, QString>> pares;
    qsizetype i = 0;
    while (i < cadena.size()) {
        const qsizetype igual = cadena.indexOf(u'=', i);
        if (igual < 0)
            return std::nullopt;
        const QString clave = cadena.mid(i, igual - i);
        i = igual + 1;
        QString valor;
        if (i < cadena.size() && cadena[i] == u'{') {
            for (++i;; ++i) {
                if (i >= cadena.size())
                    return std::nullopt;
                if (cadena[i] == u'}') {
                    if (i + 1 < cadena.size() && cadena[i + 1] == u'}') {
                        valor += u'}';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                valor += cadena[i];
            }
        } else {
            const qsizetype fin = cadena.indexOf(u';', i);
            valor = cadena.mid(i, (fin < 0 ? cadena.size() : fin) - i);
            i += valor.size();
        }
        if (i >= cadena.size() || cadena[i] != u';')
            return std::nullopt;
        ++i;
        pares.append({clave, valor});
    }
    return pares;
}
