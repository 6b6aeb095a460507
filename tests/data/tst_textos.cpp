// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/textos.h"
#include "soporte/bits.h"
#include "soporte/casos_numeros.h"

#include <QtTest>

using namespace velmora;

class TstTextos final : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void item_y_celda_data();
    void item_y_celda();
    void valores();
    void a_numero_data();
    void a_numero();
    void tipo_numero_data();
    void tipo_numero();
};

void TstTextos::item_y_celda_data()
{
    QTest::addColumn<bool>("item");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<int>("largo");
    QTest::addColumn<QString>("esperado");
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QTest::newRow("año en 5") << true << "2007" << 5 << "2007 ";
    QTest::newRow("año en 15") << true << "2007" << 15 << "2007           ";
    QTest::newRow("tipo en 15") << true << "Principal" << 15 << "Principal      ";
    QTest::newRow("item nulo") << true << "" << 5 << "     ";
    QTest::newRow("item largo") << true << QString(90, 'x') << 80 << QString(80, 'x');
    QTest::newRow("celda corta") << false << "12,5" << 15 << "12,5       ";
    QTest::newRow("celda 8") << false << "12345678" << 15 << "12345678       ";
    QTest::newRow("celda 10") << false << "1234567890" << 15 << "1234567890     ";
    // A number never loses digits silently: a shorter form of the same value,
    // else rounded and marked.
    QTest::newRow("celda número largo") << false << "12345678901234567" << 15 << "1,23456789\u2026E+16";
    QTest::newRow("celda redondeada") << false << "0,30000000000000004" << 15 << "0,300000000000\u2026";
    QTest::newRow("celda 1234567890123456789") << false << "1234567890123456789" << 15 << "1,23456789\u2026E+18";
    QTest::newRow("celda decimales largos") << false << "0,000012345678901" << 15 << "1,23456789\u2026E-05";
    QTest::newRow("celda negativo largo") << false << "-1,23456789012345E-20" << 15 << "-1,2345679\u2026E-20";
    QTest::newRow("celda exponente entero") << false << "1E+300" << 15 << "1E+300       ";
    QTest::newRow("celda 15 dígitos") << false << "123456789012345" << 15 << "123456789012345";
    QTest::newRow("celda texto largo") << false << "abcdefghijklmnopq" << 15 << "abcdefghijklmno";
    // Emoji are one character each, as the databases count them.
    QTest::newRow("item con emoji") << true << QString(69, 'a') + "\U0001F600" << 80
                                    << QString(69, 'a') + "\U0001F600" + QString(10, ' ');
    QTest::newRow("item cortado entre emoji") << true << QString(3, 'a') + QString("\U0001F600").repeated(5) << 5
                                              << "aaa\U0001F600\U0001F600";
    QTest::newRow("celda con emoji") << false << QString("\U0001F600").repeated(70) << 80
                                     << QString("\U0001F600").repeated(70) + QString(7, ' ');
    QTest::newRow("celda nula") << false << "" << 15 << "       ";
    QTest::newRow("celda 80") << false << QString(80, 'n') << 80 << QString(80, 'n');
}

void TstTextos::item_y_celda()
{
    QFETCH(bool, item);
    QFETCH(QString, campo);
    QFETCH(int, largo);
    QFETCH(QString, esperado);
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QCOMPARE(item ? texto_item(campo, largo) : texto_celda(campo, largo), esperado);
}

void TstTextos::valores()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QCOMPARE(texto_valor(QVariant()), QString());
    QCOMPARE(texto_valor(QVariant(QMetaType(QMetaType::Double))), QString());
    QCOMPARE(texto_valor(12.5), QStringLiteral("12,5"));
    QCOMPARE(texto_valor(0.85), QStringLiteral("0,85"));
    QCOMPARE(texto_valor(2007), QStringLiteral("2007"));        // no grouping
    QCOMPARE(texto_valor(1234567.25), QStringLiteral("1234567,25"));
    QCOMPARE(texto_valor(100000.0), QStringLiteral("100000"));   // round numbers without exponent
    QCOMPARE(texto_valor(QStringLiteral("Días      ")), QStringLiteral("Días      "));
    QLocale::setDefault(QLocale::c());
    QCOMPARE(texto_valor(12.5), QStringLiteral("12.5"));
    QCOMPARE(numero_a_texto(1.0 / 3.0), QStringLiteral("0.3333333333333333"));
    // Whole, without an exponent where 15 characters allow it.
    QCOMPARE(numero_a_texto(0.00001), QStringLiteral("0.00001"));
    QCOMPARE(numero_a_texto(1e-20), QStringLiteral("1E-20"));
    // What the writer writes reads back as the same double, bit for bit,
    // also where it takes 17 digits: 1234567890123456789, 0.000012345678901,
    // -1.23456789012345e-20, 1/3, 1e300, 0.1 + 0.2, the double after 1, the
    // largest and the smallest.
    for (double x : {0x1.12210f47de981p+60, 0x1.9e40930245bdap-17, -0x1.d2681472affccp-67, 0x1.5555555555555p-2,
                     0x1.7e43c8800759cp+996, 0x1.3333333333334p-2, 0x1.0000000000001p+0, 0x1.fffffffffffffp+1023,
                     0x0.0000000000001p-1022})
        QCOMPARE_BITS(::a_numero(numero_a_texto(x)), x);
}

void TstTextos::tipo_numero_data()
{
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<TipoNumero>("tipo");
    QTest::newRow("Null") << QVariant() << TipoNumero::Ninguno;
    QTest::newRow("double Null") << QVariant(QMetaType(QMetaType::Double)) << TipoNumero::Ninguno;
    QTest::newRow("double") << QVariant(72.5) << TipoNumero::Real;
    QTest::newRow("float") << QVariant(0.5f) << TipoNumero::Real;
    QTest::newRow("int") << QVariant(2005) << TipoNumero::Entero;
    QTest::newRow("uint") << QVariant(7u) << TipoNumero::Entero;
    QTest::newRow("long long") << QVariant(qlonglong(1) << 60) << TipoNumero::Entero;
    QTest::newRow("unsigned long long") << QVariant(qulonglong(3)) << TipoNumero::Entero;
    QTest::newRow("texto de número") << QVariant(QStringLiteral("12")) << TipoNumero::Ninguno;
    QTest::newRow("bool") << QVariant(true) << TipoNumero::Ninguno;
}

void TstTextos::tipo_numero()
{
    QFETCH(QVariant, valor);
    QFETCH(TipoNumero, tipo);
    QCOMPARE(::tipo_numero(valor), tipo);
}

void TstTextos::a_numero_data()
{
    casos_numeros();
}

void TstTextos::a_numero()
{
    QFETCH(QString, texto);
    QFETCH(bool, es_numero);
    QFETCH(double, numero);
    // One reading in every locale, as the stores' check has no locale.
    for (const QLocale& l : {QLocale::c(), QLocale(QLocale::Spanish, QLocale::Spain),
                             QLocale(QLocale::English, QLocale::UnitedStates)}) {
        QLocale::setDefault(l);
        const auto n = ::a_numero(texto);
        QVERIFY2(n.has_value() == es_numero, qPrintable(l.name()));
        if (es_numero)
            QCOMPARE_BITS(n, numero);
    }
}

QTEST_GUILESS_MAIN(TstTextos)
#include "tst_textos.moc"
