// SPDX-License-Identifier: GPL-3.0-or-later
// No lost update on the PostgreSQL server of scripts/con_postgres.sh: a
// second program saves a month between the screen's fetch and its save.

#include "data/conexion.h"
#include "entry/modificar.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace velmora;

class TstModificarPostgres final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void cambio_ajeno_data();
    void cambio_ajeno();

private:
    std::unique_ptr<BasePostgres> base_;
};

void TstModificarPostgres::initTestCase()
{
    if (dsn_postgres().isEmpty())
        QFAIL("no PostgreSQL server (VELMORA_PG_DSN): run the tests through scripts/con_postgres.sh");
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    base_ = std::make_unique<BasePostgres>(QStringLiteral("velmora_cambio_ajeno_%1").arg(QCoreApplication::applicationPid()));
}

void TstModificarPostgres::cleanupTestCase()
{
    base_.reset();
}

void TstModificarPostgres::init()
{
    Conexion().abrir("FILEDSN=" + base_->dsn());
}

void TstModificarPostgres::cleanup()
{
    Conexion().cerrar();
}

void TstModificarPostgres::cambio_ajeno_data()
{
    QTest::addColumn<int>("mes");          // the month the other program saves, 0 for none
    QTest::addColumn<QString>("esperado"); // the month as the refusal names it, empty for a save
    QTest::newRow("el mes editado") << 2 << "Febrero (Valor: 75; Meta: 2; Nivel Base: 1)";
    QTest::newRow("un mes no tocado") << 9 << "Septiembre (Valor: 75; Meta: 2; Nivel Base: 1)";
    QTest::newRow("nadie cambió nada") << 0 << "";
}

void TstModificarPostgres::cambio_ajeno()
{
    QFETCH(int, mes);
    QFETCH(QString, esperado);
    RegistroMensajes mensajes;
    Modificar ventana;
    ventana.show();
    control<QComboBox>(&ventana, "Combo_kpi")->setEditText("Margen operativo");
    control<QComboBox>(&ventana, "Combo_año")->setEditText("2024");
    pulsar(&ventana, "boton_consulta");
    const QStringList antes = meses_guardados("Margen operativo", "2024");
    QCOMPARE(antes.size(), 12);
    control<Grilla>(&ventana, "MSFlexGrid1")->setTextMatrix(1, 2, "22");

    if (mes > 0) {
        QProcess otro;
        otro.start(QStringLiteral(VELMORA_BLOQUEADOR),
                   {"guardar", base_->dsn(), antes.at(mes - 1).section(u'|', 3, 3), "75", "0"});
        QVERIFY(otro.waitForFinished(30000));
        QCOMPARE(otro.exitCode(), 0);
    }
    const QStringList ajeno = meses_guardados("Margen operativo", "2024");
    pulsar(&ventana, "boton_guardar");
    QCOMPARE(mensajes.mensajes.size(), 1);
    QCOMPARE(mensajes.mensajes[0].titulo, QStringLiteral("Mensajes"));
    if (esperado.isEmpty()) {
        QCOMPARE(mensajes.textos(), QStringList{"Datos Guardados Exitosamente"});
        QCOMPARE(meses_guardados("Margen operativo", "2024").at(1).section(u'|', 0, 0), QStringLiteral("22"));
        return;
    }
    QCOMPARE(mensajes.textos().first(),
             "Otro usuario cambió estos valores después de que usted los consultó: " + esperado
                 + ". No se guardó nada. Pulse Aceptar para ver los valores actuales.");
    QCOMPARE(meses_guardados("Margen operativo", "2024"), ajeno);
}

QTEST_MAIN(TstModificarPostgres)
#include "tst_modificar_postgres.moc"
