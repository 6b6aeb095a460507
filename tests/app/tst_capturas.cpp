// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/imagenes.h"
#include "ventanas_prueba.h"

#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QResource>
#include <QSet>

using namespace velmora;

namespace {

// The colours a region of a picture holds.
QSet<QRgb> colores(const QImage& imagen, const QRect& region)
{
    QSet<QRgb> vistos;
    const QRect r = region.intersected(imagen.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            vistos.insert(imagen.pixel(x, y));
    return vistos;
}

// A child's area in a picture of `ventana`.
QRect en_captura(const QWidget* ventana, const QWidget* hijo)
{
    const qreal escala = ventana->devicePixelRatio();
    const QRect r(hijo->mapTo(ventana, QPoint(0, 0)), hijo->size());
    return QRect((r.topLeft() * escala), (r.size() * escala));
}

// Every visible button and picture label of the window is drawn in its
// picture: a button with its face, edge and text or icon (several colours), a
// picture not the bare window behind it.
void controles_visibles(const QWidget* ventana, const QImage& imagen)
{
    const QRgb fondo = ventana->palette().color(QPalette::Window).rgb();
    int revisados = 0;
    for (const QWidget* w : ventana->findChildren<QWidget*>()) {
        const auto* boton = qobject_cast<const QAbstractButton*>(w);
        const auto* etiqueta = qobject_cast<const QLabel*>(w);
        if ((!boton && !(etiqueta && !etiqueta->pixmap().isNull())) || !w->isVisibleTo(ventana) || w->size().isEmpty())
            continue;
        const QRect zona = en_captura(ventana, w);
        QVERIFY2(imagen.rect().contains(zona), qPrintable(w->objectName() + QStringLiteral(" is outside the picture")));
        const QSet<QRgb> vistos = colores(imagen, zona);
        const QString nombre = w->objectName().isEmpty() ? w->toolTip() : w->objectName();
        QVERIFY2(boton ? vistos.size() > 2 : vistos != QSet<QRgb>{fondo},
                 qPrintable(nombre + QStringLiteral(" is blank in the picture")));
        QVERIFY2(!boton || !boton->text().trimmed().isEmpty() || !boton->icon().isNull(),
                 qPrintable(nombre + QStringLiteral(" has neither a text nor a picture")));
        ++revisados;
    }
    QVERIFY2(revisados > 0, "no button or picture in the window");
}

} // namespace

// Pictures of the login, the menus and the picture sets, written into
// build/screenshots/ for review and for the README.
class TstCapturas final : public QObject {
    Q_OBJECT
private slots:
    void ventanas_data();
    void ventanas();
    void imagenes();

private:
    static QString archivo(const QString& nombre)
    {
        return QCoreApplication::applicationDirPath() + "/../../screenshots/" + nombre + ".png";
    }
};

void TstCapturas::ventanas_data()
{
    QTest::addColumn<QString>("ventana");
    for (const char* n : {"FET049TF", "Principal", "Principalgeneral", "Reportes", "Menu_Nuevo"})
        QTest::newRow(n) << QString(n);
}

void TstCapturas::ventanas()
{
    QFETCH(QString, ventana);
    EscenarioVentanas e;
    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    QVERIFY(QTest::qWaitForWindowExposed(v));
    guardar_captura(v, ventana);
    const QImage imagen(archivo(ventana));
    QCOMPARE(imagen.size(), v->size() * v->devicePixelRatio());
    // The background picture is drawn: the corner is not the plain window colour.
    QVERIFY(imagen.pixelColor(2, imagen.height() - 3) != v->palette().color(QPalette::Window));
    controles_visibles(v, imagen);
}

// The report icons and the button pictures side by side.
void TstCapturas::imagenes()
{
    QWidget hoja;
    auto* capa = new QVBoxLayout(&hoja);
    auto* iconos = new QHBoxLayout;
    for (const char* n : {"Blanco", "Rojo", "Amarillo", "Verde", "Azul", "T_Azul", "T_Verde", "T_Blanco",
                          "T_Amarillo", "T_Rojo", "raya"}) {
        auto* l = new QLabel(&hoja);
        l->setPixmap(pixmap_imagen(n, QSize(40, 28)));
        l->setToolTip(n);
        iconos->addWidget(l);
    }
    capa->addLayout(iconos);
    auto* botones = new QHBoxLayout;
    const QStringList nombres = QDir(":/botones").entryList({"*.svg"});
    QVERIFY(!nombres.isEmpty());
    for (const QString& n : nombres) {
        auto* b = new QPushButton(&hoja);
        b->setToolTip(n);
        poner_imagen(b, QFileInfo(n).baseName());
        QVERIFY(!b->icon().pixmap(QSize(28, 28), 2.0).isNull());
        botones->addWidget(b);
    }
    capa->addLayout(botones);
    hoja.show();
    QVERIFY(QTest::qWaitForWindowExposed(&hoja));
    guardar_captura(&hoja, "imagenes");
    const QImage imagen(archivo("imagenes"));
    QCOMPARE(imagen.size(), hoja.size() * hoja.devicePixelRatio());
    // Each icon and each button picture is drawn, not a blank patch.
    controles_visibles(&hoja, imagen);
}

QTEST_MAIN(TstCapturas)
#include "tst_capturas.moc"
