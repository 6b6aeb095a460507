// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/leyenda.h"

#include <QLocale>
#include <QtTest>

using namespace velmora;

// A report picture's tooltip: its meaning and the numbers behind it.
class TstLeyenda final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void ayuda_estado_data();
    void ayuda_estado();
    void ayuda_tendencia_data();
    void ayuda_tendencia();
};

void TstLeyenda::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
}

void TstLeyenda::ayuda_estado_data()
{
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("M");
    QTest::addColumn<QString>("B");
    QTest::addColumn<QString>("mostrada");
    QTest::addColumn<QString>("texto");
    QTest::newRow("verde 72 %") << "17,2  " << "20" << "10" << "Amarillo"
        << significado_imagen("Amarillo") + "\n72 % del camino de la línea base a la meta (línea base 10, meta 20, valor 17,2)";
    QTest::newRow("verde 90 %") << "19" << "20" << "10" << "Verde"
        << significado_imagen("Verde") + "\n90 % del camino de la línea base a la meta (línea base 10, meta 20, valor 19)";
    QTest::newRow("meta igual a la base") << "5" << "10" << "10" << "Blanco" << significado_imagen("Blanco");
    QTest::newRow("forzada") << "19" << "20" << "10" << "Blanco" << significado_imagen("Blanco");
    // Differences too large for a double still give the share the picture shows.
    QTest::newRow("enormes") << "1,5e308" << "1e308" << "-1e308" << "Azul"
        << significado_imagen("Azul") + "\n125 % del camino de la línea base a la meta (línea base -1e308, meta 1e308, valor 1,5e308)";
}

void TstLeyenda::ayuda_estado()
{
    QFETCH(QString, V);
    QFETCH(QString, M);
    QFETCH(QString, B);
    QFETCH(QString, mostrada);
    QFETCH(QString, texto);
    QCOMPARE(::ayuda_estado(mostrada, V, M, B), texto);
}

void TstLeyenda::ayuda_tendencia_data()
{
    QTest::addColumn<QString>("V");
    QTest::addColumn<QString>("C");
    QTest::addColumn<QString>("mostrada");
    QTest::addColumn<QString>("texto");
    QTest::newRow("sube 12 %") << "11,2" << "10" << "T_Verde"
        << significado_imagen("T_Verde") + "\n+12 % frente al valor comparado (de 10 a 11,2)";
    QTest::newRow("baja 30 %") << "7" << "10" << "T_Rojo"
        << significado_imagen("T_Rojo") + "\n-30 % frente al valor comparado (de 10 a 7)";
    QTest::newRow("sin comparación") << "7" << "" << "raya" << significado_imagen("raya");
    QTest::newRow("comparado con cero") << "7" << "0" << "Blanco" << significado_imagen("Blanco");
    QTest::newRow("enormes") << "1e308" << "-1e308" << "T_Rojo"
        << significado_imagen("T_Rojo") + "\n-200 % frente al valor comparado (de -1e308 a 1e308)";
}

void TstLeyenda::ayuda_tendencia()
{
    QFETCH(QString, V);
    QFETCH(QString, C);
    QFETCH(QString, mostrada);
    QFETCH(QString, texto);
    QCOMPARE(::ayuda_tendencia(mostrada, V, C), texto);
}

QTEST_GUILESS_MAIN(TstLeyenda)
#include "tst_leyenda.moc"
