// SPDX-License-Identifier: GPL-3.0-or-later
#include "reglas/mes_anterior.h"

#include <QtTest>

using namespace velmora;

// The month a report compares with, as each report asks its procedure for it.
class TstMesAnterior final : public QObject {
    Q_OBJECT
private slots:
    void mes_anterior_data();
    void mes_anterior();
};

void TstMesAnterior::mes_anterior_data()
{
    QTest::addColumn<QString>("mes");
    QTest::addColumn<QString>("principal");
    QTest::addColumn<QString>("departamental");
    const QStringList meses = {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto",
                               "Septiembre", "Octubre", "Noviembre", "Diciembre"};
    for (int i = 1; i < meses.size(); ++i) {
        const QString antes = meses[i - 1] == "Septiembre" ? QStringLiteral("septiembre") : meses[i - 1];
        QTest::newRow(qPrintable(meses[i])) << meses[i] << meses[i - 1] << antes;
    }
    QTest::newRow("Enero") << "Enero" << "Diciembre" << "Diciembre";
    QTest::newRow("minúscula") << "marzo" << "Diciembre" << "Diciembre";
    QTest::newRow("con blanco") << "Marzo " << "Diciembre" << "Diciembre";
    QTest::newRow("trimestre") << "Cuarto Trimestre" << "Diciembre" << "Diciembre";
    QTest::newRow("vacío") << "" << "Diciembre" << "Diciembre";
}

void TstMesAnterior::mes_anterior()
{
    QFETCH(QString, mes);
    QFETCH(QString, principal);
    QFETCH(QString, departamental);
    QCOMPARE(::mes_anterior(mes), principal);
    QCOMPARE(::mes_anterior(mes, QStringLiteral("septiembre")), departamental);
}

QTEST_GUILESS_MAIN(TstMesAnterior)
#include "tst_mes_anterior.moc"
