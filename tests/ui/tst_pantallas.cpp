// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ventanas.h"
#include "data/conexion.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"
#include "ui/registro_ventanas.h"
#include "ui/twips.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QScreen>
#include <QtTest>

#include <memory>

using namespace velmora;

// The screens as a user meets them on a real screen, run twice by CTest: at
// 1x on a 1920 x 1080 screen and with QT_SCALE_FACTOR=2 on a 1600 x 1000 one
// (800 x 500 device-independent pixels). Each run leaves pictures of the
// screens at their starting size and maximised in the screenshots folder.
class TstPantallas final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();
    void ventanas_dentro_de_la_pantalla_data();
    void ventanas_dentro_de_la_pantalla();
    void encabezados_enteros_data();
    void encabezados_enteros();
    void tendencia_y_su_grafica();
    void reportes_a_lo_ancho_data();
    void reportes_a_lo_ancho();
    void exportar_a_lo_ancho();

private:
    std::unique_ptr<BasePrueba> base_;
    std::unique_ptr<RegistroMensajes> mensajes_;
};

namespace {

QString escala()
{
    return qEnvironmentVariable("QT_SCALE_FACTOR") == QStringLiteral("2") ? QStringLiteral("2x") : QStringLiteral("1x");
}

// The screens users open (the menus included); the start-up window opens
// the connection and the login, so it is left to the start-up's own tests.
const QStringList& pantallas()
{
    static const QStringList nombres = {
        "Principalgeneral", "Reportes", "Menu_Nuevo", "Nuevo", "Eliminar", "Modificar", "Principales",
        "Departamentales", "Tendencia_y_Desempeño", "Exportar", "Nuevo_Registro", "KPI", "Historial"};
    return nombres;
}

QWidget* abrir(const QString& nombre)
{
    QWidget* v = RegistroVentanas::instancia().mostrar(nombre);
    if (v && !QTest::qWaitForWindowExposed(v))
        return nullptr;
    return v;
}

// What the chart shows as text, each label as drawn.
QStringList textos_de(const QChart* grafica)
{
    QStringList textos;
    for (QGraphicsItem* item : grafica->scene()->items()) {
        if (!item->isVisible())
            continue;
        if (auto* t = dynamic_cast<QGraphicsTextItem*>(item))
            textos << t->toPlainText();
        else if (auto* s = dynamic_cast<QGraphicsSimpleTextItem*>(item))
            textos << s->text();
    }
    return textos;
}

} // namespace

void TstPantallas::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    registrar_ventanas();
    const QSize esperada = escala() == QStringLiteral("2x") ? QSize(800, 500) : QSize(1920, 1080);
    QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), esperada);
}

void TstPantallas::cleanup()
{
    RegistroVentanas::instancia().descargar_todas();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    mensajes_.reset();
    Conexion().cerrar();
    base_.reset();
}

void TstPantallas::cleanupTestCase()
{
}

void TstPantallas::ventanas_dentro_de_la_pantalla_data()
{
    QTest::addColumn<QString>("nombre");
    for (const QString& n : pantallas())
        QTest::newRow(qPrintable(n)) << n;
}

// Every screen opens inside the screen's available area with its frame, and
// leaves room for a window manager's title bar: nothing below the screen's
// edge, "Graficar" and the grids' last rows in sight.
void TstPantallas::ventanas_dentro_de_la_pantalla()
{
    QFETCH(QString, nombre);
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    mensajes_ = std::make_unique<RegistroMensajes>();
    QWidget* v = abrir(nombre);
    QVERIFY(v);
    const QRect disponible = v->screen()->availableGeometry();
    auto texto = [](const QRect& r) {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    QVERIFY2(disponible.contains(v->frameGeometry()),
             qPrintable(texto(v->frameGeometry()) + QStringLiteral(" fuera de ") + texto(disponible)));
    // A title bar at least as tall as a line of text with its margins fits above.
    const int titulo = v->fontMetrics().height() + 8;
    QVERIFY2(v->height() + titulo <= disponible.height(), qPrintable(QString::number(v->height())));
    // Every control of the window lies inside it.
    for (QWidget* hijo : v->findChildren<QWidget*>()) {
        if (!hijo->isVisible() || hijo->window() != v || hijo->parentWidget() != v)
            continue;
        QVERIFY2(v->rect().contains(hijo->geometry()), qPrintable(hijo->objectName()));
    }
}

void TstPantallas::encabezados_enteros_data()
{
    QTest::addColumn<QString>("nombre");
    for (const QString& n : pantallas())
        QTest::newRow(qPrintable(n)) << n;
}

// Every heading of every grid shows whole in the default font: a column the
// design made narrower than its heading is as wide as the heading.
void TstPantallas::encabezados_enteros()
{
    QFETCH(QString, nombre);
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    mensajes_ = std::make_unique<RegistroMensajes>();
    QWidget* v = abrir(nombre);
    QVERIFY(v);
    if (nombre == QStringLiteral("Exportar")) {
        // The listing's type column holds "Departamentales", which must read whole.
        pulsar(v, "Command2");
        QVERIFY(mensajes_->mensajes.isEmpty());
        auto* g = control<Grilla>(v, "MSHFlexGrid");
        QCOMPARE(g->TextMatrix(0, 3), QStringLiteral("Tipo Indicador"));
        QVERIFY(g->ancho_columna_px(3) >= g->fontMetrics().horizontalAdvance(QStringLiteral("Departamentales")) + 6);
    }
    for (Grilla* g : v->findChildren<Grilla*>()) {
        const QFontMetrics medida = g->fontMetrics();
        const int filas = g->FixedCols() > 0 ? g->Rows() : g->FixedRows();
        for (int c = 0; c < g->Cols(); ++c) {
            for (int f = 0; f < qMin(filas, 200); ++f) {
                if (f >= g->FixedRows() && c >= g->FixedCols())
                    continue;
                const QString texto = g->TextMatrix(f, c).trimmed();
                if (texto.isEmpty())
                    continue;
                // The text is drawn 3 pixels in from each side.
                const int necesario = medida.horizontalAdvance(texto) + 6;
                QVERIFY2(g->ancho_columna_px(c) >= necesario,
                         qPrintable(QStringLiteral("%1 %2: \"%3\" en %4 px, necesita %5")
                                        .arg(nombre, g->objectName(), texto)
                                        .arg(g->ancho_columna_px(c))
                                        .arg(necesario)));
                if (necesario > twips_a_px(g->ColWidth(c), g))
                    qInfo("%s", qPrintable(QStringLiteral("ensanchada: %1 %2 columna %3 \"%4\": %5 twips (%6 px) a %7 px")
                                               .arg(nombre, g->objectName())
                                               .arg(c)
                                               .arg(texto)
                                               .arg(g->ColWidth(c))
                                               .arg(twips_a_px(g->ColWidth(c), g))
                                               .arg(g->ancho_columna_px(c))));
            }
        }
    }
}

// The trend screen on the demo database, charted: at its starting size the
// chart keeps every label and legend entry whole; maximised, the table shows
// all twelve months and the chart grows.
void TstPantallas::tendencia_y_su_grafica()
{
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    mensajes_ = std::make_unique<RegistroMensajes>();
    QWidget* v = abrir(QStringLiteral("Tendencia_y_Desempeño"));
    QVERIFY(v);
    elegir(v, "Cmb_Tipo_Indicador_TendenciasyDesempeño", "Principal      ");
    elegir(v, "Cmb_Año_TendenciasyDesempeño", "2009 ");
    elegir(v, "Cmb_KPI_TendenciasyDesempeño", ("Margen operativo" + QString(15, u' ')).left(100));
    pulsar(v, "Button_LLenar_TendeciasyDesempeño");
    pulsar(v, "Button_Graficar");
    QVERIFY(mensajes_->mensajes.isEmpty());
    auto* vista = control<QChartView>(v, "ChartSpace1");
    auto* tabla = control<Grilla>(v, "mshtd");

    auto etiquetas_enteras = [&] {
        vista->grab();
        const QStringList textos = textos_de(vista->chart());
        for (const QString& t : textos)
            QVERIFY2(!t.contains(QStringLiteral("...")) && !t.contains(QStringLiteral("…")), qPrintable(textos.join(" | ")));
        for (const char* esperada : {"GRAFICA", "MARZO", "JUNIO", "SEPTIEM", "DICIEMB", "META", "VALOR", "DESEMPEÑO", "100%"})
            QVERIFY2(textos.contains(QString::fromUtf8(esperada)),
                     qPrintable(QString::fromUtf8(esperada) + QStringLiteral(" no está: ") + textos.join(" | ")));
    };
    etiquetas_enteras();
    if (QTest::currentTestFailed())
        return;
    QVERIFY(vista->geometry().right() < v->width() && vista->geometry().bottom() < v->height());
    guardar_captura(v, QStringLiteral("pantalla_tendencia_") + escala());

    const QSize antes = vista->size();
    v->showMaximized();
    QTRY_VERIFY(v->isMaximized());
    QTRY_VERIFY(v->width() > 1000 || escala() == QStringLiteral("2x"));
    QTest::qWait(50);
    etiquetas_enteras();
    if (QTest::currentTestFailed())
        return;
    if (escala() == QStringLiteral("1x")) {
        for (int k = 1; k <= 12; ++k) {
            const QRect r = tabla->rectangulo(0, k);
            QVERIFY2(!r.isEmpty() && r.right() <= tabla->viewport()->geometry().right(), qPrintable(QString::number(k)));
        }
        QVERIFY(vista->width() > antes.width() && vista->height() > antes.height());
    }
    guardar_captura(v, QStringLiteral("pantalla_tendencia_max_") + escala());
    v->showNormal();
}

void TstPantallas::reportes_a_lo_ancho_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::newRow("principales") << "Principales";
    QTest::newRow("departamentales") << "Departamentales";
}

// A report's columns widen with its window: maximised, they fill the grid.
void TstPantallas::reportes_a_lo_ancho()
{
    QFETCH(QString, nombre);
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    mensajes_ = std::make_unique<RegistroMensajes>();
    QWidget* v = abrir(nombre);
    QVERIFY(v);
    const bool principal = nombre == QStringLiteral("Principales");
    for (QComboBox* l : v->findChildren<QComboBox*>()) {
        if (l->objectName() == QStringLiteral("Cmb_Año_Reporte"))
            l->setCurrentText(QStringLiteral("2009 "));
        else if (l->objectName().startsWith(QStringLiteral("Cmb_mes")) || l->objectName().startsWith(QStringLiteral("Cmb_Trimestre")))
            l->setCurrentText(principal ? QStringLiteral("Marzo") : QStringLiteral("Octubre"));
        else
            l->setCurrentIndex(0);
    }
    pulsar(v, "Button_Cargar_ReporteSocial");
    QVERIFY(mensajes_->mensajes.isEmpty());
    auto* g = control<Grilla>(v, principal ? "Flex3" : "Flex31");
    guardar_captura(v, QStringLiteral("pantalla_") + nombre.toLower() + QStringLiteral("_") + escala());
    const int antes = g->ancho_columna_px(0);
    v->showMaximized();
    QTRY_VERIFY(v->isMaximized());
    QTest::qWait(50);
    int total = 0;
    for (int c = 0; c < g->Cols(); ++c)
        total += g->ancho_columna_px(c);
    QCOMPARE(total, g->viewport()->width());
    if (escala() == QStringLiteral("1x"))
        QVERIFY(g->ancho_columna_px(0) > antes);
    guardar_captura(v, QStringLiteral("pantalla_") + nombre.toLower() + QStringLiteral("_max_") + escala());
    // Below the last indicator the grid is bare: the blank rows it keeps
    // for more indicators are not drawn.
    int ultima = g->Rows() - 1;
    while (ultima > 0 && g->TextMatrix(ultima, 0).trimmed().isEmpty())
        --ultima;
    QVERIFY(ultima > 0 && ultima + 1 < g->Rows());
    const QRect fila = g->rectangulo(ultima, 0).translated(-g->viewport()->pos());
    QVERIFY(fila.bottom() + 2 * g->alto_fila() < g->viewport()->height());
    const QImage imagen = g->viewport()->grab().toImage();
    const double dpr = imagen.devicePixelRatio();
    const QColor fondo = g->viewport()->palette().color(QPalette::Base);
    int distintos = 0;
    for (int y = int((fila.bottom() + 2) * dpr); y < imagen.height(); ++y)
        for (int x = 0; x < imagen.width(); ++x)
            distintos += imagen.pixelColor(x, y) != fondo;
    QCOMPARE(distintos, 0);
    v->showNormal();
}

// The export listing's columns widen with its window: maximised, they fill
// the grid.
void TstPantallas::exportar_a_lo_ancho()
{
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    mensajes_ = std::make_unique<RegistroMensajes>();
    QWidget* v = abrir(QStringLiteral("Exportar"));
    QVERIFY(v);
    pulsar(v, "Command2");
    QVERIFY(mensajes_->mensajes.isEmpty());
    auto* g = control<Grilla>(v, "MSHFlexGrid");
    QVERIFY(g->Rows() > 100);
    const int antes = g->ancho_columna_px(2);
    v->showMaximized();
    QTRY_VERIFY(v->isMaximized());
    QTest::qWait(50);
    int total = 0;
    for (int c = 0; c < g->Cols(); ++c)
        total += g->ancho_columna_px(c);
    // On the small screen the columns' own widths are already wider than it.
    if (escala() == QStringLiteral("1x")) {
        QCOMPARE(total, g->viewport()->width());
        QVERIFY(g->ancho_columna_px(2) > antes);
    } else {
        QVERIFY(total >= g->viewport()->width());
    }
    guardar_captura(v, QStringLiteral("pantalla_exportar_max_") + escala());
    v->showNormal();
}

QTEST_MAIN(TstPantallas)
#include "tst_pantallas.moc"
