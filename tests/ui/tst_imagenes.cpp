// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/imagenes.h"

#include <QFile>
#include <QImage>
#include <QtTest>

using namespace velmora;

// The report pictures the band rules name: each exists and is drawn sharp.
class TstImagenes final : public QObject {
    Q_OBJECT
private slots:
    void imagenes_data();
    void imagenes();
    void imagen_sin_nombre_es_nula();
};

void TstImagenes::imagenes_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QColor>("centro");

    QTest::newRow("Blanco") << "Blanco" << QColor(Qt::white);
    QTest::newRow("Rojo") << "Rojo" << QColor(0xd7, 0x26, 0x3d);
    QTest::newRow("Amarillo") << "Amarillo" << QColor(0xf4, 0xc4, 0x30);
    QTest::newRow("Verde") << "Verde" << QColor(0x2e, 0x9e, 0x4f);
    QTest::newRow("Azul") << "Azul" << QColor(0x2d, 0x6c, 0xc0);
    QTest::newRow("T_Azul") << "T_Azul" << QColor(0x2d, 0x6c, 0xc0);
    QTest::newRow("T_Verde") << "T_Verde" << QColor(0x2e, 0x9e, 0x4f);
    QTest::newRow("T_Blanco: hueco") << "T_Blanco" << QColor(Qt::white);
    QTest::newRow("T_Amarillo") << "T_Amarillo" << QColor(0xf4, 0xc4, 0x30);
    QTest::newRow("T_Rojo") << "T_Rojo" << QColor(0xd7, 0x26, 0x3d);
    QTest::newRow("raya") << "raya" << QColor(Qt::black);
}

// Drawn for a wide cell on a double-density screen: full resolution, the
// picture kept square in the middle, transparent at the sides.
void TstImagenes::imagenes()
{
    QFETCH(QString, nombre);
    QFETCH(QColor, centro);
    QVERIFY(QFile::exists(ruta_icono(nombre)));
    const QPixmap pixmap = pixmap_imagen(nombre, QSize(81, 24), 2.0);
    QCOMPARE(pixmap.size(), QSize(162, 48));
    QCOMPARE(pixmap.devicePixelRatio(), 2.0);
    const QImage imagen = pixmap.toImage();
    QCOMPARE(imagen.pixelColor(81, 24), centro);
    QCOMPARE(imagen.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(imagen.pixelColor(161, 47).alpha(), 0);
}

void TstImagenes::imagen_sin_nombre_es_nula()
{
    QVERIFY(pixmap_imagen(QString(), QSize(81, 24)).isNull());
    QVERIFY(pixmap_imagen(QStringLiteral("No_Existe"), QSize(81, 24)).isNull());
}

QTEST_MAIN(TstImagenes)
#include "tst_imagenes.moc"
