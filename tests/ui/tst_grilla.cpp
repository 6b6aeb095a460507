#include "ui/grid/grilla.h"

#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

class TstGrilla final : public QObject {
    Q_OBJECT
private slots:
    void forma_inicial();
    void textos_e_imagenes_en_el_modelo();
    void cambiar_forma_conserva_textos();
    void lote_avisa_una_vez();
    void eventos_al_mover_por_codigo();
    void clic_y_teclas();
    void fijas_no_se_desplazan();
    void celda_fuera_de_la_grilla_falla_fuerte();
};

void TstGrilla::forma_inicial()
{
    Grilla g;
    QCOMPARE(g.Rows(), 2);
    QCOMPARE(g.Cols(), 2);
    QCOMPARE(g.FixedRows(), 1);
    QCOMPARE(g.FixedCols(), 1);
    QCOMPARE(g.Row(), 1);
    QCOMPARE(g.Col(), 1);
    ModeloGrilla m;
    QCOMPARE(m.Rows(), 2);
    QCOMPARE(m.Cols(), 2);
}

void TstGrilla::textos_e_imagenes_en_el_modelo()
{
    ModeloGrilla m;
    m.setCols(5);
    m.setRows(3);
    m.setTextMatrix(2, 4, "12,5       ");
    m.setCellPicture(1, 3, "Verde");
    QCOMPARE(m.TextMatrix(2, 4), QStringLiteral("12,5       "));
    QCOMPARE(m.data(m.index(2, 4)).toString(), QStringLiteral("12,5       "));
    QCOMPARE(m.data(m.index(1, 3), ModeloGrilla::RolImagen).toString(), QStringLiteral("Verde"));
    QCOMPARE(m.data(m.index(2, 4), ModeloGrilla::RolImagen).toString(), QString());
    QCOMPARE(m.data(m.index(0, 3), ModeloGrilla::RolFija).toBool(), true);
    QCOMPARE(m.data(m.index(1, 3), ModeloGrilla::RolFija).toBool(), false);
    m.setCellPicture(1, 3, "Blanco");
    QCOMPARE(m.CellPicture(1, 3), QStringLiteral("Blanco"));
    QCOMPARE(m.ColWidth(2), ModeloGrilla::AnchoPorDefecto);
    m.setColWidth(2, 1250);
    QCOMPARE(m.ColWidth(2), 1250);
}

void TstGrilla::cambiar_forma_conserva_textos()
{
    ModeloGrilla m;
    m.setFixedCols(0);
    m.setCols(9);
    m.setTextMatrix(1, 8, "z");
    m.AddItem("0");
    m.AddItem("1");
    QCOMPARE(m.Rows(), 4);
    QCOMPARE(m.TextMatrix(3, 0), QStringLiteral("1"));
    QCOMPARE(m.TextMatrix(3, 1), QString());
    m.setCols(10);
    QCOMPARE(m.TextMatrix(1, 8), QStringLiteral("z"));
    QCOMPARE(m.TextMatrix(2, 0), QStringLiteral("0"));
    m.setRows(2);
    QCOMPARE(m.Rows(), 2);
    QCOMPARE(m.TextMatrix(1, 8), QStringLiteral("z"));
}

void TstGrilla::lote_avisa_una_vez()
{
    ModeloGrilla m;
    QSignalSpy cambios(&m, &ModeloGrilla::dataChanged);
    QSignalSpy filas(&m, &ModeloGrilla::rowsInserted);
    QSignalSpy reinicios(&m, &ModeloGrilla::modelReset);
    {
        ModeloGrilla::Lote lote(m);
        m.setCols(9);
        for (int i = 0; i < 100; ++i) {
            m.AddItem(QString::number(i));
            m.setTextMatrix(m.Rows() - 1, 8, "x");
        }
        QCOMPARE(reinicios.size(), 0);
    }
    QCOMPARE(cambios.size(), 0);
    QCOMPARE(filas.size(), 0);
    QCOMPARE(reinicios.size(), 1);
    QCOMPARE(m.Rows(), 102);
    QCOMPARE(m.TextMatrix(101, 0), QStringLiteral("99"));
    QCOMPARE(m.TextMatrix(101, 8), QStringLiteral("x"));
}

void TstGrilla::eventos_al_mover_por_codigo()
{
    Grilla g;
    g.setCols(4);
    g.setRows(4);
    g.setTextMatrix(1, 1, "a");
    g.setTextMatrix(2, 1, "b");
    QStringList orden;
    connect(&g, &Grilla::LeaveCell, this, [&] { orden << "Leave " + g.Text(); });
    connect(&g, &Grilla::RowColChange, this, [&] { orden << "Change " + g.Text(); });
    g.setRow(2);
    QCOMPARE(orden, QStringList({"Leave a", "Change b"}));
    orden.clear();
    g.setRow(2); // no move, no events
    QVERIFY(orden.isEmpty());
    g.setCol(3);
    g.setText("c");
    QCOMPARE(g.TextMatrix(2, 3), QStringLiteral("c"));
    QCOMPARE(orden.size(), 2);
}

void TstGrilla::clic_y_teclas()
{
    Grilla g;
    g.setCols(5);
    g.setRows(6);
    g.resize(600, 300);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    QSignalSpy clic(&g, &Grilla::Click);
    QSignalSpy cambio(&g, &Grilla::RowColChange);
    const int alto = g.alto_fila();
    const int x = g.ancho_columna_px(0) + g.ancho_columna_px(1) + g.ancho_columna_px(2) / 2;
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, QPoint(x, 3 * alto + alto / 2));
    QCOMPARE(g.Row(), 3);
    QCOMPARE(g.Col(), 2);
    QCOMPARE(clic.size(), 1);
    QCOMPARE(cambio.size(), 1);
    QVERIFY(g.hasFocus());
    QTest::keyClick(&g, Qt::Key_Down);
    QTest::keyClick(&g, Qt::Key_Right);
    QCOMPARE(g.Row(), 4);
    QCOMPARE(g.Col(), 3);
    QTest::keyClick(&g, Qt::Key_Up);
    QTest::keyClick(&g, Qt::Key_Up);
    QTest::keyClick(&g, Qt::Key_Up);
    QTest::keyClick(&g, Qt::Key_Up);
    QCOMPARE(g.Row(), 1); // never into the heading row
    const QRect r = g.rectangulo_celda();
    QCOMPARE(r.height(), alto);
    QCOMPARE(r.width(), g.ancho_columna_px(3));
}

void TstGrilla::fijas_no_se_desplazan()
{
    Grilla g;
    g.setCols(3);
    g.setRows(1000);
    g.setTextMatrix(0, 1, "Encabezado");
    g.resize(300, 200);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.setRow(900); // brought into view
    QVERIFY(g.verticalScrollBar()->value() > 800);
    const int alto = g.alto_fila();
    QCOMPARE(g.celda_en(QPoint(g.ancho_columna_px(0) + 5, alto / 2)), QPoint(1, 0));
    QCOMPARE(g.celda_en(QPoint(g.ancho_columna_px(0) + 5, alto + alto / 2)).y(),
             g.verticalScrollBar()->value() + 1);
    QCOMPARE(g.rectangulo_celda().top() - g.viewport()->y() >= alto, true);
}

void TstGrilla::celda_fuera_de_la_grilla_falla_fuerte()
{
#ifdef QT_NO_DEBUG
    QSKIP("an optimised build has no assertions: a cell outside the grid is ignored there");
#endif
    if (qEnvironmentVariableIsSet("VELMORA_FUERA")) {
        ModeloGrilla m;
        m.setTextMatrix(2, 0, "x"); // row 2 of a 2-row grid
        return;
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VELMORA_FUERA", "1");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QCoreApplication::applicationFilePath(), {"celda_fuera_de_la_grilla_falla_fuerte"});
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(p.exitStatus(), QProcess::CrashExit);
    QVERIFY(p.readAll().contains("fuera de una grilla"));
}

QTEST_MAIN(TstGrilla)
#include "tst_grilla.moc"
