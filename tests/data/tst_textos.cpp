#include "data/textos.h"

#include <QtTest>

class TstTextos final : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void item_y_celda_data();
    void item_y_celda();
    void valores();
    void a_numero_data();
    void a_numero();
};

void TstTextos::item_y_celda_data()
{
    QTest::addColumn<bool>("item");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<int>("largo");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("año en 5") << true << "2007" << 5 << "2007 ";
    QTest::newRow("año en 15") << true << "2007" << 15 << "2007           ";
    QTest::newRow("tipo en 15") << true << "Principal" << 15 << "Principal      ";
    QTest::newRow("item nulo") << true << "" << 5 << "     ";
    QTest::newRow("item largo") << true << QString(90, 'x') << 80 << QString(80, 'x');
    QTest::newRow("celda corta") << false << "12,5" << 15 << "12,5       ";
    QTest::newRow("celda 8") << false << "12345678" << 15 << "12345678       ";
    QTest::newRow("celda 10") << false << "1234567890" << 15 << "1234567890     ";
    QTest::newRow("celda cortada") << false << "12345678901234567" << 15 << "123456789012345";
    QTest::newRow("celda nula") << false << "" << 15 << "       ";
    QTest::newRow("celda 80") << false << QString(80, 'n') << 80 << QString(80, 'n');
}

void TstTextos::item_y_celda()
{
    QFETCH(bool, item);
    QFETCH(QString, campo);
    QFETCH(int, largo);
    QFETCH(QString, esperado);
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
}

void TstTextos::a_numero_data()
{
    QTest::addColumn<bool>("espanol");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("es_numero");
    QTest::addColumn<double>("numero");
    QTest::newRow("es coma") << true << "12,5       " << true << 12.5;
    QTest::newRow("es entero") << true << "40     " << true << 40.0;
    QTest::newRow("es negativo") << true << "-10,25" << true << -10.25;
    QTest::newRow("es punto") << true << "0.85" << true << 0.85;
    QTest::newRow("es blancos") << true << "       " << false << 0.0;
    QTest::newRow("es vacío") << true << "" << false << 0.0;
    QTest::newRow("es texto") << true << "abc" << false << 0.0;
    QTest::newRow("c punto") << false << "12.5   " << true << 12.5;
    QTest::newRow("c coma") << false << "12,5" << false << 0.0;
    QTest::newRow("c texto") << false << "12x" << false << 0.0;
    QTest::newRow("c infinito") << false << "inf" << false << 0.0;
    QTest::newRow("c cortado") << false << "123456789012345" << true << 123456789012345.0;
}

void TstTextos::a_numero()
{
    QFETCH(bool, espanol);
    QFETCH(QString, texto);
    QFETCH(bool, es_numero);
    QFETCH(double, numero);
    QLocale::setDefault(espanol ? QLocale(QLocale::Spanish, QLocale::Spain) : QLocale::c());
    const auto n = ::a_numero(texto);
    QCOMPARE(n.has_value(), es_numero);
    if (es_numero)
        QCOMPARE(*n, numero);
}

QTEST_GUILESS_MAIN(TstTextos)
#include "tst_textos.moc"
