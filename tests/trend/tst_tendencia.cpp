// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/conexion.h"
#include "data/textos.h"
#include "soporte/bits.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "trend/grafica_tendencia.h"
#include "trend/tendencia_y_desempeno.h"
#include "ui/grid/grilla.h"
#include "ui/twips.h"

#include <QScreen>

#include <QAbstractItemView>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QPointer>
#include <QPushButton>
#include <QCategoryAxis>
#include <QGraphicsSimpleTextItem>
#include <QValueAxis>
#include <QtTest>

#include <cmath>
#include <memory>
#include <optional>

using namespace velmora;

namespace {

const QString FALTAN = QStringLiteral("Tiene que llenar Todos los Parametros");
const QString SIN_CONSULTA = QStringLiteral("Tienes que realizar primero la consulta");
const QString VENTAS = QStringLiteral("Ventas netas");
const QString COSTO = QStringLiteral("Costo unitario");
const QString ROTACION = QStringLiteral("Rotación de turnos");

// One month of a series: target, value, baseline (nullopt is a Null).
struct Mes {
    std::optional<double> meta, valor, base;
};

QString sql(const std::optional<double>& d)
{
    return d ? QString::number(*d, 'g', 17) : QStringLiteral("NULL");
}

QString sql(const QString& t)
{
    return u'\'' + QString(t).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// Trend procedures over a table of the test's own, so each case decides the
// rows the screen gets (how many, which are Null).
void instalar_procedimientos()
{
    Conexion().ejecutar(QStringLiteral(
        "CREATE TABLE fx_serie (orden INTEGER, tipo INTEGER, indicador TEXT, departamento TEXT, anio INTEGER,"
        " mes INTEGER, meta DOUBLE PRECISION, valor DOUBLE PRECISION, base DOUBLE PRECISION, dir INTEGER)"));
    procedimiento_prueba(QStringLiteral("Principales_o_Departametnales"), 1,
                         QStringLiteral("SELECT indicador AS \"Indicador\", indicador AS \"Nombre\" FROM fx_serie"
                                        " WHERE tipo = CAST(? AS INTEGER) GROUP BY indicador ORDER BY min(orden)"),
                         {1});
    procedimiento_prueba(QStringLiteral("Ten_Des_1_2"), 4,
                         QStringLiteral("SELECT departamento AS \"Nombre1\" FROM fx_serie WHERE tipo = 2"
                                        " AND indicador = rtrim(?) GROUP BY departamento ORDER BY min(orden)"),
                         {3});
    procedimiento_prueba(QStringLiteral("Ten_Des"), 3,
                         QStringLiteral("SELECT meta AS \"Meta C/P\", valor AS \"Valor\", base AS \"Nivel Base\","
                                        " dir AS \"Id_Desempeño\" FROM fx_serie WHERE tipo = 1"
                                        " AND CAST(anio AS TEXT) = trim(?) AND indicador = rtrim(?) ORDER BY mes"),
                         {2, 3});
    procedimiento_prueba(QStringLiteral("Ten_Des2"), 4,
                         QStringLiteral("SELECT meta AS \"Meta\", valor AS \"Valor\", base AS \"Linea_Base\","
                                        " dir AS \"Id_Desempeño\" FROM fx_serie WHERE tipo = 2"
                                        " AND CAST(anio AS TEXT) = trim(?) AND indicador = rtrim(?)"
                                        " AND departamento = rtrim(?) ORDER BY mes"),
                         {2, 3, 4});
    for (int anio : {2008, 2009, 2010})
        Conexion().ejecutar(QStringLiteral("INSERT INTO Año (id, año) SELECT %1, %2 WHERE NOT EXISTS"
                                           " (SELECT 1 FROM Año WHERE año = %2)")
                                .arg(anio - 2004)
                                .arg(anio));
}

void serie(int tipo, const QString& indicador, const QString& departamento, int anio,
           const QList<Mes>& meses, int direccion = 1)
{
    // The order rows were given in, which the lists keep.
    static int orden = 0;
    QStringList filas;
    for (int k = 0; k < meses.size(); ++k) {
        filas << QStringLiteral("(%1, %2, %3, %4, %5, %6, %7, %8, %9, %10)")
                     .arg(++orden)
                     .arg(tipo)
                     .arg(sql(indicador), sql(departamento))
                     .arg(anio)
                     .arg(k + 1)
                     .arg(sql(meses[k].meta), sql(meses[k].valor), sql(meses[k].base))
                     .arg(direccion);
    }
    if (!filas.isEmpty())
        Conexion().ejecutar("INSERT INTO fx_serie VALUES " + filas.join(", "));
}

// Twelve months of one value each, target 200 and baseline 100.
QList<Mes> valores(const QList<std::optional<double>>& v)
{
    QList<Mes> meses;
    for (const auto& x : v)
        meses << Mes{200, x, 100};
    return meses;
}

} // namespace

Q_DECLARE_METATYPE(std::optional<double>)

class TstTendencia final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void carga_de_la_ventana();
    void flujo_principal();
    void flujo_departamental();
    void parametros_que_faltan_data();
    void parametros_que_faltan();
    void tipo_escrito_queda_como_esta();
    void texto_exacto_tecleado_no_es_eleccion_data();
    void texto_exacto_tecleado_no_es_eleccion();
    void iconos_y_razones_de_un_anio();
    void limites_exactos();
    void enero_se_compara_con_diciembre_data();
    void enero_se_compara_con_diciembre();
    void filas_distintas_de_doce_data();
    void filas_distintas_de_doce();

    void graficar_antes_de_ver();
    void grafica_de_los_trimestres();
    void grafica_deja_fuera_lo_que_no_es_numero();
    void cada_pulsacion_dibuja_una_grafica_nueva();
    void ejes_como_las_grillas_data();
    void ejes_como_las_grillas();
    void etiquetas_enteras_data();
    void etiquetas_enteras();
    void doce_meses_cuando_cabe();
    void dato_grafica_data();
    void dato_grafica();

private:
    template <class T>
    T* hijo(const QString& nombre) const { return control<T>(ventana.get(), nombre); }
    QComboBox* lista(const QString& nombre) const { return hijo<QComboBox>(nombre); }
    QComboBox* tipo() const { return lista(QStringLiteral("Cmb_Tipo_Indicador_TendenciasyDesempeño")); }
    QComboBox* kpi() const { return lista(QStringLiteral("Cmb_KPI_TendenciasyDesempeño")); }
    QComboBox* anio() const { return lista(QStringLiteral("Cmb_Año_TendenciasyDesempeño")); }
    QComboBox* depto() const { return lista(QStringLiteral("Cmb_Departamento_TendenciasyDesempeño")); }
    ModeloGrilla& mshtd() const { return *hijo<Grilla>(QStringLiteral("mshtd"))->modelo(); }
    ModeloGrilla& Flex3() const { return *hijo<Grilla>(QStringLiteral("Flex3"))->modelo(); }
    ModeloGrilla& Flex2() const { return *hijo<ModeloGrilla>(QStringLiteral("Flex2")); }
    QChart* grafica() const { return hijo<QChartView>(QStringLiteral("ChartSpace1"))->chart(); }
    void ver() const { pulsar(ventana.get(), QStringLiteral("Button_LLenar_TendeciasyDesempeño")); }
    void graficar() const { pulsar(ventana.get(), QStringLiteral("Button_Graficar")); }

    // Types into the list's box, replacing what it held.
    static void escribir(QComboBox* l, const QString& texto)
    {
        l->lineEdit()->clear();
        teclear(l->lineEdit(), texto);
        QCOMPARE(l->currentText(), texto);
    }
    // Type, indicator, year (and department) chosen from the lists.
    void elegir_todo(const QString& t, const QString& k, int a, const QString& d = {})
    {
        elegir(tipo(), t);
        elegir(kpi(), texto_item(k, 100));
        elegir(anio(), texto_item(QString::number(a), 5));
        if (!d.isEmpty())
            elegir(depto(), texto_item(d, 100));
    }
    QStringList imagenes(int fila) const
    {
        QStringList l;
        for (int k = 1; k <= 12; ++k)
            l << mshtd().CellPicture(fila, k);
        return l;
    }
    QStringList textos(const ModeloGrilla& m, int fila, int hasta = 12) const
    {
        QStringList l;
        for (int k = 1; k <= hasta; ++k)
            l << m.TextMatrix(fila, k);
        return l;
    }

    std::unique_ptr<BasePrueba> base;
    std::unique_ptr<RegistroMensajes> mensajes;
    std::unique_ptr<Tendencia_y_Desempeño> ventana;
    QStringList comandos;
};

// The 2009 principal series: mixed bands, a decreasing indicator, decimals.
const QList<Mes> VENTAS_2009 = {
    {200, 185, 100}, {200, 200, 100}, {200, 100, 100}, {200, 170, 100},
    {200, 170, 100}, {200, 0, 100},   {200, 140, 100}, {200, 250, 100},
    {120, 130, 120}, {200, std::nullopt, 100}, {200, 150, 100}, {250.5, 230.25, 80},
};
const QList<Mes> COSTO_2009 = {
    {30, 35, 50}, {30, 25, 50}, {30, 30, 50}, {30, 50, 50}, {30, 40, 50}, {30, 38, 50},
    {30, 36, 50}, {30, 33, 50}, {30, 32, 50}, {30, 31, 50}, {30, 30, 50}, {30, 29, 50},
};

void TstTendencia::initTestCase()
{
    // A decimal comma, so that the full-stop conversions are exercised.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
}

void TstTendencia::init()
{
    base = std::make_unique<BasePrueba>();
    base->abrir();
    Transaccion fixture(Conexion()); // one write to disk instead of one per row
    instalar_procedimientos();
    serie(1, VENTAS, {}, 2009, VENTAS_2009);
    serie(1, VENTAS, {}, 2008, valores({90, 95, 100, 120, 110, 100, 100, 100, 100, 100, 100, 160}));
    serie(1, COSTO, {}, 2009, COSTO_2009, 2);
    serie(2, ROTACION, QStringLiteral("Finanzas"), 2009,
          valores({110, 120, 130, 140, 150, 160, 170, 180, 190, 200, 210, 220}));
    serie(2, ROTACION, QStringLiteral("Ventas"), 2009,
          valores({105, 115, 125, 135, 145, 155, 165, 175, 185, 195, 205, 215}));
    fixture.confirmar();
    mensajes = std::make_unique<RegistroMensajes>();
    comandos.clear();
    Conexion().observar([this](const QString& c) { comandos << c; });
    ventana = std::make_unique<Tendencia_y_Desempeño>();
}

void TstTendencia::cleanup()
{
    ventana.reset();
    Conexion().observar({});
    mensajes.reset();
    Conexion().cerrar();
    base.reset();
}

void TstTendencia::carga_de_la_ventana()
{
    QCOMPARE(ventana->objectName(), QStringLiteral("Tendencia_y_Desempeño"));
    QCOMPARE(ventana->windowTitle(), QStringLiteral("Tendencia y Desempeño"));
    // Its twips size, at most the screen's room.
    QCOMPARE(ventana->size(), QSize(twips_a_px(14895, ventana.get()), twips_a_px(7575, ventana.get()))
                                  .boundedTo(ventana->screen()->availableGeometry().size()));
    QCOMPARE(comandos, QStringList({"select * from [Tipo Indicador] ", "select * from Año "}));

    QCOMPARE(tipo()->count(), 2);
    QCOMPARE(tipo()->itemText(0), QStringLiteral("Principal      "));
    QCOMPARE(tipo()->itemText(1), QStringLiteral("Departamentales"));
    QVERIFY(anio()->findText("2009 ", Qt::MatchExactly) >= 0);
    for (int i = 0; i < anio()->count(); ++i)
        QCOMPARE(anio()->itemText(i).size(), 5);
    for (QComboBox* l : {tipo(), kpi(), anio(), depto()}) {
        QVERIFY(l->isEditable());
        QCOMPARE(l->currentText(), QString());
    }
    QVERIFY(kpi()->count() == 0 && depto()->count() == 0);
    QVERIFY(depto()->isHidden());
    QVERIFY(hijo<QLabel>("Lbl_Departamento")->isHidden());
    QCOMPARE(hijo<QLabel>("Lbl_Departamento")->text(), QStringLiteral("Departamento :"));
    QCOMPARE(hijo<QLabel>("Lbl_Tipo_Indicador")->text(), QStringLiteral("Tipo Indicador :"));
    QCOMPARE(hijo<QLabel>("Lbl_KPI")->text(), QStringLiteral("K P I :"));
    QCOMPARE(hijo<QLabel>("Lbl_Año")->text(), QStringLiteral("Año :"));
    QVERIFY(!kpi()->isHidden() && !tipo()->isHidden() && !anio()->isHidden());
    QCOMPARE(hijo<QPushButton>("Button_LLenar_TendeciasyDesempeño")->text(), QStringLiteral("Ver"));
    QCOMPARE(hijo<QPushButton>("Button_Graficar")->text(), QStringLiteral("Graficar"));

    QCOMPARE(mshtd().Rows(), 6);
    QCOMPARE(mshtd().Cols(), 13);
    QCOMPARE(mshtd().FixedRows(), 1);
    QCOMPARE(mshtd().FixedCols(), 1);
    QCOMPARE(mshtd().ColWidth(0), ModeloGrilla::AnchoPorDefecto);
    for (int k = 1; k <= 12; ++k) {
        QCOMPARE(mshtd().ColWidth(k), 1250);
        QCOMPARE(mshtd().TextMatrix(0, k), nombres_meses()[k - 1]);
        QCOMPARE(Flex3().TextMatrix(0, k), nombres_meses()[k - 1]);
    }
    QCOMPARE(mshtd().RowHeightMin(), 435 + px_a_twips(2, ventana.get()));
    QCOMPARE(QStringList({mshtd().TextMatrix(0, 0), mshtd().TextMatrix(1, 0), mshtd().TextMatrix(2, 0),
                          mshtd().TextMatrix(3, 0), mshtd().TextMatrix(4, 0), mshtd().TextMatrix(5, 0)}),
             QStringList({"Meses", "Meta", "Valor", "", "Desempeño", "Tendencia"}));
    QCOMPARE(Flex3().Rows(), 2);
    QCOMPARE(Flex3().Cols(), 13);
    QCOMPARE(Flex3().TextMatrix(0, 0), QStringLiteral("Meses"));
    QCOMPARE(Flex3().TextMatrix(1, 0), QStringLiteral("Nivel Base"));
    for (int k = 1; k <= 12; ++k)
        QCOMPARE(Flex3().ColWidth(k), k <= 4 ? 1000 : ModeloGrilla::AnchoPorDefecto);
    QCOMPARE(Flex2().Rows(), 6);
    QCOMPARE(Flex2().Cols(), 30);
    QCOMPARE(Flex2().FixedRows(), 1);
    QCOMPARE(Flex2().FixedCols(), 1);
    QVERIFY(grafica()->series().isEmpty());
}

void TstTendencia::flujo_principal()
{
    elegir(tipo(), "Principal      ");
    QCOMPARE(comandos.mid(2), QStringList({"Exec Principales_o_Departametnales '1'"}));
    QCOMPARE(kpi()->count(), 2);
    QCOMPARE(kpi()->itemText(0), texto_item(VENTAS, 100));
    QCOMPARE(kpi()->itemText(0), VENTAS + QString(15, u' '));
    QCOMPARE(kpi()->currentText(), QString());
    QVERIFY(depto()->isHidden());

    comandos.clear();
    elegir(kpi(), texto_item(VENTAS, 100));
    QVERIFY(comandos.isEmpty()); // a principal indicator has no departments
    QVERIFY(depto()->isHidden());
    elegir(anio(), "2009 ");
    QVERIFY(comandos.isEmpty());

    ver();
    const QString K = texto_item(VENTAS, 100);
    QCOMPARE(comandos, QStringList({"Exec Ten_Des 'Principal      ', '2009 ','" + K + "'",
                                    "Exec Ten_Des 'Principal      ', '2008','" + K + "'"}));
    QVERIFY(mensajes->mensajes.isEmpty());
    // Targets, values and baselines of VENTAS_2009, as the cells show them.
    const QStringList metas = {"200       ", "200       ", "200       ", "200       ", "200       ", "200       ",
                               "200       ", "200       ", "120       ", "200       ", "200       ", "250,5       "};
    const QStringList valores = {"185       ", "200       ", "100       ", "170       ", "170       ", "0       ",
                                 "140       ", "250       ", "130       ", "       ", "150       ", "230,25       "};
    const QStringList bases = {"100       ", "100       ", "100       ", "100       ", "100       ", "100       ",
                               "100       ", "100       ", "120       ", "100       ", "100       ", "80       "};
    QCOMPARE(textos(mshtd(), 1), metas);
    QCOMPARE(textos(mshtd(), 2), valores);
    QCOMPARE(textos(Flex2(), 1), bases);
    QCOMPARE(textos(Flex3(), 1), bases);
    QCOMPARE(textos(Flex2(), 2), QStringList(12, QStringLiteral("1       ")));
    QCOMPARE(Flex2().TextMatrix(5, 12), QStringLiteral("160       "));
    QCOMPARE(Flex2().TextMatrix(3, 1), QString());
    QCOMPARE(Flex2().TextMatrix(1, 13), QString());
}

void TstTendencia::flujo_departamental()
{
    // A principal indicator first, so the baseline grid holds twelve texts.
    elegir_todo("Principal      ", VENTAS, 2009);
    ver();

    comandos.clear();
    elegir(tipo(), "Departamentales");
    QCOMPARE(comandos, QStringList({"Exec Principales_o_Departametnales '2'"}));
    QCOMPARE(kpi()->count(), 1);
    QCOMPARE(kpi()->itemText(0), texto_item(ROTACION, 100));
    QVERIFY(depto()->isHidden());
    comandos.clear();
    elegir(kpi(), texto_item(ROTACION, 100));
    QCOMPARE(comandos, QStringList({"Exec Ten_Des_1_2 'Departamentales', '2009 ','"
                                    + texto_item(ROTACION, 100) + "','Primer Trimestre'"}));
    QVERIFY(!depto()->isHidden());
    QVERIFY(!hijo<QLabel>("Lbl_Departamento")->isHidden());
    QCOMPARE(depto()->count(), 2);
    QCOMPARE(depto()->itemText(1), texto_item("Ventas", 100));
    QCOMPARE(depto()->currentText(), QString());
    elegir(depto(), texto_item("Ventas", 100));

    comandos.clear();
    ver();
    const QString cola = "','" + texto_item(ROTACION, 100) + "','" + texto_item("Ventas", 100) + "'";
    QCOMPARE(comandos, QStringList({"Exec Ten_Des2 'Departamentales', '2009 " + cola,
                                    "Exec Ten_Des2 'Departamentales', '2008" + cola}));
    QVERIFY(mensajes->mensajes.isEmpty());
    QCOMPARE(mshtd().TextMatrix(2, 1), QStringLiteral("105       "));
    QCOMPARE(mshtd().TextMatrix(1, 12), QStringLiteral("200       "));
    QCOMPARE(Flex2().TextMatrix(1, 12), QStringLiteral("100       "));
    // The baselines of the principal indicator shown before are all gone.
    QCOMPARE(textos(Flex3(), 1, 12), QStringList(12, QString()));
    QCOMPARE(imagenes(5)[0], QStringLiteral("raya")); // nothing for 2008

    // Back to principal: the department list hides and keeps its items.
    elegir(tipo(), "Principal      ");
    QVERIFY(depto()->isHidden());
    QVERIFY(hijo<QLabel>("Lbl_Departamento")->isHidden());
    QCOMPARE(depto()->count(), 2);
    elegir(kpi(), texto_item(COSTO, 100));
    QCOMPARE(depto()->count(), 0);
}

void TstTendencia::parametros_que_faltan_data()
{
    QTest::addColumn<QString>("t");
    QTest::addColumn<QString>("k");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("d");
    QTest::addColumn<int>("veces");
    QTest::newRow("principal sin año") << "Principal      " << VENTAS << "" << "" << 1;
    QTest::newRow("principal sin indicador") << "Principal      " << "" << "2009 " << "" << 1;
    QTest::newRow("departamental sin indicador ni departamento") << "Departamentales" << "" << "2009 " << "" << 2;
    QTest::newRow("departamental sin departamento") << "Departamentales" << ROTACION << "2009 " << "" << 1;
    QTest::newRow("tipo escrito a mano") << "Otro" << VENTAS << "2009 " << "" << 1;
}

void TstTendencia::parametros_que_faltan()
{
    QFETCH(QString, t);
    QFETCH(QString, k);
    QFETCH(QString, a);
    QFETCH(QString, d);
    QFETCH(int, veces);
    // An earlier fill, which a refused press must leave as it was.
    elegir_todo("Principal      ", VENTAS, 2009);
    ver();
    const QStringList antes = contenido(mshtd()) + contenido(Flex3()) + contenido(Flex2());

    escribir(tipo(), t);
    escribir(kpi(), k);
    escribir(anio(), a);
    escribir(depto(), d);
    comandos.clear();
    mensajes->limpiar();
    ver();
    QCOMPARE(mensajes->textos(), QStringList(veces, FALTAN));
    for (const auto& m : mensajes->mensajes) {
        QCOMPARE(m.titulo, QStringLiteral("Mensajes"));
        QCOMPARE(m.icono, IconoMensaje::Informacion);
    }
    QVERIFY(comandos.isEmpty());
    QCOMPARE(contenido(mshtd()) + contenido(Flex3()) + contenido(Flex2()), antes);
}

// A typed type is neither matched to an item regardless of case nor taken
// as a pick: the list keeps it as typed and the choice step does not run.
void TstTendencia::tipo_escrito_queda_como_esta()
{
    const QString texto = QStringLiteral("principal      ");
    comandos.clear();
    QTest::keyClicks(tipo()->lineEdit(), texto);
    QTest::keyClick(tipo()->lineEdit(), Qt::Key_Return);
    QCOMPARE(tipo()->currentText(), texto);
    QVERIFY2(comandos.isEmpty(), qPrintable(comandos.join(u'|')));
    QCOMPARE(kpi()->count(), 0);
}

// Figures exactly on a band limit get the band the rules give them, and the
// share written beside the picture is the exact one: 2,1 of the way from 0
// to 2,8 is 75 %, 1,5 to 1,2 is -20 %, 1,5 to 1,8 is +20 %.
void TstTendencia::limites_exactos()
{
    const QString limites = QStringLiteral("Límites");
    serie(1, limites, {}, 2010, {{2.8, 2.1, 0}, {2.8, 1.5, 0}, {2.8, 1.2, 0}, {2.8, 1.5, 0}, {2.8, 1.8, 0}});
    elegir_todo("Principal      ", limites, 2010);
    ver();
    QCOMPARE(mshtd().CellPicture(4, 1), QStringLiteral("Amarillo"));
    QCOMPARE(Flex2().TextMatrix(4, 1), QStringLiteral("0,75"));
    QCOMPARE(mshtd().CellPicture(5, 3), QStringLiteral("T_Amarillo"));
    QCOMPARE(mshtd().CellPicture(5, 5), QStringLiteral("T_Verde"));
}

void TstTendencia::texto_exacto_tecleado_no_es_eleccion_data()
{
    QTest::addColumn<bool>("indicador"); // else the type list
    QTest::addColumn<int>("tecla");
    QTest::newRow("tipo, Tab") << false << int(Qt::Key_Tab);
    QTest::newRow("tipo, Return") << false << int(Qt::Key_Return);
    QTest::newRow("indicador, Tab") << true << int(Qt::Key_Tab);
    QTest::newRow("indicador, Return") << true << int(Qt::Key_Return);
}

// An item's exact text typed (trailing blanks included) and ended with Tab
// or Return runs no pick step: no query, nothing emptied or shown.
void TstTendencia::texto_exacto_tecleado_no_es_eleccion()
{
    QFETCH(bool, indicador);
    QFETCH(int, tecla);
    ventana->show();
    ventana->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(ventana.get()));
    QComboBox* l = tipo();
    QString texto = QStringLiteral("Departamentales");
    if (indicador) {
        elegir(tipo(), "Departamentales");
        elegir(anio(), texto_item(QStringLiteral("2009"), 5));
        l = kpi();
        texto = l->itemText(0);
        QVERIFY(texto.endsWith(u' '));
    }
    l->setFocus();
    comandos.clear();
    escribir(l, texto);
    QTest::keyClick(l->lineEdit(), Qt::Key(tecla));
    QCOMPARE(l->currentText(), texto);
    QVERIFY2(comandos.isEmpty(), qPrintable(comandos.join(u'|')));
    if (indicador) {
        QVERIFY(depto()->isHidden());
        QCOMPARE(anio()->currentText(), texto_item(QStringLiteral("2009"), 5));
    } else {
        QCOMPARE(kpi()->count(), 0);
    }
    // Picked from the list, the same item runs its step.
    elegir(l, texto);
    QVERIFY(!comandos.isEmpty());
}

void TstTendencia::iconos_y_razones_de_un_anio()
{
    // Each month of both series, February on for the trend: a growing series
    // (target 200 over baseline 100, with a gap and a target on its baseline)
    // and a falling one (target 30 under baseline 50).
    struct Esperado {
        QString nombre;
        QStringList estados, razones, tendencias;
    };
    const QList<Esperado> series = {
        {VENTAS,
         {"Verde", "Verde", "Rojo", "Amarillo", "Amarillo", "Rojo", "Amarillo", "Azul", "Blanco", "Blanco",
          "Amarillo", "Verde"},
         {"0,85", "1", "0", "0,7", "0,7", "-1", "0,4", "1,5", "", "", "0,5", "0,8812316715542522"},
         {"T_Verde", "T_Rojo", "T_Azul", "T_Blanco", "T_Rojo", "Blanco", "T_Azul", "T_Rojo", "raya", "raya",
          "T_Azul"}},
        {COSTO,
         {"Amarillo", "Azul", "Verde", "Rojo", "Amarillo", "Amarillo", "Amarillo", "Verde", "Verde", "Verde",
          "Verde", "Azul"},
         {"0,75", "1,25", "1", "0", "0,5", "0,6", "0,7", "0,85", "0,9", "0,95", "1", "1,05"},
         {"T_Rojo", "T_Verde", "T_Azul", "T_Amarillo", "T_Amarillo", "T_Amarillo", "T_Amarillo", "T_Blanco",
          "T_Blanco", "T_Blanco", "T_Blanco"}},
    };
    for (const Esperado& e : series) {
        elegir_todo("Principal      ", e.nombre, 2009);
        ver();
        QCOMPARE(imagenes(4), e.estados);
        QCOMPARE(textos(Flex2(), 4), e.razones);
        QCOMPARE(imagenes(5).mid(1), e.tendencias);
    }
    // The cases that matter, spelled out for the principal series.
    elegir_todo("Principal      ", VENTAS, 2009);
    ver();
    QCOMPARE(Flex2().TextMatrix(4, 1), QStringLiteral("0,85"));
    QCOMPARE(Flex2().TextMatrix(4, 2), QStringLiteral("1")); // value on target: Verde
    QCOMPARE(mshtd().CellPicture(4, 2), QStringLiteral("Verde"));
    QCOMPARE(Flex2().TextMatrix(4, 3), QStringLiteral("0")); // value on baseline: Rojo
    QCOMPARE(mshtd().CellPicture(4, 3), QStringLiteral("Rojo"));
    QCOMPARE(Flex2().TextMatrix(4, 9), QString()); // target equals baseline
    QCOMPARE(mshtd().CellPicture(4, 9), QStringLiteral("Blanco"));
    QCOMPARE(mshtd().CellPicture(4, 10), QStringLiteral("Blanco")); // no value
    QCOMPARE(mshtd().CellPicture(5, 5), QStringLiteral("T_Blanco")); // equal neighbours
    QCOMPARE(mshtd().CellPicture(5, 7), QStringLiteral("Blanco"));   // June was 0
    QCOMPARE(mshtd().CellPicture(5, 10), QStringLiteral("raya"));    // no value
    QCOMPARE(mshtd().CellPicture(5, 11), QStringLiteral("raya"));    // nothing to compare with
    for (int k = 1; k <= 12; ++k)
        QCOMPARE(mshtd().TextMatrix(4, k) + mshtd().TextMatrix(5, k), QString());
}

void TstTendencia::enero_se_compara_con_diciembre_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QList<std::optional<double>>>("anterior");
    QTest::addColumn<QStringList>("segunda");
    QTest::addColumn<QString>("icono");
    // January 2010 is 130; April of 2009 holds the same 130, December 100.
    using L = QList<std::optional<double>>;
    const L anterior = {1, 1, 1, 130, 1, 1, 1, 1, 1, 1, 1, 100};
    QTest::newRow("diciembre") << "2010 " << anterior << QStringList{"2009"} << "T_Azul";
    QTest::newRow("diciembre en cero") << "2010 " << L{1, 1, 1, 130, 1, 1, 1, 1, 1, 1, 1, 0}
                                       << QStringList{"2009"} << "Blanco";
    QTest::newRow("año anterior corto") << "2010 " << L{1, 1, 1, 130} << QStringList{"2009"} << "raya";
    QTest::newRow("diciembre sin valor") << "2010 " << L{1, 1, 1, 130, 1, 1, 1, 1, 1, 1, 1, std::nullopt}
                                         << QStringList{"2009"} << "raya";
    QTest::newRow("2008") << "2008 " << anterior << QStringList{"2007"} << "Blanco";
    QTest::newRow("año escrito que no es número") << "dos mil" << anterior << QStringList{} << "raya";
}

void TstTendencia::enero_se_compara_con_diciembre()
{
    QFETCH(QString, a);
    QFETCH(QList<std::optional<double>>, anterior);
    QFETCH(QStringList, segunda);
    QFETCH(QString, icono);
    const QString uno = QStringLiteral("Uno");
    serie(1, uno, {}, 2010, valores({130, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    serie(1, uno, {}, 2009, valores(anterior));
    serie(1, uno, {}, 2007, valores(anterior));
    serie(1, uno, {}, 2008, valores({130}));
    // A fall in January of another indicator first: its picture must not stay.
    elegir_todo("Principal      ", VENTAS, 2009);
    ver();
    QCOMPARE(mshtd().CellPicture(5, 1), QStringLiteral("T_Verde"));

    elegir(tipo(), "Principal      ");
    elegir(kpi(), texto_item(uno, 100));
    escribir(anio(), a);
    comandos.clear();
    ver();
    QVERIFY(mensajes->mensajes.isEmpty());
    QCOMPARE(comandos.size(), 1 + segunda.size());
    if (!segunda.isEmpty())
        QVERIFY2(comandos[1].contains("', '" + segunda[0] + "','"), qPrintable(comandos[1]));
    QCOMPARE(mshtd().CellPicture(5, 1), icono);
}

void TstTendencia::filas_distintas_de_doce_data()
{
    QTest::addColumn<int>("filas");
    QTest::newRow("ninguna") << 0;
    QTest::newRow("cinco") << 5;
    QTest::newRow("catorce") << 14;
}

void TstTendencia::filas_distintas_de_doce()
{
    QFETCH(int, filas);
    QList<std::optional<double>> v;
    for (int i = 0; i < filas; ++i)
        v << 150 + i;
    serie(1, "Corto", {}, 2009, valores(v));
    serie(1, "Corto", {}, 2007, valores({1})); // listed even with no row for 2009
    elegir_todo("Principal      ", VENTAS, 2009);
    ver();
    elegir_todo("Principal      ", "Corto", 2009);
    ver();
    QVERIFY(mensajes->mensajes.isEmpty());
    const QString vacia = QStringLiteral("       ");
    for (int k = 1; k <= 12; ++k) {
        QCOMPARE(mshtd().TextMatrix(2, k), k <= filas ? QStringLiteral("%1       ").arg(149 + k) : vacia);
        QCOMPARE(mshtd().TextMatrix(1, k), k <= filas ? QStringLiteral("200       ") : vacia);
        QCOMPARE(Flex3().TextMatrix(1, k), k <= filas ? QStringLiteral("100       ") : vacia);
        QCOMPARE(mshtd().CellPicture(4, k), k <= filas ? QStringLiteral("Amarillo") : QStringLiteral("Blanco"));
        if (k > 1)
            QCOMPARE(mshtd().CellPicture(5, k), k <= filas ? QStringLiteral("T_Blanco") : QStringLiteral("raya"));
    }
    QCOMPARE(Flex2().TextMatrix(1, 13), QString());
    // The chart still draws: months with no row are left out.
    graficar();
    QVERIFY(mensajes->mensajes.isEmpty());
    auto* linea = qobject_cast<QLineSeries*>(grafica()->series().value(1));
    QVERIFY(linea);
    QCOMPARE(linea->count(), filas >= 12 ? 4 : filas >= 3 ? 1 : 0);
}

void TstTendencia::graficar_antes_de_ver()
{
    graficar();
    escribir(tipo(), "Principal      ");
    ver(); // refused: no indicator, no year
    graficar();
    QCOMPARE(mensajes->textos(), QStringList({SIN_CONSULTA, FALTAN, SIN_CONSULTA}));
    QCOMPARE(mensajes->mensajes[0].titulo, QStringLiteral("Mensajes"));
    QCOMPARE(mensajes->mensajes[0].icono, IconoMensaje::Informacion);
    QVERIFY(grafica()->series().isEmpty());
    QVERIFY(grafica()->axes().isEmpty());
}

void TstTendencia::grafica_de_los_trimestres()
{
    // The chart at the window's designed size (the test screen is narrower).
    ventana->resize(twips_a_px(14895, ventana.get()), twips_a_px(7575, ventana.get()));
    elegir_todo("Principal      ", VENTAS, 2009);
    ver();
    graficar();
    QVERIFY(mensajes->mensajes.isEmpty());
    QChart* g = grafica();
    QCOMPARE(g->title(), QStringLiteral("GRAFICA"));
    QVERIFY(g->legend()->isVisible());
    QCOMPARE(g->legend()->alignment(), Qt::AlignBottom);
    QCOMPARE(g->series().size(), 2);

    auto* barras = qobject_cast<QBarSeries*>(g->series()[0]);
    QVERIFY(barras);
    QCOMPARE(barras->count(), 2);
    QBarSet* metas = barras->barSets()[0];
    QBarSet* valores_ = barras->barSets()[1];
    QCOMPARE(metas->label(), QStringLiteral("META"));
    QCOMPARE(valores_->label(), QStringLiteral("VALOR"));
    auto* linea = qobject_cast<QLineSeries*>(g->series()[1]);
    QVERIFY(linea);
    QCOMPARE(linea->name(), QStringLiteral("DESEMPEÑO"));
    // Columns 3, 6, 9 and 12 under MARZO ... DICIEMB; the comma of 250,5
    // and the ratios read with a full stop.
    const int columnas[] = {3, 6, 9, 12};
    QCOMPARE(linea->count(), 3); // September's target equals its baseline
    int punto = 0;
    for (int i = 0; i < 4; ++i) {
        const Mes& m = VENTAS_2009[columnas[i] - 1];
        QCOMPARE(metas->at(i), *m.meta);
        QCOMPARE(valores_->at(i), *m.valor);
        if (*m.meta == *m.base)
            continue;
        QCOMPARE(linea->at(punto).x(), double(i));
        QCOMPARE(linea->at(punto).y(), (*m.valor - *m.base) / (*m.meta - *m.base) * 100);
        ++punto;
    }
    QCOMPARE_BITS(linea->at(0).y(), 0.0);  // March: value on the baseline
    QCOMPARE(linea->at(1).y(), -100.0); // June: value 0

    auto ejes = [](QAbstractSeries* s, Qt::Orientation o) {
        const auto l = s->attachedAxes();
        for (QAbstractAxis* e : l)
            if (e->orientation() == o)
                return e;
        return static_cast<QAbstractAxis*>(nullptr);
    };
    auto* categorias = qobject_cast<QBarCategoryAxis*>(ejes(barras, Qt::Horizontal));
    QVERIFY(categorias);
    QCOMPARE(categorias->categories(), QStringList({"MARZO", "JUNIO", "SEPTIEM", "DICIEMB"}));
    QCOMPARE(ejes(linea, Qt::Horizontal), categorias);
    QCOMPARE(categorias->alignment(), Qt::AlignBottom);
    auto* izquierdo = qobject_cast<QCategoryAxis*>(ejes(barras, Qt::Vertical));
    auto* derecho = qobject_cast<QCategoryAxis*>(ejes(linea, Qt::Vertical));
    QVERIFY(izquierdo && derecho && izquierdo != derecho);
    QCOMPARE(izquierdo->alignment(), Qt::AlignLeft);
    QCOMPARE(derecho->alignment(), Qt::AlignRight);
    QVERIFY(!izquierdo->isGridLineVisible() && !derecho->isGridLineVisible());
    QVERIFY(izquierdo->min() <= 0 && izquierdo->max() >= 250.5);
    QVERIFY(derecho->min() <= -100 && derecho->max() >= 100);
    // A ratio is drawn as a percentage: 1 at 100, which reads 100%.
    QVERIFY2(derecho->categoriesLabels().contains(QStringLiteral("100%")),
             qPrintable(derecho->categoriesLabels().join(u' ')));
    QCOMPARE(derecho->endValue(QStringLiteral("100%")), 100.0);

    // What the user sees: the right axis labels end in %, 100% among them.
    ventana->show();
    ventana->grab();
    QStringList etiquetas;
    for (QGraphicsItem* item : g->scene()->items())
        if (auto* t = dynamic_cast<QGraphicsTextItem*>(item))
            etiquetas << t->toPlainText();
    QVERIFY2(etiquetas.contains("100%"), qPrintable(etiquetas.join(" | ")));
    QVERIFY2(etiquetas.contains("MARZO"), qPrintable(etiquetas.join(" | ")));
}

void TstTendencia::grafica_deja_fuera_lo_que_no_es_numero()
{
    serie(1, "Huecos", {}, 2009,
          {{1, 1, 0}, {1, 1, 0}, {std::nullopt, 5, 0}, {1, 1, 0}, {1, 1, 0}, {10, std::nullopt, 0},
           {1, 1, 0}, {1, 1, 0}, {4, 3, 0}, {1, 1, 0}, {1, 1, 0}, {8, 2, 0}});
    elegir_todo("Principal      ", "Huecos", 2009);
    ver();
    graficar();
    auto* barras = qobject_cast<QBarSeries*>(grafica()->series().value(0));
    auto* linea = qobject_cast<QLineSeries*>(grafica()->series().value(1));
    QVERIFY(barras && linea);
    QCOMPARE_BITS(barras->barSets()[0]->at(0), 0.0); // no target: no bar
    QCOMPARE_BITS(barras->barSets()[1]->at(0), 5.0);
    QCOMPARE_BITS(barras->barSets()[1]->at(1), 0.0); // no value: no bar
    QCOMPARE(linea->count(), 2);
    QCOMPARE(linea->at(0), QPointF(2, 75));
    QCOMPARE(linea->at(1), QPointF(3, 25));
}

void TstTendencia::cada_pulsacion_dibuja_una_grafica_nueva()
{
    elegir_todo("Principal      ", VENTAS, 2009);
    ver();
    graficar();
    QPointer<QChart> primera = grafica();
    graficar();
    QVERIFY(primera.isNull()); // drawn afresh, the old one gone
    QCOMPARE(grafica()->series().size(), 2);

    // Changing the lists without "Ver" charts the last filled table.
    elegir_todo("Principal      ", COSTO, 2009);
    graficar();
    auto* barras = qobject_cast<QBarSeries*>(grafica()->series()[0]);
    QCOMPARE(barras->barSets()[1]->at(0), *VENTAS_2009[2].valor);
    ver();
    graficar();
    barras = qobject_cast<QBarSeries*>(grafica()->series()[0]);
    QCOMPARE_BITS(barras->barSets()[1]->at(0), *COSTO_2009[2].valor);
    QCOMPARE(grafica()->axes().size(), 3);
}

void TstTendencia::ejes_como_las_grillas_data()
{
    QTest::addColumn<QStringList>("celdas"); // target, value and ratio of four months, as the grids show them
    QTest::addColumn<QList<double>>("metas");
    QTest::addColumn<QList<double>>("razones");
    QTest::newRow("millones") << QStringList{"1500000", "1350000", "0,5", "1250000", "1125000", "0,8",
                                             "900000",  "810000",  "1",   "1000000", "900000",  "1,2"}
                              << QList<double>{1500000, 1250000, 900000, 1000000} << QList<double>{0.5, 0.8, 1, 1.2};
    QTest::newRow("décimas") << QStringList{"0,3", "0,27", "-0,35", "0,45", "0,405", "0,05",
                                            "0,7", "0,63", "0,4",   "0,9",  "0,81",  "0,95"}
                             << QList<double>{0.3, 0.45, 0.7, 0.9} << QList<double>{-0.35, 0.05, 0.4, 0.95};
    QTest::newRow("negativos") << QStringList{"-250000", "-225000", "-2", "-120000", "-108000", "-1",
                                              "80000",   "72000",   "3",  "300000",  "270000",  "12"}
                               << QList<double>{-250000, -120000, 80000, 300000} << QList<double>{-2, -1, 3, 12};
}

// Numbers on the axes are written as the grids write numbers: never with an
// exponent, the user's decimal comma, each label the number it stands at.
void TstTendencia::ejes_como_las_grillas()
{
    QFETCH(QStringList, celdas);
    QFETCH(QList<double>, metas);
    QFETCH(QList<double>, razones);
    std::unique_ptr<QChart> g = grafica_de_celdas(celdas);
    const auto ejes = g->axes(Qt::Vertical);
    QCOMPARE(ejes.size(), 2);
    for (QAbstractAxis* e : ejes) {
        auto* eje = qobject_cast<QCategoryAxis*>(e);
        QVERIFY(eje);
        const bool porcentaje = eje->alignment() == Qt::AlignRight;
        const QStringList etiquetas = eje->categoriesLabels();
        QVERIFY(etiquetas.size() >= 3);
        for (const QString& etiqueta : etiquetas) {
            // Digits, a sign, a decimal comma and the percent sign: no
            // exponent, no point, no thousands group.
            static const QRegularExpression forma(QStringLiteral("^-?[0-9]+(,[0-9]+)?%?$"));
            QVERIFY2(forma.match(etiqueta).hasMatch(), qPrintable(etiqueta));
            QCOMPARE(etiqueta.endsWith(u'%'), porcentaje);
            QCOMPARE_BITS(leer_exacto(QString(etiqueta).remove(u'%')), eje->endValue(etiqueta));
        }
        // The scale takes in every bar and point.
        const QList<double> datos = porcentaje ? razones : metas;
        for (double d : datos) {
            const double v = porcentaje ? d * 100 : d;
            QVERIFY(eje->min() <= v && v <= eje->max());
        }
    }
}

void TstTendencia::etiquetas_enteras_data()
{
    QTest::addColumn<bool>("minimo");
    QTest::newRow("tamaño de diseño") << false;
    QTest::newRow("tamaño mínimo") << true;
}

// Every label and legend entry of the chart shows whole, at the window's
// designed size and at the chart's least size.
void TstTendencia::etiquetas_enteras()
{
    QFETCH(bool, minimo);
    const QStringList celdas = {"1500000", "1450000", "0,5",  "1500000", "1250000", "0,25",
                                "1500000", "1600000", "1,15", "1500000", "900000",  "-0,35"};
    auto* vista = hijo<QChartView>(QStringLiteral("ChartSpace1"));
    poner_grafica(vista, grafica_de_celdas(celdas));
    ventana->resize(twips_a_px(14895, ventana.get()), twips_a_px(7575, ventana.get()));
    ventana->show();
    QVERIFY(QTest::qWaitForWindowExposed(ventana.get()));
    if (minimo)
        vista->resize(vista->minimumSize());
    QVERIFY(vista->width() >= tamano_minimo_grafica().width());
    QVERIFY(vista->height() >= tamano_minimo_grafica().height());
    vista->grab(); // lays the chart out
    QStringList vistas;
    for (QGraphicsItem* item : grafica()->scene()->items()) {
        if (!item->isVisible())
            continue;
        if (auto* t = dynamic_cast<QGraphicsTextItem*>(item))
            vistas << t->toPlainText();
        else if (auto* st = dynamic_cast<QGraphicsSimpleTextItem*>(item))
            vistas << st->text();
    }
    for (const QString& t : vistas)
        QVERIFY2(!t.contains(QStringLiteral("...")) && !t.contains(QStringLiteral("…")), qPrintable(vistas.join(" | ")));
    const QStringList esperadas = {"GRAFICA", "MARZO", "JUNIO", "SEPTIEM", "DICIEMB", "META", "VALOR", "DESEMPEÑO",
                                   "1500000", "100%"};
    for (const QString& esperada : esperadas)
        QVERIFY2(vistas.contains(esperada), qPrintable(esperada + QStringLiteral(" no está: ") + vistas.join(" | ")));
}

// A window wide enough shows all twelve months of the table; the chart grows
// too. At the designed size the table keeps its place.
void TstTendencia::doce_meses_cuando_cabe()
{
    elegir_todo("Principal      ", VENTAS, 2009);
    ver();
    graficar();
    auto* tabla = hijo<Grilla>(QStringLiteral("mshtd"));
    auto* vista = hijo<QChartView>(QStringLiteral("ChartSpace1"));
    ventana->resize(twips_a_px(14895, ventana.get()), twips_a_px(7575, ventana.get()));
    ventana->show();
    QVERIFY(QTest::qWaitForWindowExposed(ventana.get()));
    QCOMPARE(tabla->pos(), QPoint(twips_a_px(240, ventana.get()), twips_a_px(2160, ventana.get())));
    const QSize grafica_diseno = vista->size();
    auto meses_enteros = [&] {
        int n = 0;
        for (int k = 1; k <= 12; ++k) {
            const QRect r = tabla->rectangulo(0, k);
            if (!r.isEmpty() && r.left() >= tabla->viewport()->x() + tabla->ancho_columna_px(0) - 1
                && r.right() <= tabla->viewport()->geometry().right())
                ++n;
        }
        return n;
    };
    QVERIFY(meses_enteros() < 12);

    ventana->resize(1900, 1000);
    QTRY_COMPARE(meses_enteros(), 12);
    QVERIFY(vista->width() > grafica_diseno.width());
    QVERIFY(vista->height() > grafica_diseno.height());
    // Not a tall strip: no taller than the design's proportion of its width.
    QVERIFY2(qint64(vista->height()) * 4815 <= qint64(vista->width()) * 4695 + 4815,
             qPrintable(QStringLiteral("%1 x %2").arg(vista->width()).arg(vista->height())));
    QVERIFY(vista->geometry().right() < ventana->width());
    QVERIFY(!vista->geometry().intersects(tabla->geometry()));
    // The twelve months' headings and texts are drawn.
    QStringList encabezados;
    for (int k = 1; k <= 12; ++k)
        encabezados << mshtd().TextMatrix(0, k);
    QCOMPARE(encabezados, nombres_meses());
}

void TstTendencia::dato_grafica_data()
{
    QTest::addColumn<QString>("celda");
    QTest::addColumn<std::optional<double>>("numero");
    QTest::newRow("coma decimal") << "250,5          " << std::optional<double>(250.5);
    QTest::newRow("sin coma") << "7       " << std::optional<double>(7);
    QTest::newRow("razón") << "0,85" << std::optional<double>(0.85);
    QTest::newRow("negativo") << "-1,25" << std::optional<double>(-1.25);
    QTest::newRow("vacía") << "" << std::optional<double>();
    QTest::newRow("blancos") << "       " << std::optional<double>();
    QTest::newRow("texto") << "n/d" << std::optional<double>();
    QTest::newRow("dos comas") << "1,234,5" << std::optional<double>();
}

void TstTendencia::dato_grafica()
{
    QFETCH(QString, celda);
    QFETCH(std::optional<double>, numero);
    QCOMPARE(::dato_grafica(celda), numero);
}

QTEST_MAIN(TstTendencia)
#include "tst_tendencia.moc"
