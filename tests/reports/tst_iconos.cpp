#include "reports/iconos.h"
#include "ui/imagenes.h"

#include <QFile>
#include <QImage>
#include <QLocale>
#include <QtTest>

// The status and trend rules read the texts the report grids hold (trailing
// blanks, the user's decimal comma) and name a picture that must exist.
class TstIconos final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void estado_data();
    void estado();
    void tendencia_data();
    void tendencia();
    void imagenes_data();
    void imagenes();
    void imagen_sin_nombre_es_nula();
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
    QTest::newRow("infinito entre infinito") << "1e308" << "1e308" << "-1e308" << "Blanco";
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

void TstIconos::imagenes_data()
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
void TstIconos::imagenes()
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

void TstIconos::imagen_sin_nombre_es_nula()
{
    QVERIFY(pixmap_imagen(QString(), QSize(81, 24)).isNull());
    QVERIFY(pixmap_imagen(QStringLiteral("No_Existe"), QSize(81, 24)).isNull());
}

QTEST_MAIN(TstIconos)
#include "tst_iconos.moc"
