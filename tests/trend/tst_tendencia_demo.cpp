// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ventanas.h"
#include "data/conexion.h"
#include "data/textos.h"
#include "soporte/pantallas.h"
#include "soporte/pdf_leido.h"
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
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

using namespace velmora;

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
    void pdf_de_la_tendencia();
    void pdf_sin_la_grafica_de_otra_consulta();
    void pdf_en_una_pagina_data();
    void pdf_en_una_pagina();
    void ver_que_falla_data();
    void ver_que_falla();

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
    // Each month's status and trend pictures (January against December of
    // 2008) and the ratio the screen writes, as the demo data give them.
    QTest::addColumn<QStringList>("estados");
    QTest::addColumn<QStringList>("tendencias");
    QTest::addColumn<QStringList>("razones");
    QTest::newRow("principal")
        << "Principal      " << "Margen operativo" << "" << "tendencia_principal"
        << QStringList{"Amarillo", "Verde", "Amarillo", "Verde", "Azul", "Azul", "Verde", "Amarillo", "Amarillo",
                       "Amarillo", "Rojo", "Amarillo"}
        << QStringList{"T_Verde", "T_Verde", "T_Amarillo", "T_Verde", "T_Verde", "T_Blanco", "T_Amarillo",
                       "T_Amarillo", "T_Amarillo", "T_Blanco", "T_Amarillo", "T_Verde"}
        << QStringList{"0,7428571428571429", "0,8857142857142857", "0,6857142857142857", "0,9571428571428572",
                       "1,1", "1,1285714285714286", "0,9142857142857143", "0,5571428571428572",
                       "0,42857142857142855", "0,4142857142857143", "0,3142857142857143", "0,4857142857142857"};
    QTest::newRow("departamental")
        << "Departamentales" << "Cumplimiento de cuota de ventas" << "Ventas" << "tendencia_departamental"
        << QStringList{"Verde", "Verde", "Verde", "Verde", "Verde", "Verde", "Verde", "Amarillo", "Amarillo",
                       "Rojo", "Amarillo", "Amarillo"}
        << QStringList{"T_Verde", "T_Blanco", "T_Blanco", "T_Blanco", "T_Blanco", "T_Blanco", "T_Blanco",
                       "T_Amarillo", "T_Amarillo", "T_Amarillo", "T_Verde", "T_Blanco"}
        << QStringList{"0,77", "0,8833333333333333", "1", "0,8533333333333334", "1", "0,91", "0,9466666666666667",
                       "0,65", "0,4866666666666667", "0,31333333333333335", "0,5566666666666666",
                       "0,44666666666666666"};
}

void TstTendenciaDemo::indicador_de_la_demo()
{
    QFETCH(QString, tipo);
    QFETCH(QString, indicador);
    QFETCH(QString, departamento);
    QFETCH(QString, captura);
    QFETCH(QStringList, estados);
    QFETCH(QStringList, tendencias);
    QFETCH(QStringList, razones);
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
    QList<std::optional<double>> metas, valores;
    QStringList textos_valor;
    for (Resultado r = Conexion().ejecutar(comando("2009 ")); !r.eof(); r.siguiente()) {
        metas << numero(r.campo(campo_meta));
        valores << numero(r.campo("Valor"));
        textos_valor << (r.texto("Valor") + QString(7, u' ')).left(15);
    }
    QCOMPARE(valores.size(), 12);

    const ModeloGrilla& mshtd = *control<Grilla>(v, "mshtd")->modelo();
    const ModeloGrilla& Flex2 = *control<ModeloGrilla>(v, "Flex2");
    QStringList estados_vistos, tendencias_vistas, razones_vistas;
    for (int k = 1; k <= 12; ++k) {
        QCOMPARE(mshtd.TextMatrix(2, k), textos_valor[k - 1]);
        estados_vistos << mshtd.CellPicture(4, k);
        tendencias_vistas << mshtd.CellPicture(5, k);
        razones_vistas << Flex2.TextMatrix(4, k); // the user's decimal comma
    }
    QCOMPARE(estados_vistos, estados);
    QCOMPARE(tendencias_vistas, tendencias);
    QCOMPARE(razones_vistas, razones);

    QChart* g = control<QChartView>(v, "ChartSpace1")->chart();
    auto* barras = qobject_cast<QBarSeries*>(g->series().value(0));
    auto* linea = qobject_cast<QLineSeries*>(g->series().value(1));
    QVERIFY(barras && linea);
    QCOMPARE(linea->count(), 4);
    for (int i = 0; i < 4; ++i) {
        const int m = 3 * i + 2; // March, June, September, December
        QCOMPARE(barras->barSets()[0]->at(i), *metas[m]);
        QCOMPARE(barras->barSets()[1]->at(i), *valores[m]);
        QVERIFY(qFuzzyCompare(linea->at(i).y(), QLocale().toDouble(razones[m]) * 100));
    }
    guardar_captura(v, captura);
}

// Ctrl+Shift+P after "Ver" and "Graficar" writes a document: the choices,
// all twelve months of the table with their row headings, every target,
// value and baseline drawn (none under a white block), the pictures, the
// chart with its axes and legend, and the pictures' legend.
void TstTendenciaDemo::pdf_de_la_tendencia()
{
    const QString faltan = faltan_herramientas_pdf();
    QVERIFY2(faltan.isEmpty(), qPrintable(QStringLiteral("faltan ") + faltan + QStringLiteral(" (poppler-utils)")));
    QWidget* menu = RegistroVentanas::instancia().mostrar("Principalgeneral");
    pulsar(menu, "cmd_tende");
    QWidget* v = RegistroVentanas::instancia().ventana("Tendencia_y_Desempeño");
    QVERIFY(v);
    QVERIFY(QTest::qWaitForWindowActive(v));
    elegir(v, "Cmb_Tipo_Indicador_TendenciasyDesempeño", "Principal      ");
    elegir(v, "Cmb_Año_TendenciasyDesempeño", "2009 ");
    elegir(v, "Cmb_KPI_TendenciasyDesempeño", ("Margen operativo" + QString(15, u' ')).left(100));
    pulsar(v, "Button_LLenar_TendeciasyDesempeño");
    pulsar(v, "Button_Graficar");
    QVERIFY(mensajes->mensajes.isEmpty());

    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath("tendencia.pdf");
    pdf_por_teclado(v, ruta);
    QVERIFY(QFile::exists(ruta));
    int paginas = 0;
    const QList<PalabraPdf> palabras = palabras_pdf(ruta, &paginas);
    QVERIFY(paginas >= 1);
    const int ppp = 100;
    QList<QImage> imagenes;
    for (int p = 0; p < paginas; ++p)
        imagenes << pagina_pdf(ruta, p, ppp, QStringLiteral("pdf_tendencia_p%1").arg(p + 1));
    const QStringList textos = textos_pdf(palabras);
    const QString texto = textos.join(u' ');
    QVERIFY2(texto.startsWith("Tendencia y Desempeño"), qPrintable(texto.left(100)));
    QVERIFY2(texto.contains("Indicador: Margen operativo") && texto.contains("Año: 2009"), qPrintable(texto.left(200)));

    // Every occurrence of a word is drawn: some ink inside its box.
    auto dibujada = [&](const QString& palabra) {
        int vistas = 0;
        for (const PalabraPdf& w : palabras) {
            if (w.texto != palabra)
                continue;
            if (tinta(imagenes[w.pagina], w.caja, ppp) < 0.03)
                return false;
            ++vistas;
        }
        return vistas > 0;
    };
    QStringList esperadas = nombres_meses();
    esperadas << "Meses" << "Meta" << "Valor" << "Desempeño" << "Tendencia" << "Nivel" << "Base";
    const ModeloGrilla& mshtd = *control<Grilla>(v, "mshtd")->modelo();
    const ModeloGrilla& bases = *control<Grilla>(v, "Flex3")->modelo();
    for (int k = 1; k <= 12; ++k)
        esperadas << mshtd.TextMatrix(1, k).trimmed() << mshtd.TextMatrix(2, k).trimmed() << bases.TextMatrix(1, k).trimmed();
    // The chart: title, categories, series and the axes' numbers.
    esperadas << "GRAFICA" << "MARZO" << "JUNIO" << "SEPTIEM" << "DICIEMB" << "META" << "VALOR" << "DESEMPEÑO" << "100%";
    for (const QString& e : esperadas) {
        if (e.isEmpty())
            continue;
        QVERIFY2(textos.contains(e), qPrintable(e + " no está en el PDF"));
        QVERIFY2(dibujada(e), qPrintable(e + " está en blanco"));
    }
    for (const QString& t : textos)
        QVERIFY2(!t.contains("e+") && !t.contains("E+") && !t.contains("..."), qPrintable(t));
    QVERIFY(texto.contains("Leyenda"));
}

// The chart stays on screen after "Ver" shows another indicator, but it is
// not that indicator's: the document under the new choices leaves it out
// until "Graficar" draws it from the table shown.
void TstTendenciaDemo::pdf_sin_la_grafica_de_otra_consulta()
{
    const QString faltan = faltan_herramientas_pdf();
    QVERIFY2(faltan.isEmpty(), qPrintable(QStringLiteral("faltan ") + faltan + QStringLiteral(" (poppler-utils)")));
    QWidget* menu = RegistroVentanas::instancia().mostrar("Principalgeneral");
    pulsar(menu, "cmd_tende");
    QWidget* v = RegistroVentanas::instancia().ventana("Tendencia_y_Desempeño");
    QVERIFY(v);
    QVERIFY(QTest::qWaitForWindowActive(v));
    elegir(v, "Cmb_Tipo_Indicador_TendenciasyDesempeño", "Principal      ");
    elegir(v, "Cmb_Año_TendenciasyDesempeño", "2009 ");
    elegir(v, "Cmb_KPI_TendenciasyDesempeño", ("Margen operativo" + QString(15, u' ')).left(100));
    pulsar(v, "Button_LLenar_TendeciasyDesempeño");
    pulsar(v, "Button_Graficar");
    elegir(v, "Cmb_KPI_TendenciasyDesempeño", ("Ingresos por ventas" + QString(15, u' ')).left(100));
    pulsar(v, "Button_LLenar_TendeciasyDesempeño");
    QVERIFY(mensajes->mensajes.isEmpty());

    const QStringList de_la_grafica = {"GRAFICA", "META", "VALOR", "DESEMPEÑO", "MARZO"};
    QTemporaryDir carpeta;
    auto textos = [&](const QString& nombre) {
        const QString ruta = carpeta.filePath(nombre);
        v->activateWindow();
        if (!QTest::qWaitForWindowActive(v))
            return QStringList();
        pdf_por_teclado(v, ruta);
        return QFile::exists(ruta) ? textos_pdf(palabras_pdf(ruta)) : QStringList();
    };
    const QStringList otra = textos("otra.pdf");
    QVERIFY2(otra.join(u' ').contains("Indicador: Ingresos por ventas"), qPrintable(otra.join(u' ').left(200)));
    for (const QString& palabra : de_la_grafica)
        QVERIFY2(!otra.contains(palabra), qPrintable(palabra + " es de la gráfica de otra consulta"));

    pulsar(v, "Button_Graficar");
    const QStringList graficada = textos("graficada.pdf");
    QVERIFY2(graficada.join(u' ').contains("Indicador: Ingresos por ventas"), qPrintable(graficada.join(u' ').left(200)));
    for (const QString& palabra : de_la_grafica)
        QVERIFY2(graficada.contains(palabra), qPrintable(palabra + " no está en el PDF"));
}

void TstTendenciaDemo::pdf_en_una_pagina_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("indicador");
    QTest::addColumn<QString>("departamento");
    QTest::newRow("principal") << "Principal      " << "Margen operativo" << "";
    QTest::newRow("departamental") << "Departamentales" << "Cumplimiento de cuota de ventas" << "Ventas";
}

// A trend with its chart fits one page, the legend under the chart; a
// departmental indicator, which has no baselines, prints no empty
// "Nivel Base" table. The selection line is whole on the page.
void TstTendenciaDemo::pdf_en_una_pagina()
{
    QFETCH(QString, tipo);
    QFETCH(QString, indicador);
    QFETCH(QString, departamento);
    const bool principal = departamento.isEmpty();
    const QString faltan = faltan_herramientas_pdf();
    QVERIFY2(faltan.isEmpty(), qPrintable(QStringLiteral("faltan ") + faltan + QStringLiteral(" (poppler-utils)")));
    QWidget* menu = RegistroVentanas::instancia().mostrar("Principalgeneral");
    pulsar(menu, "cmd_tende");
    QWidget* v = RegistroVentanas::instancia().ventana("Tendencia_y_Desempeño");
    QVERIFY(v);
    QVERIFY(QTest::qWaitForWindowActive(v));
    elegir(v, "Cmb_Tipo_Indicador_TendenciasyDesempeño", tipo);
    elegir(v, "Cmb_Año_TendenciasyDesempeño", "2009 ");
    elegir(v, "Cmb_KPI_TendenciasyDesempeño", (indicador + QString(15, u' ')).left(100));
    if (!principal)
        elegir(v, "Cmb_Departamento_TendenciasyDesempeño", (departamento + QString(15, u' ')).left(100));
    pulsar(v, "Button_LLenar_TendeciasyDesempeño");
    pulsar(v, "Button_Graficar");
    QVERIFY(mensajes->mensajes.isEmpty());

    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath("tendencia.pdf");
    pdf_por_teclado(v, ruta);
    QVERIFY(QFile::exists(ruta));
    int paginas = 0;
    const QList<PalabraPdf> palabras = palabras_pdf(ruta, &paginas);
    const QImage pagina = pagina_pdf(ruta, 0, 100, QStringLiteral("pdf_tendencia_una_pagina_") + QTest::currentDataTag());
    QCOMPARE(paginas, 1);
    const QStringList textos = textos_pdf(palabras);
    QVERIFY(textos.contains("Leyenda"));
    QVERIFY(textos.contains("GRAFICA"));
    QCOMPARE(textos.contains("Nivel"), principal);
    // "Año: 2009" drawn inside the page's text area (15 mm margins).
    const QSizeF tamano = tamano_pagina_pdf(ruta);
    bool anio = false;
    for (int i = 0; i + 1 < palabras.size(); ++i) {
        if (palabras[i].texto != "Año:" || palabras[i + 1].texto != "2009")
            continue;
        anio = true;
        QVERIFY2(palabras[i + 1].caja.right() <= tamano.width() - 42, qPrintable(QString::number(palabras[i + 1].caja.right())));
        QVERIFY(tinta(pagina, palabras[i + 1].caja, 100) > 0.03);
    }
    QVERIFY(anio);
}

void TstTendenciaDemo::ver_que_falla_data()
{
    pdf_en_una_pagina_data();
}

// "Ver" whose second command (the previous year's) is refused by the
// database, as a lost or stalled server would end it: the message, and the
// tables empty, not this year's values beside the last press's pictures.
void TstTendenciaDemo::ver_que_falla()
{
    QFETCH(QString, tipo);
    QFETCH(QString, indicador);
    QFETCH(QString, departamento);
    QWidget* menu = RegistroVentanas::instancia().mostrar("Principalgeneral");
    pulsar(menu, "cmd_tende");
    QWidget* v = RegistroVentanas::instancia().ventana("Tendencia_y_Desempeño");
    QVERIFY(v);
    elegir(v, "Cmb_Tipo_Indicador_TendenciasyDesempeño", tipo);
    elegir(v, "Cmb_Año_TendenciasyDesempeño", "2009 ");
    elegir(v, "Cmb_KPI_TendenciasyDesempeño", (indicador + QString(15, u' ')).left(100));
    if (!departamento.isEmpty())
        elegir(v, "Cmb_Departamento_TendenciasyDesempeño", (departamento + QString(15, u' ')).left(100));
    pulsar(v, "Button_LLenar_TendeciasyDesempeño");
    QVERIFY(mensajes->mensajes.isEmpty());
    const ModeloGrilla& mshtd = *control<Grilla>(v, "mshtd")->modelo();
    QVERIFY(!mshtd.TextMatrix(2, 1).trimmed().isEmpty());

    // The year before 2009 is refused by the database.
    if (en_postgres()) {
        // The procedures wrapped: 2008 ends in a data exception.
        Conexion().ejecutar(R"(ALTER FUNCTION "Ten_Des"(text, text, text) RENAME TO ten_des_real)");
        Conexion().ejecutar(R"(ALTER FUNCTION "Ten_Des2"(text, text, text, text) RENAME TO ten_des2_real)");
        Conexion().ejecutar(R"(CREATE FUNCTION "Ten_Des"(t text, a text, k text)
RETURNS TABLE ("Meta C/P" double precision, "Valor" double precision,
               "Nivel Base" double precision, "Id_Desempeño" integer)
LANGUAGE plpgsql AS $$
BEGIN
    IF btrim(a) = '2008' THEN RAISE EXCEPTION 'rechazado' USING ERRCODE = '22023'; END IF;
    RETURN QUERY SELECT * FROM ten_des_real(t, a, k);
END $$)");
        Conexion().ejecutar(R"(CREATE FUNCTION "Ten_Des2"(t text, a text, k text, d text)
RETURNS TABLE ("Meta" double precision, "Valor" double precision,
               "Linea_Base" double precision, "Id_Desempeño" integer)
LANGUAGE plpgsql AS $$
BEGIN
    IF btrim(a) = '2008' THEN RAISE EXCEPTION 'rechazado' USING ERRCODE = '22023'; END IF;
    RETURN QUERY SELECT * FROM ten_des2_real(t, a, k, d);
END $$)");
    } else {
        // A step stores a NULL where none may go.
        Conexion().ejecutar("CREATE TABLE sin_nulos (x TEXT NOT NULL)");
        for (const char* nombre : {"Ten_Des", "Ten_Des2"})
            Conexion().ejecutar(QStringLiteral("INSERT INTO procedimientos (nombre, paso, sentencia, parametros) "
                                               "VALUES ('%1', 0, 'INSERT INTO sin_nulos SELECT NULL WHERE "
                                               "rtrim(?) = ''2008''', '2')")
                                    .arg(QLatin1String(nombre)));
    }
    pulsar(v, "Button_LLenar_TendeciasyDesempeño");
    QCOMPARE(mensajes->mensajes.size(), 1);
    const ModeloGrilla& bases = *control<Grilla>(v, "Flex3")->modelo();
    for (int k = 1; k <= 12; ++k) {
        for (int fila = 1; fila <= 5; ++fila) {
            QVERIFY2(mshtd.TextMatrix(fila, k).trimmed().isEmpty(), qPrintable(mshtd.TextMatrix(fila, k)));
            const QString imagen = mshtd.CellPicture(fila, k);
            QVERIFY2(imagen.isEmpty() || imagen == "Blanco", qPrintable(imagen));
        }
        QVERIFY(bases.TextMatrix(1, k).trimmed().isEmpty());
    }
}

QTEST_MAIN(TstTendenciaDemo)
#include "tst_tendencia_demo.moc"
