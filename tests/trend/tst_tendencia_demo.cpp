#include "app/ventanas.h"
#include "bandas.h"
#include "data/conexion.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "trend/tendencia_y_desempeno.h"
#include "ui/grid/grilla.h"
#include "ui/registro_ventanas.h"

#include <QAbstractItemView>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLineSeries>
#include <QPushButton>
#include <QtTest>

#include <memory>
#include <optional>

// The screen on the demo database and its own procedures, opened from the
// menus as a user opens it.
class TstTendenciaDemo final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void desde_los_dos_menus_data();
    void desde_los_dos_menus();
    void indicador_de_la_demo_data();
    void indicador_de_la_demo();

private:
    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<RegistroMensajes> mensajes;
};

namespace {

std::optional<double> numero(const QVariant& v)
{
    return v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
}

} // namespace

void TstTendenciaDemo::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    registrar_ventanas();
}

void TstTendenciaDemo::init()
{
    base = std::make_unique<BasePrueba>();
    base->abrir();
    mensajes = std::make_unique<RegistroMensajes>();
}

void TstTendenciaDemo::cleanup()
{
    RegistroVentanas::instancia().descargar_todas();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    mensajes.reset();
    Conexion().cerrar();
    base.reset();
}

void TstTendenciaDemo::desde_los_dos_menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::newRow("administrador") << "Principal";
    QTest::newRow("general") << "Principalgeneral";
}

void TstTendenciaDemo::desde_los_dos_menus()
{
    QFETCH(QString, menu);
    RegistroVentanas& registro = RegistroVentanas::instancia();
    QWidget* m = registro.mostrar(menu);
    pulsar(m, "cmd_tende");
    QWidget* v = registro.ventana("Tendencia_y_Desempeño");
    QVERIFY(v && v->isVisible());
    QVERIFY(dynamic_cast<Tendencia_y_Desempeño*>(v));
    QCOMPARE(v->windowTitle(), QStringLiteral("Tendencia y Desempeño"));
    pulsar(m, "cmd_tende");
    QCOMPARE(registro.ventana("Tendencia_y_Desempeño"), v); // kept, not made again
    QVERIFY(mensajes->mensajes.isEmpty());
}

void TstTendenciaDemo::indicador_de_la_demo_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("indicador");
    QTest::addColumn<QString>("departamento");
    QTest::addColumn<QString>("captura");
    QTest::newRow("principal") << "Principal      " << "Margen operativo" << "" << "tendencia_principal";
    QTest::newRow("departamental") << "Departamentales" << "Cumplimiento de cuota de ventas" << "Ventas"
                                   << "tendencia_departamental";
}

void TstTendenciaDemo::indicador_de_la_demo()
{
    QFETCH(QString, tipo);
    QFETCH(QString, indicador);
    QFETCH(QString, departamento);
    QFETCH(QString, captura);
    const bool principal = departamento.isEmpty();
    const QString K = (indicador + QString(15, u' ')).left(100);
    const QString D = (departamento + QString(15, u' ')).left(100);

    QWidget* menu = RegistroVentanas::instancia().mostrar("Principalgeneral");
    pulsar(menu, "cmd_tende");
    QWidget* v = RegistroVentanas::instancia().ventana("Tendencia_y_Desempeño");
    QVERIFY(v);
    elegir(v, "Cmb_Tipo_Indicador_TendenciasyDesempeño", tipo);
    elegir(v, "Cmb_Año_TendenciasyDesempeño", "2009 ");
    elegir(v, "Cmb_KPI_TendenciasyDesempeño", K);
    if (!principal)
        elegir(v, "Cmb_Departamento_TendenciasyDesempeño", D);
    pulsar(v, "Button_LLenar_TendeciasyDesempeño");
    pulsar(v, "Button_Graficar");
    QVERIFY(mensajes->mensajes.isEmpty());

    // What the procedure holds, read here straight from the database.
    auto comando = [&](const QString& anio) {
        return principal ? "Exec Ten_Des '" + tipo + "', '" + anio + "','" + K + "'"
                         : "Exec Ten_Des2 '" + tipo + "', '" + anio + "','" + K + "','" + D + "'";
    };
    const QString campo_meta = principal ? "Meta C/P" : "Meta";
    const QString campo_base = principal ? "Nivel Base" : "Linea_Base";
    QList<std::optional<double>> metas, valores, bases;
    QStringList textos_valor;
    for (Resultado r = Conexion().ejecutar(comando("2009 ")); !r.eof(); r.siguiente()) {
        metas << numero(r.campo(campo_meta));
        valores << numero(r.campo("Valor"));
        bases << numero(r.campo(campo_base));
        textos_valor << (r.texto("Valor") + QString(7, u' ')).left(15);
    }
    QCOMPARE(valores.size(), 12);
    std::optional<double> diciembre;
    for (Resultado r = Conexion().ejecutar(comando("2008")); !r.eof(); r.siguiente())
        diciembre = numero(r.campo("Valor"));

    const ModeloGrilla& mshtd = *v->findChild<Grilla*>("mshtd")->modelo();
    const ModeloGrilla& Flex2 = *v->findChild<ModeloGrilla*>("Flex2");
    for (int k = 1; k <= 12; ++k) {
        const int i = k - 1;
        QCOMPARE(mshtd.TextMatrix(2, k), textos_valor[i]);
        QCOMPARE(mshtd.CellPicture(4, k), estado_esperado(valores[i], metas[i], bases[i]));
        QCOMPARE(mshtd.CellPicture(5, k), tendencia_esperada(valores[i], k == 1 ? diciembre : valores[i - 1]));
        const double razon = (*valores[i] - *bases[i]) / (*metas[i] - *bases[i]);
        QString texto = Flex2.TextMatrix(4, k);
        QVERIFY2(!texto.contains(u'.'), qPrintable(texto)); // the user's decimal comma
        QVERIFY(qFuzzyCompare(texto.replace(u',', u'.').toDouble(), razon));
    }

    QChart* g = v->findChild<QChartView*>("ChartSpace1")->chart();
    auto* barras = qobject_cast<QBarSeries*>(g->series().value(0));
    auto* linea = qobject_cast<QLineSeries*>(g->series().value(1));
    QVERIFY(barras && linea);
    QCOMPARE(linea->count(), 4);
    for (int i = 0; i < 4; ++i) {
        const int m = 3 * i + 2; // March, June, September, December
        QCOMPARE(barras->barSets()[0]->at(i), *metas[m]);
        QCOMPARE(barras->barSets()[1]->at(i), *valores[m]);
        QVERIFY(qFuzzyCompare(linea->at(i).y(), (*valores[m] - *bases[m]) / (*metas[m] - *bases[m]) * 100));
    }
    guardar_captura(v, captura);
}

QTEST_MAIN(TstTendenciaDemo)
#include "tst_tendencia_demo.moc"
