// SPDX-License-Identifier: GPL-3.0-or-later
// The icon rules: whatever the texts, a rule names one of its own pictures,
// and a value exactly on a band limit (by decimal arithmetic, checked here
// on scaled integers) gets the band the rules give it.

#include "entrada.h"
#include "reglas/bandas.h"

#include <QRegularExpression>

#include <QSet>

#include <cstdio>

using namespace velmora;

namespace {

// A short decimal text as an integer count of millionths; nullopt beyond.
std::optional<__int128> millonesimas(const QString& texto)
{
    static const QRegularExpression forma(
        QStringLiteral("^ *([+-]?)([0-9]{1,9})(?:[.,]([0-9]{1,6}))? *\\z"));
    const auto m = forma.match(texto);
    if (!m.hasMatch())
        return std::nullopt;
    // The reader refuses what looks like a thousands group.
    if (m.captured(3).size() == 3 && m.captured(2).size() <= 3 && !m.captured(2).startsWith(u'0'))
        return std::nullopt;
    __int128 n = m.captured(2).toLongLong();
    n = n * 1000000 + m.captured(3).leftJustified(6, u'0').toLongLong();
    return m.captured(1) == QStringLiteral("-") ? -n : n;
}

int signo(__int128 n)
{
    return (n > 0) - (n < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo)
{
    static const QSet<QString> estados = {QStringLiteral("Blanco"), QStringLiteral("Rojo"),
                                          QStringLiteral("Amarillo"), QStringLiteral("Verde"),
                                          QStringLiteral("Azul")};
    static const QSet<QString> tendencias = {
        QStringLiteral("raya"),     QStringLiteral("Blanco"),   QStringLiteral("T_Azul"),
        QStringLiteral("T_Verde"),  QStringLiteral("T_Blanco"), QStringLiteral("T_Amarillo"),
        QStringLiteral("T_Rojo")};
    const QStringList c = campos(datos, largo);
    const QString V = c.value(0);
    const QString M = c.value(1);
    const QString B = c.value(2);
    const QString estado = icono_estado(V, M, B);
    const QString tendencia = icono_tendencia(V, M);
    EXIGIR(estados.contains(estado));
    EXIGIR(tendencias.contains(tendencia));

    const auto v = millonesimas(V);
    const auto m = millonesimas(M);
    const auto b = millonesimas(B);
    if (v && m && b && *m != *b) {
        // Band by cross products: sign of 100 (V - B) - L (M - B), turned by M - B.
        const auto lado = [&](int limite) {
            return signo(100 * (*v - *b) - limite * (*m - *b)) * signo(*m - *b);
        };
        const QString esperado = lado(40) < 0 ? QStringLiteral("Rojo")
            : lado(75) <= 0                    ? QStringLiteral("Amarillo")
            : lado(100) <= 0                   ? QStringLiteral("Verde")
                                               : QStringLiteral("Azul");
        EXIGIR(estado == esperado);
    }
    if (v && m && *m != 0) {
        const auto lado = [&](int limite) { return signo(100 * (*v - *m) - limite * *m) * signo(*m); };
        const QString esperado = lado(20) > 0 ? QStringLiteral("T_Azul")
            : lado(5) >= 0                     ? QStringLiteral("T_Verde")
            : lado(-5) > 0                     ? QStringLiteral("T_Blanco")
            : lado(-20) >= 0                   ? QStringLiteral("T_Amarillo")
                                               : QStringLiteral("T_Rojo");
        EXIGIR(tendencia == esperado);
    }
    return 0;
}
