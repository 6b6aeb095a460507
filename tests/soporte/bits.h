// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Doubles compared bit for bit. Qt's QCOMPARE on two doubles lets a relative
// difference of about 1e-12 pass, so a test that claims an exact value
// compares the bits, and a failure shows both patterns.

#include <QString>
#include <QtTest>

#include <bit>
#include <charconv>
#include <cmath>
#include <optional>

// "0x3fd3333333333334 (0.30000000000000004)", or "Null".
inline QString bits(double d)
{
    return QStringLiteral("0x%1 (%2)")
        .arg(std::bit_cast<quint64>(d), 16, 16, QLatin1Char('0'))
        .arg(QString::number(d, 'g', 17));
}

inline QString bits(const std::optional<double>& d)
{
    return d ? bits(*d) : QStringLiteral("Null");
}

inline bool mismos_bits(const std::optional<double>& a, const std::optional<double>& b)
{
    return a.has_value() == b.has_value() && (!a || std::bit_cast<quint64>(*a) == std::bit_cast<quint64>(*b));
}

// Reports through QTest::qVerify, so QEXPECT_FAIL applies to it.
inline bool comparar_bits(const std::optional<double>& real, const std::optional<double>& esperado,
                          const char* texto_real, const char* texto_esperado, const char* archivo, int linea)
{
    const bool iguales = mismos_bits(real, esperado);
    const QByteArray detalle = iguales ? QByteArray()
                                       : QStringLiteral("the doubles differ\n   Actual   (%1): %2\n   Expected (%3): %4")
                                             .arg(QLatin1String(texto_real), bits(real), QLatin1String(texto_esperado),
                                                  bits(esperado))
                                             .toUtf8();
    const QByteArray sentencia = QByteArray(texto_real) + " has the bits of " + texto_esperado;
    return QTest::qVerify(iguales, sentencia.constData(), detalle.constData(), archivo, linea);
}

// QCOMPARE for doubles (or std::optional<double>, Null as nullopt): equal bits.
#define QCOMPARE_BITS(real, esperado)                                                                   \
    do {                                                                                                \
        if (!comparar_bits((real), (esperado), #real, #esperado, __FILE__, __LINE__))                   \
            return;                                                                                     \
    } while (false)

// A number text as a test measures it (decimal point or comma, exponent): the
// double nearest to it, nullopt when it is not one whole number. Only for
// reading what a database or a file holds; expected values are literals.
inline std::optional<double> leer_exacto(const QString& texto)
{
    QByteArray c = texto.trimmed().toLatin1();
    c.replace(',', '.');
    const char* inicio = c.constData() + (c.startsWith('+') ? 1 : 0);
    const char* fin = c.constData() + c.size();
    double d = 0;
    const auto [hasta, error] = std::from_chars(inicio, fin, d);
    if (c.isEmpty() || error != std::errc() || hasta != fin)
        return std::nullopt;
    return d;
}
