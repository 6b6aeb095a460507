// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The number texts the program and both engines must read alike: the same
// table drives the reader's test and the stores' check on each engine.

#include <QString>
#include <QtTest>

inline void casos_numeros()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("es_numero");
    QTest::addColumn<double>("numero");
    auto numero = [](const char* fila, const QString& texto, double n) {
        QTest::newRow(fila) << texto << true << n;
    };
    auto no = [](const char* fila, const QString& texto) {
        QTest::newRow(fila) << texto << false << 0.0;
    };
    numero("coma", QStringLiteral("12,5       "), 12.5);
    numero("punto", QStringLiteral(" 0.85"), 0.85);
    numero("entero", QStringLiteral("40     "), 40.0);
    numero("negativo", QStringLiteral("-10,25"), -10.25);
    numero("más y punto inicial", QStringLiteral("+.75"), 0.75);
    numero("punto final", QStringLiteral("5."), 5.0);
    numero("exponente", QStringLiteral("1,5E+20"), 1.5e20);
    numero("exponente negativo", QStringLiteral("2e-5"), 2e-5);
    numero("cuatro decimales", QStringLiteral("1,5050"), 1.505);
    numero("cero y tres decimales", QStringLiteral("0,505"), 0.505);
    numero("cuatro enteros y tres decimales", QStringLiteral("1234,567"), 1234.567);
    numero("tres decimales con exponente", QStringLiteral("1.505e0"), 1.505);
    numero("largo", QStringLiteral("123456789012345"), 123456789012345.0);
    numero("muy grande", QStringLiteral("-1e308"), -1e308);
    // A thousands group in some locale: never read as another number.
    no("miles con coma", QStringLiteral("1,505"));
    no("miles con punto", QStringLiteral("1.000"));
    no("mil con coma", QStringLiteral("1,000"));
    no("miles negativos", QStringLiteral("-12,500"));
    no("cientos de miles", QStringLiteral("123.456  "));
    no("millón", QStringLiteral("1,000,000"));
    no("grupos y decimales", QStringLiteral("1,500.55"));
    no("grupos españoles", QStringLiteral("1.500,55"));
    // Outside what a double holds.
    no("400 cifras", QString(400, u'9'));
    no("exponente enorme", QStringLiteral("1e400"));
    no("casi cero", QStringLiteral("1e-400"));
    // Not numbers at all.
    no("vacío", QString());
    no("blancos", QStringLiteral("     "));
    no("texto", QStringLiteral("abc"));
    no("solo signo", QStringLiteral("-"));
    no("solo coma", QStringLiteral(","));
    no("dos puntos", QStringLiteral("1.2.3"));
    no("blanco dentro", QStringLiteral("1 000"));
    no("tabulador", QStringLiteral("\t5"));
    no("infinito", QStringLiteral("inf"));
    no("nan", QStringLiteral("nan"));
    no("hexadecimal", QStringLiteral("0x10"));
    no("exponente sin cifras", QStringLiteral("1e"));
    no("dos signos", QStringLiteral("+-1"));
    no("cifra árabe", QStringLiteral("\u0663"));
}
