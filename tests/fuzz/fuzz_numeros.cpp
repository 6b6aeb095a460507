// SPDX-License-Identifier: GPL-3.0-or-later
// The number reader and writer: a text is read as a number only when it has
// the form of one (checked here by a separate, plain scan), and a number the
// writer writes reads back as the very same number, in either locale.

#include "data/textos.h"
#include "entrada.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <cstring>

using namespace velmora;

namespace {

// The form of a number text, apart from the range: blanks, sign, digits with
// at most one separator, exponent; no thousands-group look-alike.
bool forma_de_numero(const QString& texto)
{
    QString t = texto;
    while (t.startsWith(u' '))
        t.remove(0, 1);
    while (t.endsWith(u' '))
        t.chop(1);
    const qsizetype e = t.indexOf(QRegularExpression(QStringLiteral("[eE]")));
    const QString mantisa = e < 0 ? t : t.left(e);
    const QString exponente = e < 0 ? QString() : t.mid(e + 1);
    static const QRegularExpression m(QStringLiteral("^[+-]?([0-9]+[.,]?[0-9]*|[.,][0-9]+)\\z"));
    static const QRegularExpression x(QStringLiteral("^[+-]?[0-9]+\\z"));
    static const QRegularExpression grupo(QStringLiteral("^[+-]?[1-9][0-9]{0,2}[.,][0-9]{3}\\z"));
    if (!m.match(mantisa).hasMatch() || (e >= 0 && !x.match(exponente).hasMatch()))
        return false;
    return e >= 0 || !grupo.match(mantisa).hasMatch();
}

bool parece_grupo(const QString& t)
{
    static const QRegularExpression grupo(QStringLiteral("^-?[1-9][0-9]{0,2}[.,][0-9]{3}\\z"));
    return grupo.match(t).hasMatch();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo)
{
    static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::Spanish, QLocale::Spain)};
    const QString texto = QString::fromUtf8(reinterpret_cast<const char*>(datos),
                                            static_cast<qsizetype>(largo));
    const auto leido = a_numero(texto);
    if (leido) {
        EXIGIR(forma_de_numero(texto));
        EXIGIR(std::isfinite(*leido));
    } else if (forma_de_numero(texto) && texto.trimmed().size() <= 20
               && !texto.contains(u'e', Qt::CaseInsensitive)) {
        // Twenty characters without an exponent always fit a double.
        EXIGIR(false);
    }

    // Eight bytes as a double: the writer's text reads back exactly.
    if (largo >= sizeof(double)) {
        double d = 0;
        std::memcpy(&d, datos, sizeof d);
        if (std::isfinite(d)) {
            for (const QLocale& l : locales) {
                QLocale::setDefault(l);
                const QString escrito = numero_a_texto(d);
                const auto vuelta = a_numero(escrito);
                // Only a thousands-group look-alike ("1,505") is refused;
                // nothing is ever misread.
                EXIGIR(vuelta ? *vuelta == d : parece_grupo(escrito));
            }
            QLocale::setDefault(QLocale::c());
        }
    }
    return 0;
}
