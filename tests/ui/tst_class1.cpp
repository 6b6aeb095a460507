// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/class1.h"
#include "ui/grid/grilla.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace velmora;

namespace {

// A window as a screen holds it: a grid of 3 x 3 editable cells under one
// fixed row and column, a hidden box and a button outside the grid.
struct Ventana {
    QWidget w;
    Grilla* grilla = new Grilla(&w);
    QLineEdit* caja = new QLineEdit(&w);
    QPushButton* boton = new QPushButton(QStringLiteral("Otro"), &w);
    Class1 editor;

    Ventana()
    {
        grilla->setCols(4);
        grilla->setRows(4);
        for (int f = 0; f < 4; ++f)
            for (int c = 0; c < 4; ++c)
                grilla->setTextMatrix(f, c, QStringLiteral("f%1c%2  ").arg(f).arg(c));
        grilla->setGeometry(10, 20, 400, 150);
        caja->hide();
        boton->setGeometry(10, 180, 80, 30);
        editor.Iniciar(grilla, caja);
        w.resize(420, 220);
    }
    // The grid is first in the focus chain, so it gets the focus on showing.
    bool mostrar()
    {
        w.show();
        w.activateWindow();
        return QTest::qWaitForWindowActive(&w);
    }
    QRect celda_en_ventana() const { return grilla->rectangulo_celda().translated(grilla->pos()); }
};

} // namespace

class TstClass1 final : public QObject {
    Q_OBJECT
private slots:
    void primer_foco_muestra_la_caja();
    void teclas_data();
    void teclas();
    void tab_sale_de_la_grilla_data();
    void tab_sale_de_la_grilla();
    void caja_que_pasa_el_borde();
    void clic_fuera_conserva_el_texto();
    void clic_en_la_misma_celda();
    void clic_en_la_grilla();
    void escribir_reemplaza_el_valor_data();
    void escribir_reemplaza_el_valor();
    void filas_mas_alla_de_32767_data();
    void filas_mas_alla_de_32767();
};

void TstClass1::primer_foco_muestra_la_caja()
{
    Ventana v;
    QVERIFY(v.caja->isHidden()); // Iniciar neither places nor shows it
    QVERIFY(v.mostrar());
    QVERIFY(v.caja->isVisible());
    QVERIFY(v.caja->hasFocus());
    QCOMPARE(v.caja->text(), QStringLiteral("f1c1  "));
    QCOMPARE(v.caja->geometry(), v.celda_en_ventana());
    QCOMPARE(v.caja->font().pointSizeF(), v.grilla->FontSize());
}

void TstClass1::teclas_data()
{
    QTest::addColumn<QPoint>("desde"); // (column, row)
    QTest::addColumn<int>("tecla");
    QTest::addColumn<int>("modificadores");
    QTest::addColumn<QPoint>("hasta");
    QTest::addColumn<QString>("caja"); // the box's text when it stays put

    const int sin = Qt::NoModifier;
    QTest::newRow("derecha") << QPoint(1, 1) << int(Qt::Key_Right) << sin << QPoint(2, 1) << "";
    QTest::newRow("derecha con mayúsculas") << QPoint(1, 1) << int(Qt::Key_Right) << int(Qt::ShiftModifier) << QPoint(2, 1) << "";
    QTest::newRow("derecha al final de fila") << QPoint(3, 1) << int(Qt::Key_Right) << sin << QPoint(1, 2) << "";
    QTest::newRow("derecha en la última celda") << QPoint(3, 3) << int(Qt::Key_Right) << sin << QPoint(3, 3) << "X";
    QTest::newRow("izquierda") << QPoint(2, 2) << int(Qt::Key_Left) << sin << QPoint(1, 2) << "";
    QTest::newRow("izquierda al inicio de fila") << QPoint(1, 2) << int(Qt::Key_Left) << sin << QPoint(3, 1) << "";
    QTest::newRow("izquierda en la primera celda") << QPoint(1, 1) << int(Qt::Key_Left) << sin << QPoint(1, 1) << "X";
    QTest::newRow("arriba") << QPoint(2, 2) << int(Qt::Key_Up) << sin << QPoint(2, 1) << "";
    QTest::newRow("arriba en la primera fila") << QPoint(2, 1) << int(Qt::Key_Up) << sin << QPoint(2, 1) << "X";
    QTest::newRow("abajo") << QPoint(2, 1) << int(Qt::Key_Down) << sin << QPoint(2, 2) << "";
    QTest::newRow("abajo en la última fila") << QPoint(2, 3) << int(Qt::Key_Down) << sin << QPoint(2, 3) << "X";
    QTest::newRow("enter") << QPoint(2, 1) << int(Qt::Key_Return) << sin << QPoint(2, 2) << "";
    QTest::newRow("enter del teclado numérico") << QPoint(3, 2) << int(Qt::Key_Enter) << sin << QPoint(3, 3) << "";
    QTest::newRow("enter en la última fila") << QPoint(1, 3) << int(Qt::Key_Return) << sin << QPoint(1, 3) << "X";
    QTest::newRow("tab") << QPoint(2, 2) << int(Qt::Key_Tab) << sin << QPoint(3, 2) << "";
    QTest::newRow("tab al final de fila") << QPoint(3, 2) << int(Qt::Key_Tab) << sin << QPoint(1, 3) << "";
    QTest::newRow("tab con mayúsculas") << QPoint(2, 1) << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << QPoint(1, 1) << "";
    QTest::newRow("mayúsculas y tab") << QPoint(3, 2) << int(Qt::Key_Tab) << int(Qt::ShiftModifier) << QPoint(2, 2) << "";
    QTest::newRow("tab con mayúsculas al inicio de fila") << QPoint(1, 3) << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << QPoint(3, 2) << "";
    QTest::newRow("letra") << QPoint(2, 2) << int(Qt::Key_A) << sin << QPoint(2, 2) << "Xa";
}

// Typing "X" then the key: the box opens with the cell's text selected, so
// "X" replaces it; a move writes it into the cell left and shows the next
// cell's own text; no move leaves the box as typed.
void TstClass1::teclas()
{
    QFETCH(QPoint, desde);
    QFETCH(int, tecla);
    QFETCH(int, modificadores);
    QFETCH(QPoint, hasta);
    QFETCH(QString, caja);

    Ventana v;
    QVERIFY(v.mostrar());
    v.grilla->setRow(desde.y());
    v.grilla->setCol(desde.x());
    QVERIFY(v.caja->hasFocus());
    const QString original = v.grilla->TextMatrix(desde.y(), desde.x());
    QCOMPARE(v.caja->text(), original);

    QTest::keyClicks(v.caja, QStringLiteral("X"));
    QTest::keyClick(v.caja, Qt::Key(tecla), Qt::KeyboardModifiers(modificadores));

    QCOMPARE(QPoint(v.grilla->Col(), v.grilla->Row()), hasta);
    QVERIFY(v.caja->isVisible());
    QVERIFY(v.caja->hasFocus());
    QCOMPARE(v.caja->geometry(), v.celda_en_ventana());
    if (hasta != desde) {
        QCOMPARE(v.grilla->TextMatrix(desde.y(), desde.x()), QStringLiteral("X"));
        QCOMPARE(v.caja->text(), v.grilla->TextMatrix(hasta.y(), hasta.x()));
        QVERIFY(v.caja->text().endsWith(QStringLiteral("  "))); // blanks included
    } else {
        QCOMPARE(v.grilla->TextMatrix(desde.y(), desde.x()), original);
        QCOMPARE(v.caja->text(), caja); // Enter is never typed
    }
    // Nothing else was touched.
    for (int f = 1; f < 4; ++f)
        for (int c = 1; c < 4; ++c)
            if (QPoint(c, f) != desde)
                QCOMPARE(v.grilla->TextMatrix(f, c), QStringLiteral("f%1c%2  ").arg(f).arg(c));
}

void TstClass1::tab_sale_de_la_grilla_data()
{
    QTest::addColumn<bool>("adelante");
    QTest::addColumn<int>("tecla");
    QTest::addColumn<int>("modificadores");
    QTest::newRow("tab") << true << int(Qt::Key_Tab) << int(Qt::NoModifier);
    QTest::newRow("backtab") << false << int(Qt::Key_Backtab) << int(Qt::ShiftModifier);
    QTest::newRow("mayúsculas y tab") << false << int(Qt::Key_Tab) << int(Qt::ShiftModifier);
}

// The keyboard walks every cell once and then leaves: Tab after the last
// cell goes to the control after the grid, Shift+Tab before the first to the
// one before it; the value typed last stays in its cell; coming back shows the
// box again.
void TstClass1::tab_sale_de_la_grilla()
{
    QFETCH(bool, adelante);
    QFETCH(int, tecla);
    QFETCH(int, modificadores);
    QWidget w;
    auto* antes = new QPushButton(QStringLiteral("Antes"), &w);
    auto* grilla = new Grilla(&w);
    auto* caja = new QLineEdit(&w);
    auto* despues = new QPushButton(QStringLiteral("Después"), &w);
    grilla->setCols(4);
    grilla->setRows(4);
    grilla->setGeometry(10, 40, 400, 150);
    antes->setGeometry(10, 5, 80, 30);
    despues->setGeometry(10, 200, 80, 30);
    caja->hide();
    Class1 editor;
    editor.Iniciar(grilla, caja);
    w.resize(420, 240);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    grilla->setFocus();
    QTRY_VERIFY(caja->hasFocus());
    const QPoint inicio = adelante ? QPoint(1, 1) : QPoint(3, 3);
    grilla->setRow(inicio.y());
    grilla->setCol(inicio.x());

    // Nine cells, so at most nine presses to leave: never 40 stuck at the end.
    QList<QPoint> vistas;
    for (int i = 0; i < 40 && caja->hasFocus(); ++i) {
        vistas << QPoint(grilla->Col(), grilla->Row());
        if (i == 0 || i == 8)
            QTest::keyClicks(caja, i == 0 ? QStringLiteral("7") : QStringLiteral("8"));
        QTest::keyClick(caja, Qt::Key(tecla), Qt::KeyboardModifiers(modificadores));
    }
    QCOMPARE(vistas.size(), 9);
    QCOMPARE(QSet<QPoint>(vistas.cbegin(), vistas.cend()).size(), 9);
    QCOMPARE(vistas.last(), adelante ? QPoint(3, 3) : QPoint(1, 1));
    QVERIFY((adelante ? despues : antes)->hasFocus());
    QVERIFY(caja->isHidden());
    QCOMPARE(grilla->TextMatrix(inicio.y(), inicio.x()), QStringLiteral("7"));
    QCOMPARE(grilla->TextMatrix(vistas.last().y(), vistas.last().x()), QStringLiteral("8"));

    // Back into the grid: the box is on its cell again.
    QTest::keyClick(adelante ? despues : antes, adelante ? Qt::Key_Backtab : Qt::Key_Tab,
                    adelante ? Qt::ShiftModifier : Qt::NoModifier);
    QTRY_VERIFY(caja->hasFocus());
    QVERIFY(caja->isVisible());
}

void TstClass1::caja_que_pasa_el_borde()
{
    Ventana v;
    v.grilla->setColWidth(2, 9000); // far wider than the grid
    QVERIFY(v.mostrar());
    v.grilla->setCol(2);
    const QRect celda = v.grilla->rectangulo_celda();
    QVERIFY(celda.left() + celda.width() > v.grilla->width());
    QCOMPARE(v.caja->x(), v.grilla->x() + celda.left());
    QCOMPARE(v.caja->width(), v.grilla->width() - celda.left());
    QCOMPARE(v.caja->x() + v.caja->width(), v.grilla->x() + v.grilla->width());
}

void TstClass1::clic_fuera_conserva_el_texto()
{
    Ventana v;
    QVERIFY(v.mostrar());
    QTest::keyClicks(v.caja, QStringLiteral("9"));
    QTest::mouseClick(v.boton, Qt::LeftButton);
    QVERIFY(v.boton->hasFocus());
    QVERIFY(!v.caja->isVisible());
    QCOMPARE(v.caja->text(), QStringLiteral("9"));
    QCOMPARE(v.grilla->TextMatrix(1, 1), QStringLiteral("f1c1  ")); // not yet
    v.grilla->setRow(2); // leaving the cell
    QCOMPARE(v.grilla->TextMatrix(1, 1), QStringLiteral("9"));
    QVERIFY(v.caja->isVisible());
    QCOMPARE(v.caja->text(), QStringLiteral("f2c1  "));
}

// A click places the box afresh: back on the cell whose edit the hidden box
// held, it shows that cell's own text, and leaving writes that text back.
void TstClass1::clic_en_la_misma_celda()
{
    Ventana v;
    QVERIFY(v.mostrar());
    QTest::keyClicks(v.caja, QStringLiteral("9"));
    QTest::mouseClick(v.boton, Qt::LeftButton);
    QVERIFY(!v.caja->isVisible());
    const QRect celda = v.grilla->rectangulo_celda().translated(-v.grilla->viewport()->pos());
    QTest::mouseClick(v.grilla->viewport(), Qt::LeftButton, {}, celda.center());
    QCOMPARE(QPoint(v.grilla->Col(), v.grilla->Row()), QPoint(1, 1));
    QVERIFY(v.caja->isVisible());
    QVERIFY(v.caja->hasFocus());
    QCOMPARE(v.caja->text(), QStringLiteral("f1c1  "));
    v.grilla->setRow(2);
    QCOMPARE(v.grilla->TextMatrix(1, 1), QStringLiteral("f1c1  "));
}

void TstClass1::clic_en_la_grilla()
{
    Ventana v;
    QVERIFY(v.mostrar());
    QTest::keyClicks(v.caja, QStringLiteral("7"));
    // A click on cell (3, 2): the box hides, its text goes into (1, 1), and
    // it comes back over the clicked cell with that cell's text.
    const int alto = v.grilla->alto_fila();
    const QPoint punto(v.grilla->ancho_columna_px(0) + v.grilla->ancho_columna_px(1)
                           + v.grilla->ancho_columna_px(2) / 2,
                       3 * alto + alto / 2);
    QTest::mouseClick(v.grilla->viewport(), Qt::LeftButton, {}, punto);
    QCOMPARE(QPoint(v.grilla->Col(), v.grilla->Row()), QPoint(2, 3));
    QCOMPARE(v.grilla->TextMatrix(1, 1), QStringLiteral("7"));
    QVERIFY(v.caja->isVisible());
    QVERIFY(v.caja->hasFocus());
    QCOMPARE(v.caja->text(), QStringLiteral("f3c2  "));
    QCOMPARE(v.caja->geometry(), v.celda_en_ventana());
}

void TstClass1::escribir_reemplaza_el_valor_data()
{
    QTest::addColumn<QString>("como"); // how the box reaches the cell
    QTest::newRow("primer foco") << "foco";
    QTest::newRow("flecha") << "flecha";
    QTest::newRow("clic en la grilla") << "clic";
}

// The padded value is selected when the box is placed, so typing a number
// replaces it instead of making "f2c2  14.9"; a click inside the box then
// edits in place.
void TstClass1::escribir_reemplaza_el_valor()
{
    QFETCH(QString, como);
    Ventana v;
    QVERIFY(v.mostrar());
    if (como == QStringLiteral("flecha")) {
        QTest::keyClick(v.caja, Qt::Key_Down);
    } else if (como == QStringLiteral("clic")) {
        v.grilla->setRow(2);
        const QRect celda = v.grilla->rectangulo_celda().translated(-v.grilla->viewport()->pos());
        QTest::mouseClick(v.grilla->viewport(), Qt::LeftButton, {}, celda.center());
    } else {
        v.grilla->setRow(2);
    }
    QCOMPARE(QPoint(v.grilla->Col(), v.grilla->Row()), QPoint(1, 2));
    QCOMPARE(v.caja->selectedText(), QStringLiteral("f2c1  "));
    QTest::keyClicks(v.caja, QStringLiteral("14.9"));
    QCOMPARE(v.caja->text(), QStringLiteral("14.9"));
    // A click inside the box places the cursor; typing then inserts there.
    QTest::mouseClick(v.caja, Qt::LeftButton, {}, QPoint(2, v.caja->height() / 2));
    QCOMPARE(v.caja->selectedText(), QString());
    QTest::keyClick(v.caja, Qt::Key_Home);
    QTest::keyClicks(v.caja, QStringLiteral("1"));
    QCOMPARE(v.caja->text(), QStringLiteral("114.9"));
    v.grilla->setRow(3);
    QCOMPARE(v.grilla->TextMatrix(2, 1), QStringLiteral("114.9"));
}

void TstClass1::filas_mas_alla_de_32767_data()
{
    QTest::addColumn<int>("fila");
    QTest::newRow("32767") << 32767;
    QTest::newRow("32768") << 32768;
    QTest::newRow("65537") << 65537;
}

// The row where the box was placed is kept whole: a kept row that wrapped
// would differ from the grid's at every key, and each key would place the box
// afresh over what was typed.
void TstClass1::filas_mas_alla_de_32767()
{
    QFETCH(int, fila);
    Ventana v;
    v.grilla->setRows(fila + 2);
    v.grilla->setTextMatrix(fila, 1, QStringLiteral("lejos  "));
    QVERIFY(v.mostrar());
    v.grilla->setRow(fila);
    QCOMPARE(v.caja->text(), QStringLiteral("lejos  "));
    QTest::keyClicks(v.caja, QStringLiteral("14.9"));
    QCOMPARE(v.caja->text(), QStringLiteral("14.9"));
    QTest::keyClick(v.caja, Qt::Key_Down);
    QCOMPARE(v.grilla->Row(), fila + 1);
    QCOMPARE(v.grilla->TextMatrix(fila, 1), QStringLiteral("14.9"));
    QTest::keyClick(v.caja, Qt::Key_Up);
    QCOMPARE(v.grilla->Row(), fila);
    QCOMPARE(v.caja->text(), QStringLiteral("14.9"));
}

QTEST_MAIN(TstClass1)
#include "tst_class1.moc"
