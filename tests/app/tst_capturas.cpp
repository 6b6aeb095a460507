#include "ui/imagenes.h"
#include "ventanas_prueba.h"

#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QResource>

using namespace velmora;

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
    guardar_captura(&hoja, "imagenes");
    QVERIFY(QFile::exists(archivo("imagenes")));
}

QTEST_MAIN(TstCapturas)
#include "tst_capturas.moc"
