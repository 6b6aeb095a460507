// SPDX-License-Identifier: GPL-3.0-or-later
#include "reglas/bandas.h"

#include <QLocale>
#include <QtTest>

using namespace velmora;

// The status and trend rules read the texts the report grids hold (trailing
// blanks, the user's decimal comma) and name a picture. The one table of
// the bands: screen tests expect literal pictures, never a copy of the rule.
class TstIconos final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void estado_data();
    void estado();
    void tendencia_data();
    void tendencia();
    void en_el_limite_data();
    void en_el_limite();
    void rejilla_de_limites();
    void razon_exacta();
    void razon_tendencia_exacta();
};

void TstIconos::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
}

void TstIconos::estado_data()
{
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("M");
    QTest::addColumn<QString>("B");
    QTest::addColumn<QString>("icono");

    QTest::newRow("valor en la meta: 100") << "100       " << "100       " << "0         " << "Verde";
    QTest::newRow("pasada la meta") << "100,5" << "100" << "0" << "Azul";
    QTest::newRow("valor en la base: 0") << "20" << "80" << "20" << "Rojo";
    QTest::newRow("al otro lado de la base") << "10" << "80" << "20" << "Rojo";
    QTest::newRow("justo bajo 40") << "39,9" << "100" << "0" << "Rojo";
    QTest::newRow("exacto 40") << "40" << "100" << "0" << "Amarillo";
    QTest::newRow("a mitad") << "62,5" << "100" << "0" << "Amarillo";
    QTest::newRow("exacto 75") << "75" << "100" << "0" << "Amarillo";
    QTest::newRow("justo sobre 75") << "75,1" << "100" << "0" << "Verde";
    QTest::newRow("punto decimal también lee") << "90.5" << "100" << "0" << "Verde";
    QTest::newRow("decreciente 75") << "35" << "30" << "50" << "Amarillo";
    QTest::newRow("decreciente en la meta") << "30" << "30" << "50" << "Verde";
    QTest::newRow("decreciente pasada") << "25" << "30" << "50" << "Azul";
    QTest::newRow("decreciente peor que la base") << "55" << "30" << "50" << "Rojo";
    QTest::newRow("meta igual a la base") << "10" << "20" << "20" << "Blanco";
    QTest::newRow("sin valor") << "" << "100" << "0" << "Blanco";
    QTest::newRow("valor en blanco") << "               " << "100" << "0" << "Blanco";
    QTest::newRow("valor no numérico") << "abc" << "100" << "0" << "Blanco";
    QTest::newRow("sin meta") << "50" << "" << "0" << "Blanco";
    QTest::newRow("base no numérica") << "50" << "100" << "x" << "Blanco";
    QTest::newRow("enormes: justo en la meta") << "1e308" << "1e308" << "-1e308" << "Verde";
    QTest::newRow("enormes: más allá") << "1,5e308" << "1e308" << "-1e308" << "Azul";
}

void TstIconos::estado()
{
    QFETCH(QString, V);
    QFETCH(QString, M);
    QFETCH(QString, B);
    QFETCH(QString, icono);
    QCOMPARE(icono_estado(V, M, B), icono);
}

void TstIconos::tendencia_data()
{
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("C");
    QTest::addColumn<QString>("icono");

    QTest::newRow("sin comparación") << "10" << "" << "raya";
    QTest::newRow("nada de nada") << "" << "" << "raya";
    QTest::newRow("comparación en blanco") << "10" << "       " << "raya";
    QTest::newRow("comparación no numérica") << "10" << "abc" << "raya";
    QTest::newRow("comparación cero") << "10" << "0" << "Blanco";
    QTest::newRow("comparación cero de celda") << "10" << "0,0    " << "Blanco";
    QTest::newRow("comparación cero sin valor") << "" << "0" << "Blanco";
    QTest::newRow("sin valor") << "" << "100" << "raya";
    QTest::newRow("valor no numérico") << "n/d" << "100" << "raya";
    QTest::newRow("iguales: 0") << "50       " << "50       " << "T_Blanco";
    QTest::newRow("más de 20") << "121" << "100" << "T_Azul";
    QTest::newRow("exacto 20") << "120" << "100" << "T_Verde";
    QTest::newRow("exacto 5") << "105" << "100" << "T_Verde";
    QTest::newRow("justo bajo 5") << "104,9" << "100" << "T_Blanco";
    QTest::newRow("justo sobre -5") << "95,1" << "100" << "T_Blanco";
    QTest::newRow("exacto -5") << "95" << "100" << "T_Amarillo";
    QTest::newRow("exacto -20") << "80" << "100" << "T_Amarillo";
    QTest::newRow("-20,5") << "79,5" << "100" << "T_Rojo";
    QTest::newRow("comparación negativa: -50") << "-5" << "-10" << "T_Rojo";
    QTest::newRow("comparación negativa: +50") << "-15" << "-10" << "T_Azul";
}

void TstIconos::tendencia()
{
    QFETCH(QString, V);
    QFETCH(QString, C);
    QFETCH(QString, icono);
    QCOMPARE(icono_tendencia(V, C), icono);
}

// Every band limit of both rules hit exactly by decimal figures that binary
// division puts on the wrong side, on both sides of zero and both directions.
void TstIconos::en_el_limite_data()
{
    QTest::addColumn<bool>("estado"); // else trend: V and C in V and M
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("M");
    QTest::addColumn<QString>("B");
    QTest::addColumn<QString>("icono");
    auto e = [](const char* fila, const char* V, const char* M, const char* B, const char* icono) {
        QTest::newRow(fila) << true << V << M << B << icono;
    };
    auto t = [](const char* fila, const char* V, const char* C, const char* icono) {
        QTest::newRow(fila) << false << V << C << "" << icono;
    };
    e("75: 2,1 de 0 a 2,8", "2,1", "2,8", "0", "Amarillo");
    e("75 decreciente", "0,7", "0,1", "2,5", "Amarillo");
    e("75 bajo cero", "-2,1", "-2,8", "0", "Amarillo");
    e("40", "0,6", "1,5", "0", "Amarillo");
    e("40 decreciente", "1,42", "0,7", "1,9", "Amarillo");
    e("40 bajo cero", "-0,12", "-0,3", "0", "Amarillo");
    e("100", "0,3", "0,3", "0,1", "Verde");
    e("100 con cifras largas", "0,30000000000000004", "0,30000000000000004", "0,1", "Verde");
    e("100 decreciente bajo cero", "-0,7", "-0,7", "-0,1", "Verde");
    e("justo sobre 75", "2,1000000000000001", "2,8", "0", "Verde");
    e("justo bajo 40", "0,5999999999999999", "1,5", "0", "Rojo");
    e("justo sobre 100", "0,30000000000000001", "0,3", "0,1", "Azul");
    t("+20: de 1,5 a 1,8", "1,8", "1,5", "T_Verde");
    t("-20: de 1,5 a 1,2", "1,2", "1,5", "T_Amarillo");
    t("+5", "0,63", "0,6", "T_Verde");
    t("-5", "0,57", "0,6", "T_Amarillo");
    // The sign follows the formula: below zero, a fall of the figure is +.
    t("+20 bajo cero", "-1,8", "-1,5", "T_Verde");
    t("-20 bajo cero", "-1,2", "-1,5", "T_Amarillo");
    t("+5 bajo cero", "-0,63", "-0,6", "T_Verde");
    t("-5 bajo cero", "-0,57", "-0,6", "T_Amarillo");
    t("justo sobre +20", "1,8000000000000001", "1,5", "T_Azul");
    t("justo bajo -20", "1,1999999999999999", "1,5", "T_Rojo");
    t("justo bajo +5", "0,6299999999999999", "0,6", "T_Blanco");
    t("justo sobre -5", "0,5700000000000001", "0,6", "T_Blanco");
}

void TstIconos::en_el_limite()
{
    QFETCH(bool, estado);
    QFETCH(QString, V);
    QFETCH(QString, M);
    QFETCH(QString, B);
    QFETCH(QString, icono);
    QCOMPARE(estado ? icono_estado(V, M, B) : icono_tendencia(V, M), icono);
}

// Every one-decimal case from -3 to 3 that lies exactly on a limit, against
// the band worked out on whole tenths.
void TstIconos::rejilla_de_limites()
{
    const auto texto = [](int decimas) {
        return QLocale().toString(decimas / 10.0, 'f', 1);
    };
    const auto signo = [](long long n) { return (n > 0) - (n < 0); };
    int en_limite = 0;
    for (int v = -30; v <= 30; ++v) {
        for (int m = -30; m <= 30; ++m) {
            for (int b = -30; b <= 30; ++b) {
                if (m == b)
                    continue;
                const auto lado = [&](int l) { return signo(100LL * (v - b) - l * (m - b)) * signo(m - b); };
                if (lado(40) != 0 && lado(75) != 0 && lado(100) != 0)
                    continue;
                ++en_limite;
                const QString esperado = lado(40) < 0 ? "Rojo" : lado(75) <= 0 ? "Amarillo"
                                                              : lado(100) <= 0 ? "Verde" : "Azul";
                QCOMPARE(icono_estado(texto(v), texto(m), texto(b)), esperado);
            }
            const int c = m;
            if (c == 0)
                continue;
            const auto lado = [&](int l) { return signo(100LL * (v - c) - l * c) * signo(c); };
            if (lado(20) != 0 && lado(5) != 0 && lado(-5) != 0 && lado(-20) != 0)
                continue;
            ++en_limite;
            const QString esperado = lado(20) > 0 ? "T_Azul" : lado(5) >= 0 ? "T_Verde"
                                   : lado(-5) > 0 ? "T_Blanco" : lado(-20) >= 0 ? "T_Amarillo" : "T_Rojo";
            QCOMPARE(icono_tendencia(texto(v), texto(c)), esperado);
        }
    }
    QVERIFY(en_limite > 1000);
}

// The share the trend screen writes beside the status picture: exact
// quotients come out exact, others rounded once.
void TstIconos::razon_exacta()
{
    QCOMPARE(razon_estado("2,1", "2,8", "0"), std::optional<double>(0.75));
    QCOMPARE(razon_estado("0,7", "0,1", "2,5"), std::optional<double>(0.75));
    QCOMPARE(razon_estado("1", "3", "0"), std::optional<double>(1.0 / 3.0));
    QCOMPARE(razon_estado("-1", "3", "0"), std::optional<double>(-1.0 / 3.0));
    QCOMPARE(razon_estado("1e308", "1e-308", "0"), std::nullopt);
    QCOMPARE(razon_estado("1", "1", "1"), std::nullopt);
    QCOMPARE(razon_estado("abc", "1", "0"), std::nullopt);
}

// The change a trend tooltip gives in figures, exact as the band it explains.
void TstIconos::razon_tendencia_exacta()
{
    QCOMPARE(razon_tendencia("1,8", "1,5"), std::optional<double>(0.2));
    QCOMPARE(razon_tendencia("1,2", "1,5"), std::optional<double>(-0.2));
    QCOMPARE(razon_tendencia("11,2", "10"), std::optional<double>(0.12));
    QCOMPARE(razon_tendencia("-15", "-10"), std::optional<double>(0.5));
    QCOMPARE(razon_tendencia("7", "0"), std::nullopt);
    QCOMPARE(razon_tendencia("7", ""), std::nullopt);
    QCOMPARE(razon_tendencia("", "10"), std::nullopt);
}

QTEST_GUILESS_MAIN(TstIconos)
#include "tst_iconos.moc"
