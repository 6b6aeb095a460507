// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/comandos.h"

#include <QtTest>

using namespace velmora;

class TstComandos final : public QObject {
    Q_OBJECT
private slots:
    void textos_data();
    void textos();
    void analizar_devuelve_argumentos_data();
    void analizar_devuelve_argumentos();
    void analizar_rechaza();
};

void TstComandos::textos_data()
{
    QTest::addColumn<QString>("comando");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("consulta") << comando_consulta("Año") << "select * from Año ";
    QTest::newRow("consulta con blanco") << comando_consulta("Tipo Indicador")
                                         << "select * from [Tipo Indicador] ";
    QTest::newRow("exec sin argumentos") << comando_exec("Exportar") << "Exec Exportar";
    QTest::newRow("exec uno") << comando_exec("eliminar", {"Ventas  "}) << "Exec eliminar 'Ventas  '";
    QTest::newRow("exec reporte")
        << comando_exec("Reporte_Principal", {"Financiero     ", "2007 ", "Marzo", "1"})
        << "Exec Reporte_Principal 'Financiero     ','2007 ','Marzo','1'";
    QTest::newRow("tendencia")
        << comando_exec_tendencia("Ten_Des", {"Principal      ", "2009 ", "Ventas"})
        << "Exec Ten_Des 'Principal      ', '2009 ','Ventas'";
    QTest::newRow("tendencia cuatro")
        << comando_exec_tendencia("Ten_Des_1_2", {"Departamentales", "2009 ", "K", "Primer Trimestre"})
        << "Exec Ten_Des_1_2 'Departamentales', '2009 ','K','Primer Trimestre'";
    QTest::newRow("modificar") << comando_modificar("1,5", "2", "3", "17")
                               << "Exec modificar '1,5','2','3','17' ";
    QTest::newRow("modificar vacío") << comando_modificar("", "", "", "")
                                     << "Exec modificar '','','','' ";
    QTest::newRow("comilla") << comando_exec("eliminar", {"O'Brien"}) << "Exec eliminar 'O''Brien'";
    QTest::newRow("dos comillas") << comando_exec("eliminar", {"''"}) << "Exec eliminar ''''''";
    QTest::newRow("inyección") << comando_exec("eliminar", {"' or '1'='1"})
                               << "Exec eliminar ''' or ''1''=''1'";
}

void TstComandos::textos()
{
    QFETCH(QString, comando);
    QFETCH(QString, esperado);
    QCOMPARE(comando, esperado);
}

void TstComandos::analizar_devuelve_argumentos_data()
{
    QTest::addColumn<QString>("comando");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QStringList>("argumentos");
    const QStringList raros = {"' or '1'='1", "--", "''", "a,b", "x', 'y", "  ", ""};
    QTest::newRow("sin argumentos") << comando_exec("Exportar") << "Exportar" << QStringList{};
    QTest::newRow("exec") << comando_exec("Nuevo_registro", raros) << "Nuevo_registro" << raros;
    QTest::newRow("tendencia") << comando_exec_tendencia("Ten_Des2", raros) << "Ten_Des2" << raros;
    QTest::newRow("modificar") << comando_modificar("1,5 ", "'", "--", "9") << "modificar"
                               << QStringList{"1,5 ", "'", "--", "9"};
    QTest::newRow("vacío") << comando_exec("eliminar", {""}) << "eliminar" << QStringList{""};
}

void TstComandos::analizar_devuelve_argumentos()
{
    QFETCH(QString, comando);
    QFETCH(QString, nombre);
    QFETCH(QStringList, argumentos);
    const auto llamada = analizar_exec(comando);
    QVERIFY(llamada);
    QCOMPARE(llamada->nombre, nombre);
    QCOMPARE(llamada->argumentos, argumentos);
}

void TstComandos::analizar_rechaza()
{
    QVERIFY(!analizar_exec("select * from Año "));
    QVERIFY(!analizar_exec("Exec "));
    QVERIFY(!analizar_exec("Exec x 'abierta"));
    QVERIFY(!analizar_exec("Exec x 'a' 'b'"));
    QVERIFY(!analizar_exec("Exec x 'a'; drop table t"));
}

QTEST_GUILESS_MAIN(TstComandos)
#include "tst_comandos.moc"
