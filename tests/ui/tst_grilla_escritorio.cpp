// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/grilla.h"
#include "ui/leyenda.h"
#include "ui/twips.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>

using namespace velmora;

namespace {

// A report-like grid: one heading row, one heading column, a picture column.
struct Reporte {
    Grilla g;
    Reporte()
    {
        g.setCols(4);
        g.setRows(4);
        const QStringList encabezados = {"Indicador", "Valor", "Meta", "Estado"};
        for (int c = 0; c < 4; ++c)
            g.setTextMatrix(0, c, encabezados[c]);
        const QStringList indicadores = {"Margen bruto   ", "Ventas\tnetas  ", "Rotación       "};
        for (int f = 1; f < 4; ++f) {
            g.setTextMatrix(f, 0, indicadores[f - 1]);
            g.setTextMatrix(f, 1, QStringLiteral("%1,5       ").arg(f * 10));
            g.setTextMatrix(f, 2, QStringLiteral("%1       ").arg(f * 20));
        }
        g.modelo()->setCellPicture(1, 3, "Verde");
        g.modelo()->setCellPicture(2, 3, "Rojo");
        g.resize(600, 200);
    }
};

} // namespace

class TstGrillaEscritorio final : public QObject {
    Q_OBJECT
private slots:
    void tabla_accesible();
    void foco_en_las_filas_vacias();
    void copiar_data();
    void copiar();
    void ctrl_c_en_la_grilla();
    void ensanchar_columna_por_su_borde_data();
    void ensanchar_columna_por_su_borde();
    void ayuda_de_una_imagen();
};

// A screen reader walks the hand-drawn grid as a table: its size, headings,
// each cell's text without padding, and what a picture means.
void TstGrillaEscritorio::tabla_accesible()
{
    Reporte r;
    r.g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&r.g));
    QAccessibleInterface* tabla = QAccessible::queryAccessibleInterface(&r.g);
    QVERIFY(tabla);
    QCOMPARE(tabla->role(), QAccessible::Table);
    QAccessibleTableInterface* t = tabla->tableInterface();
    QVERIFY(t);
    QCOMPARE(t->rowCount(), 3);
    QCOMPARE(t->columnCount(), 3);
    QCOMPARE(tabla->childCount(), 9);
    QCOMPARE(t->columnDescription(0), QStringLiteral("Valor"));
    QCOMPARE(t->columnDescription(2), QStringLiteral("Estado"));
    QCOMPARE(t->rowDescription(0), QStringLiteral("Margen bruto"));

    QAccessibleInterface* valor = t->cellAt(1, 0);
    QVERIFY(valor);
    QCOMPARE(valor->role(), QAccessible::Cell);
    QCOMPARE(valor->text(QAccessible::Name), QStringLiteral("20,5"));
    QCOMPARE(valor->parent(), tabla);
    QCOMPARE(tabla->indexOfChild(valor), 3);
    QAccessibleInterface* estado = t->cellAt(0, 2);
    QVERIFY(estado->text(QAccessible::Name).startsWith(QStringLiteral("Verde: meta cumplida")));
    QVERIFY(t->cellAt(1, 2)->text(QAccessible::Name).startsWith(QStringLiteral("Rojo: ")));
    QCOMPARE(t->cellAt(2, 2)->text(QAccessible::Name), QString()); // no picture, no text

    QAccessibleTableCellInterface* celda = valor->tableCellInterface();
    QVERIFY(celda);
    QCOMPARE(celda->rowIndex(), 1);
    QCOMPARE(celda->columnIndex(), 0);
    QCOMPARE(celda->columnHeaderCells().size(), 1);
    QCOMPARE(celda->columnHeaderCells().first()->text(QAccessible::Name), QStringLiteral("Valor"));
    QCOMPARE(celda->columnHeaderCells().first()->role(), QAccessible::ColumnHeader);
    QCOMPARE(celda->rowHeaderCells().first()->text(QAccessible::Name), QStringLiteral("Ventas netas"));
    // Its place on screen is the cell's.
    const QRect esperado(r.g.mapToGlobal(r.g.rectangulo(2, 1).topLeft()), r.g.rectangulo(2, 1).size());
    QCOMPARE(valor->rect(), esperado);
    QCOMPARE(tabla->childAt(esperado.center().x(), esperado.center().y()), valor);

    // A grid that changes shape answers with its new shape.
    r.g.setRows(2);
    QCOMPARE(t->rowCount(), 1);
    QVERIFY(!t->cellAt(1, 0));
}

// The blank rows below a report's indicators are left out of the table,
// until the keyboard moves into one: the focused cell is always inside the
// table the reader knows, and the table still says how many rows hold data.
void TstGrillaEscritorio::foco_en_las_filas_vacias()
{
    Reporte r;
    r.g.setRows(7);
    r.g.show();
    QVERIFY(QTest::qWaitForWindowActive(&r.g));
    r.g.setFocus();
    QAccessibleInterface* tabla = QAccessible::queryAccessibleInterface(&r.g);
    QAccessibleTableInterface* t = tabla->tableInterface();
    QCOMPARE(t->rowCount(), 3);
    const QString descripcion = tabla->text(QAccessible::Description);
    QCOMPARE(descripcion, QStringLiteral("3 filas con datos"));
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(&r.g, Qt::Key_Down);
    QCOMPARE(r.g.Row(), 5);
    QAccessibleInterface* foco = tabla->focusChild();
    QVERIFY(foco);
    QAccessibleTableCellInterface* celda = foco->tableCellInterface();
    QCOMPARE(celda->rowIndex(), 4);
    QVERIFY(celda->rowIndex() < t->rowCount());
    QCOMPARE(t->cellAt(celda->rowIndex(), celda->columnIndex()), foco);
    QCOMPARE(tabla->indexOfChild(foco), 4 * t->columnCount());
    QVERIFY(tabla->indexOfChild(foco) < tabla->childCount());
    QCOMPARE(tabla->text(QAccessible::Description), descripcion);
    // Back among the data, the blank rows drop out again.
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(&r.g, Qt::Key_Up);
    QCOMPARE(r.g.Row(), 1);
    QCOMPARE(t->rowCount(), 3);
}

void TstGrillaEscritorio::copiar_data()
{
    QTest::addColumn<QPoint>("desde"); // (column, row)
    QTest::addColumn<QPoint>("hasta");
    QTest::addColumn<QString>("texto");
    const QString todo = "Indicador\tValor\tMeta\tEstado\n"
                         "Margen bruto\t10,5\t20\t" + significado_imagen("Verde") + "\n"
                         "Ventas netas\t20,5\t40\t" + significado_imagen("Rojo") + "\n"
                         "Rotación\t30,5\t60\t\n";
    QTest::newRow("una celda: toda la grilla") << QPoint(1, 1) << QPoint(1, 1) << todo;
    QTest::newRow("un bloque con sus encabezados") << QPoint(1, 2) << QPoint(2, 3)
        << "Indicador\tValor\tMeta\nVentas netas\t20,5\t40\nRotación\t30,5\t60\n";
    QTest::newRow("hacia atrás") << QPoint(2, 3) << QPoint(1, 2)
        << "Indicador\tValor\tMeta\nVentas netas\t20,5\t40\nRotación\t30,5\t60\n";
}

// Shift with a click or an arrow selects cells; the copied text is what a
// spreadsheet pastes into rows and columns.
void TstGrillaEscritorio::copiar()
{
    QFETCH(QPoint, desde);
    QFETCH(QPoint, hasta);
    QFETCH(QString, texto);
    Reporte r;
    r.g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&r.g));
    r.g.setRow(desde.y());
    r.g.setCol(desde.x());
    const QRect celda = r.g.rectangulo(hasta.y(), hasta.x()).translated(-r.g.viewport()->pos());
    QTest::mouseClick(r.g.viewport(), Qt::LeftButton, Qt::ShiftModifier, celda.center());
    QCOMPARE(r.g.seleccion(), QRect(QPoint(qMin(desde.x(), hasta.x()), qMin(desde.y(), hasta.y())),
                                     QPoint(qMax(desde.x(), hasta.x()), qMax(desde.y(), hasta.y()))));
    QCOMPARE(r.g.texto_para_copiar(), texto);
    // A plain click forgets the block.
    QTest::mouseClick(r.g.viewport(), Qt::LeftButton, {}, celda.center());
    QCOMPARE(r.g.seleccion(), QRect(hasta, hasta));
}

void TstGrillaEscritorio::ctrl_c_en_la_grilla()
{
    Reporte r;
    r.g.show();
    QVERIFY(QTest::qWaitForWindowActive(&r.g));
    r.g.setFocus();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&r.g, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&r.g, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(r.g.seleccion(), QRect(QPoint(1, 1), QPoint(2, 2)));
    QTest::keyClick(&r.g, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("Indicador\tValor\tMeta\nMargen bruto\t10,5\t20\nVentas netas\t20,5\t40\n"));
}

void TstGrillaEscritorio::ensanchar_columna_por_su_borde_data()
{
    QTest::addColumn<bool>("ensanchada");
    QTest::addColumn<int>("arrastre");
    QTest::newRow("a su ancho, más ancha") << false << 40;
    QTest::newRow("a su ancho, más estrecha") << false << -10;
    // Columns that share out the view's spare room: the edge still follows
    // the pointer, both ways.
    QTest::newRow("ensanchada, más estrecha") << true << -30;
    QTest::newRow("ensanchada, más ancha") << true << 30;
}

// Dragging the edge of a heading widens or narrows its column by as much as
// the pointer moves, and no cell is clicked.
void TstGrillaEscritorio::ensanchar_columna_por_su_borde()
{
    QFETCH(bool, ensanchada);
    QFETCH(int, arrastre);
    Reporte r;
    r.g.setEnsanchar(ensanchada);
    r.g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&r.g));
    QSignalSpy clics(&r.g, &Grilla::Click);
    const int antes = r.g.ancho_columna_px(1);
    if (ensanchada)
        QVERIFY(antes > twips_a_px(r.g.ColWidth(1), &r.g) + 30); // it has a share of spare room
    const QRect encabezado = r.g.rectangulo(0, 1).translated(-r.g.viewport()->pos());
    const QPoint borde(encabezado.right() + 1, encabezado.center().y());
    const QPoint destino = borde + QPoint(arrastre, 0);
    QTest::mousePress(r.g.viewport(), Qt::LeftButton, {}, borde);
    QMouseEvent mover(QEvent::MouseMove, QPointF(destino), r.g.viewport()->mapToGlobal(QPointF(destino)),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(r.g.viewport(), &mover);
    QTest::mouseRelease(r.g.viewport(), Qt::LeftButton, {}, destino);
    const QRect despues = r.g.rectangulo(0, 1).translated(-r.g.viewport()->pos());
    QVERIFY2(qAbs(despues.right() + 1 - destino.x()) <= 2,
             qPrintable(QStringLiteral("%1 -> %2").arg(borde.x()).arg(despues.right() + 1)));
    QVERIFY2(qAbs(r.g.ancho_columna_px(1) - (antes + arrastre)) <= 2,
             qPrintable(QStringLiteral("%1 -> %2").arg(antes).arg(r.g.ancho_columna_px(1))));
    QCOMPARE(clics.size(), 0);
    QCOMPARE(QPoint(r.g.Col(), r.g.Row()), QPoint(1, 1));
}

// A picture's tooltip is what the screen says about it, or its meaning.
void TstGrillaEscritorio::ayuda_de_una_imagen()
{
    Reporte r;
    QCOMPARE(r.g.ayuda(1, 3), significado_imagen("Verde"));
    QCOMPARE(r.g.ayuda(1, 1), QString());
    r.g.setAyuda([](int fila, int columna) {
        return columna == 3 && fila == 2 ? QStringLiteral("12 % del camino de la línea base a la meta") : QString();
    });
    QCOMPARE(r.g.ayuda(2, 3), QStringLiteral("12 % del camino de la línea base a la meta"));
    QCOMPARE(r.g.ayuda(1, 3), significado_imagen("Verde"));
    QCOMPARE(r.g.ayuda(9, 9), QString());
    for (const QString& nombre : imagenes_leyenda())
        QVERIFY2(!significado_imagen(nombre).isEmpty(), qPrintable(nombre));
}

QTEST_MAIN(TstGrillaEscritorio)
#include "tst_grilla_escritorio.moc"
