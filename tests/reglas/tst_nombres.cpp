// SPDX-License-Identifier: GPL-3.0-or-later
#include "reglas/nombres.h"

#include <QtTest>

using namespace velmora;

// Indicator names: one form for names that look the same, and no character
// that hides or reorders what the lists show.
class TstNombres final : public QObject {
    Q_OBJECT
private slots:
    void nombres_data();
    void nombres();
};

void TstNombres::nombres_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("nfc");
    QTest::addColumn<bool>("refusado");
    QTest::newRow("ya compuesto") << QStringLiteral("Caf\u00E9") << QStringLiteral("Caf\u00E9") << false;
    QTest::newRow("acento aparte") << QStringLiteral("Cafe\u0301") << QStringLiteral("Caf\u00E9") << false;
    QTest::newRow("dos acentos") << QStringLiteral("u\u0308\u0301") << QStringLiteral("\u01D8") << false;
    QTest::newRow("eñe aparte") << QStringLiteral("An\u0303o") << QStringLiteral("A\u00F1o") << false;
    QTest::newRow("emoji") << QStringLiteral("Meta \U0001F600") << QStringLiteral("Meta \U0001F600") << false;
    QTest::newRow("árabe") << QStringLiteral("\u0645\u0628\u064A\u0639\u0627\u062A") << QStringLiteral("\u0645\u0628\u064A\u0639\u0627\u062A")
                           << false;
    for (const char16_t c : {u'\u202A', u'\u202B', u'\u202C', u'\u202D', u'\u202E', u'\u2066', u'\u2067', u'\u2068',
                             u'\u2069', u'\u2028', u'\u2029', u'\u200B', u'\u200C', u'\u200D', u'\u200E', u'\u200F',
                             u'\u2060', u'\uFEFF', u'\u061C'}) {
        const QString nombre = QStringLiteral("Caf") + QChar(c) + QStringLiteral("e");
        QTest::addRow("U+%04X", unsigned(c)) << nombre << nombre << true;
    }
}

void TstNombres::nombres()
{
    QFETCH(QString, nombre);
    QFETCH(QString, nfc);
    QFETCH(bool, refusado);
    QCOMPARE(nombre_nfc(nombre), nfc);
    QCOMPARE(!revisar_nombre(nombre).isEmpty(), refusado);
}

QTEST_GUILESS_MAIN(TstNombres)
#include "tst_nombres.moc"
