// SPDX-License-Identifier: GPL-3.0-or-later
#include "ventanas_prueba.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

// A 1600 x 1000 screen at 2x scaling: 800 x 500 logical pixels (what the
// offscreen screen is given, with its pixel ratio). Every
// window starts within it, with all its buttons on screen.
class TstPantallaDoble final : public QObject {
    Q_OBJECT
private slots:
    void ventanas_caben_data();
    void ventanas_caben();
};

void TstPantallaDoble::ventanas_caben_data()
{
    QTest::addColumn<QString>("ventana");
    for (const QString& v : TODAS_LAS_VENTANAS)
        QTest::newRow(qPrintable(v)) << v;
}

void TstPantallaDoble::ventanas_caben()
{
    QFETCH(QString, ventana);
    QScreen* pantalla = QGuiApplication::primaryScreen();
    QCOMPARE(pantalla->devicePixelRatio(), 2.0);
    const QRect disponible = pantalla->availableGeometry();
    QCOMPARE(disponible.size(), QSize(800, 500));

    EscenarioVentanas escenario;
    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    QVERIFY(QTest::qWaitForWindowExposed(v));
    QVERIFY2(v->width() <= disponible.width() && v->height() <= disponible.height(),
             qPrintable(QStringLiteral("%1x%2").arg(v->width()).arg(v->height())));
    for (QPushButton* b : v->findChildren<QPushButton*>()) {
        if (!b->isVisibleTo(v))
            continue;
        const QRect lugar(b->mapTo(v, QPoint()), b->size());
        QVERIFY2(v->rect().contains(lugar), qPrintable(b->objectName()));
    }
}

int main(int argc, char* argv[])
{
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("pantalla.json"));
    QFile json(archivo);
    if (!json.open(QIODevice::WriteOnly))
        return 1;
    json.write(R"({"screens": [{"name": "doble", "x": 0, "y": 0, "width": 800, "height": 500,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 2}]})");
    json.close();
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + archivo.toLocal8Bit());
    QApplication aplicacion(argc, argv);
    TstPantallaDoble prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "tst_pantalla_doble.moc"
