// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/textos.h"
#include "soporte/bits.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"

#include <QLocale>

#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#ifdef __GLIBC__
#include <malloc.h>

using namespace velmora;
#endif

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
    void textos_con_relleno_data();
    void textos_con_relleno();
    void numeros_como_numeros();
    void listado_grande_en_poca_memoria();
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

void TstGrilla::textos_con_relleno_data()
{
    QTest::addColumn<QString>("texto");
    QTest::newRow("vacío") << QString();
    QTest::newRow("solo blancos") << QStringLiteral("       ");
    QTest::newRow("con relleno") << QStringLiteral("Enero       ");
    QTest::newRow("blancos delante") << QStringLiteral("  x ");
    QTest::newRow("más blancos que la cuenta") << QStringLiteral("a") + QString(300, u' ');
    QTest::newRow("número como texto") << QStringLiteral("12,5       ");
}

void TstGrilla::textos_con_relleno()
{
    QFETCH(QString, texto);
    ModeloGrilla m;
    m.setTextMatrix(1, 1, texto);
    QCOMPARE(m.TextMatrix(1, 1), texto);
    QCOMPARE(m.data(m.index(1, 1)).toString(), texto);
    QCOMPARE(m.ValorMatrix(1, 1), std::nullopt);
    // The padding given apart reads back as part of the text.
    m.setTextMatrix(0, 1, texto.trimmed(), 7);
    QCOMPARE(m.TextMatrix(0, 1), texto.trimmed() + QString(7, u' '));
    QCOMPARE(m.TextoSinRelleno(0, 1), texto.trimmed());
}

void TstGrilla::numeros_como_numeros()
{
    const LocalePrueba l(QStringLiteral("es_ES"));
    ModeloGrilla m;
    m.setValorMatrix(1, 1, -3.5, 7);
    m.setValorMatrix(1, 0, 0.1 + 0.2);
    QCOMPARE_BITS(m.ValorMatrix(1, 1), -3.5);
    QCOMPARE(m.TextMatrix(1, 1), QStringLiteral("-3,5       "));
    QCOMPARE(m.TextoSinRelleno(1, 1), QStringLiteral("-3,5"));
    QCOMPARE_BITS(m.ValorMatrix(1, 0), 0x1.3333333333334p-2); // 0,1 + 0,2
    QCOMPARE(m.TextMatrix(1, 0), QStringLiteral("0,30000000000000004"));
    // A number survives a change of shape; a text written over it is a text.
    m.setCols(4);
    QCOMPARE_BITS(m.ValorMatrix(1, 1), -3.5);
    m.setTextMatrix(1, 1, QStringLiteral("-3,5"));
    QCOMPARE(m.ValorMatrix(1, 1), std::nullopt);
    QCOMPARE(m.TextMatrix(1, 1), QStringLiteral("-3,5"));
}

// A listing as "Llenar" builds it: twelve months, a few hundred names and
// types repeated down the rows, every text padded with 7 blanks.
void TstGrilla::listado_grande_en_poca_memoria()
{
#ifndef __GLIBC__
    QSKIP("the allocator's figures are read from glibc");
#else
    const int filas = 50000;
    const int columnas = 9;
    auto en_uso = [] {
        malloc_trim(0);
        const struct mallinfo2 m = mallinfo2();
        return double(m.uordblks + m.hblkhd);
    };
    const double antes = en_uso();
    {
        ModeloGrilla m;
        m.setCols(columnas);
        m.setRows(filas);
        for (int f = 0; f < filas; ++f) {
            const QString indicador = QStringLiteral("Indicador número %1").arg(f % 400);
            for (int c = 0; c < columnas; ++c) {
                const QString campo = c == 1 ? nombres_meses()[f % 12] : c == 2 ? indicador
                                                                              : QStringLiteral("Principal      ");
                m.setTextMatrix(f, c, texto_celda(campo, 80));
            }
        }
        const double por_celda = (en_uso() - antes) / (double(filas) * columnas);
        QCOMPARE(m.TextMatrix(filas - 1, 2), texto_celda(QStringLiteral("Indicador número %1").arg((filas - 1) % 400), 80));
        // Each distinct text once, the blanks as a count: about a tenth of
        // what a string per cell takes.
        QVERIFY2(por_celda <= 12, qPrintable(QStringLiteral("%1 bytes por celda").arg(por_celda)));
    }
#endif
}

QTEST_MAIN(TstGrilla)
#include "tst_grilla.moc"
