// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/conexion.h"
#include "reports/departamentales.h"
#include "reports/principales.h"
#include "soporte/pantallas.h"
#include "soporte/pdf_leido.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

using namespace velmora;

namespace {

const QString kPrincipales = QStringLiteral("Principales");
const QString kDepartamentales = QStringLiteral("Departamentales");

// One report window, reached by its controls' names.
struct Pantalla {
    std::unique_ptr<QWidget> ventana;
    QComboBox* lista = nullptr;
    QComboBox* anio = nullptr;
    QComboBox* mes = nullptr;
    QPushButton* ver = nullptr;
    Grilla* estado = nullptr;
    ModeloGrilla* trabajo = nullptr;
    QString procedimiento;
    QString tipo;

    bool completa() const { return lista && anio && mes && ver && estado && trabajo; }

    void pedir(const QString& l, const QString& a, const QString& m) const
    {
        lista->setCurrentText(l);
        anio->setCurrentText(a);
        mes->setCurrentText(m);
        ver->click();
    }
    // The command as the database must receive it.
    QString comando(const QString& l, const QString& a, const QString& periodo) const
    {
        return QStringLiteral("Exec ") + procedimiento + QStringLiteral(" '") + l + QStringLiteral("','") + a +
               QStringLiteral("','") + periodo + QStringLiteral("','") + tipo + QStringLiteral("'");
    }
};

Pantalla abrir_pantalla(const QString& nombre)
{
    Pantalla p;
    const bool principal = nombre == kPrincipales;
    if (principal)
        p.ventana = std::make_unique<Principales>();
    else
        p.ventana = std::make_unique<Departamentales>();
    QWidget* v = p.ventana.get();
    p.lista = v->findChild<QComboBox*>(principal ? "Cmb_Perspectiva_Reporte" : "Cmb_Departamentos_Reporte");
    p.anio = v->findChild<QComboBox*>("Cmb_Año_Reporte");
    p.mes = v->findChild<QComboBox*>(principal ? "Cmb_mes_Reporte" : "Cmb_Trimestre_ReporteSocial");
    p.ver = v->findChild<QPushButton*>("Button_Cargar_ReporteSocial");
    p.estado = v->findChild<Grilla*>(principal ? "Flex3" : "Flex31");
    p.trabajo = v->findChild<ModeloGrilla*>(principal ? "Flex4" : "Flex41");
    p.procedimiento = principal ? QStringLiteral("Reporte_Principal") : QStringLiteral("Reporte_Departamentos");
    p.tipo = principal ? QStringLiteral("1") : QStringLiteral("2");
    return p;
}


// A row of the test's own report data: numbers as SQL literals. The target
// column has no type, so a quoted target comes back as the very text stored.
struct Dato {
    QString anio;
    QString periodo;
    QString indicador;
    QString meta, valor, base;
};

void sql(const QString& texto)
{
    Conexion().ejecutar(texto);
}

// Both report procedures read the given rows (by year and period only), in
// the order given.
void fijar_datos(const QList<Dato>& datos)
{
    sql(QStringLiteral("CREATE TABLE reporte_prueba (orden INTEGER, anio TEXT, periodo TEXT, \"Indicador\" TEXT, "
                       "\"Meta C/P\", \"Valor\" REAL, \"Nivel Base\" REAL, \"Id_Desempeño\" INTEGER)"));
    for (int i = 0; i < datos.size(); ++i) {
        const Dato& d = datos[i];
        sql(QStringLiteral("INSERT INTO reporte_prueba VALUES (%1, '%2', '%3', '%4', %5, %6, %7, 1)")
                .arg(i)
                .arg(d.anio, d.periodo, d.indicador, d.meta, d.valor, d.base));
    }
    sql(QStringLiteral("DELETE FROM procedimientos WHERE nombre IN ('Reporte_Principal', 'Reporte_Departamentos')"));
    const QString cuerpo = QStringLiteral(
        "SELECT \"Indicador\", \"Meta C/P\", \"Valor\", \"Nivel Base\", \"Id_Desempeño\" FROM reporte_prueba "
        "WHERE anio = rtrim(?) AND periodo = ? ORDER BY orden");
    for (const char* nombre : {"Reporte_Principal", "Reporte_Departamentos"}) {
        sql(QStringLiteral("INSERT INTO procedimientos (nombre, paso, sentencia, parametros) "
                           "VALUES ('%1', 1, '%2', '2,3')")
                .arg(QLatin1String(nombre), QString(cuerpo).replace(u'\'', QStringLiteral("''"))));
    }
}

QList<Dato> indicadores(int n, const QString& anio, const QString& periodo)
{
    QList<Dato> datos;
    for (int i = 1; i <= n; ++i)
        datos.append({anio, periodo, QStringLiteral("Indicador %1").arg(i), QStringLiteral("100"),
                      QString::number(i), QStringLiteral("0")});
    return datos;
}

} // namespace

// The two status reports, driven through their controls on a copy of the
// demo database.
class TstReportes final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void forma_data();
    void forma();
    void informe_completo_data();
    void informe_completo();
    void mes_previo_pedido_data();
    void mes_previo_pedido();
    void comparaciones_data();
    void comparaciones();
    void enero_data();
    void enero();
    void lista_vacia_data();
    void lista_vacia();
    void sin_filas();
    void mas_de_41_data();
    void mas_de_41();
    void anio_en_texto();
    void meta_larga_data();
    void meta_larga();
    void nombres_largos_impresos_data();
    void nombres_largos_impresos();
    void ver_que_falla_data();
    void ver_que_falla();
    void reporte_largo_en_varias_paginas_data();
    void reporte_largo_en_varias_paginas();

private:
    void ambas_pantallas();
    std::unique_ptr<BasePrueba> base_;
    QStringList comandos_;
};

void TstReportes::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
}

void TstReportes::init()
{
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    comandos_.clear();
}

void TstReportes::cleanup()
{
    Conexion().observar({});
    Conexion().cerrar();
    base_.reset();
}

void TstReportes::ambas_pantallas()
{
    QTest::addColumn<QString>("pantalla");
}

void TstReportes::forma_data()
{
    ambas_pantallas();
    QTest::newRow("principales") << kPrincipales;
    QTest::newRow("departamentales") << kDepartamentales;
}

void TstReportes::forma()
{
    QFETCH(QString, pantalla);
    const bool principal = pantalla == kPrincipales;
    const Pantalla p = abrir_pantalla(pantalla);
    QVERIFY(p.completa());
    QWidget* v = p.ventana.get();
    QCOMPARE(v->objectName(), pantalla);
    QCOMPARE(v->windowTitle(), pantalla);
    // Starts at its twips size, and can be resized.
    QVERIFY(v->minimumSize() != v->maximumSize());
    QCOMPARE(v->size(), QSize(twips_a_px(10095, v), twips_a_px(5775, v)));
    QCOMPARE(p.ver->text(), QStringLiteral("Ver"));
    QVERIFY(!p.ver->icon().isNull());

    QStringList etiquetas;
    for (const QLabel* l : v->findChildren<QLabel*>())
        etiquetas << l->text();
    etiquetas.sort();
    QStringList esperadas = {principal ? QStringLiteral("Perspectiva :") : QStringLiteral("Departamento :"),
                             QStringLiteral("Año :"), QStringLiteral("Mes :")};
    esperadas.sort();
    QCOMPARE(etiquetas, esperadas);

    // Lists: the lookup's rows in order, cut as the commands carry them.
    auto items = [](const QComboBox* c) {
        QStringList t;
        for (int i = 0; i < c->count(); ++i)
            t << c->itemText(i);
        return t;
    };
    auto consulta = [](const QString& texto, const QString& campo, int n) {
        QStringList t;
        for (Resultado r = Conexion().ejecutar(texto); !r.eof(); r.siguiente())
            t << (r.texto(campo) + QString(15, u' ')).left(n);
        return t;
    };
    const QStringList listas = items(p.lista);
    QCOMPARE(listas, principal ? consulta("select * from Perspectivas ", "perspectiva", 50)
                               : consulta("select * from Departamentos ", "Departamento", 50));
    QCOMPARE(items(p.anio), consulta("select * from Año ", "año", 5));
    QVERIFY(items(p.anio).contains(QStringLiteral("2007 ")));
    QCOMPARE(items(p.mes), (QStringList{"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto",
                                        "Septiembre", "Octubre", "Noviembre", "Diciembre"}));
    for (const QComboBox* c : {p.lista, p.anio, p.mes}) {
        QVERIFY(c->isEditable());
        QCOMPARE(c->currentText(), QString());
    }

    // Grids.
    const ModeloGrilla& e = *p.estado->modelo();
    QCOMPARE(e.Rows(), 42);
    QCOMPARE(e.Cols(), 5);
    QCOMPARE(e.FixedRows(), 1);
    QCOMPARE(e.FixedCols(), 0);
    const QList<int> anchos = principal ? QList<int>{3000, 1250, 1250, 1250, 1250}
                                        : QList<int>{3000, 960, 960, 960, 960};
    for (int c = 0; c < 5; ++c)
        QCOMPARE(e.ColWidth(c), anchos[c]);
    QCOMPARE(e.RowHeightMin(), 435 + px_a_twips(2, p.estado));
    QVERIFY(p.estado->alto_fila() >= twips_a_px(435, p.estado) + 2);
    QCOMPARE(QStringList({e.TextMatrix(0, 0), e.TextMatrix(0, 1), e.TextMatrix(0, 2), e.TextMatrix(0, 3),
                          e.TextMatrix(0, 4)}),
             (QStringList{"Indicador", "Meta", "Valor", "Desempeño", "Tendencia"}));
    const ModeloGrilla& t = *p.trabajo;
    QCOMPARE(t.Rows(), 42);
    QCOMPARE(t.Cols(), 5);
    QCOMPARE(t.FixedRows(), 0);
    QCOMPARE(t.FixedCols(), 0);
    QCOMPARE(QStringList({t.TextMatrix(0, 0), t.TextMatrix(0, 1), t.TextMatrix(0, 2), t.TextMatrix(0, 3),
                          t.TextMatrix(0, 4)}),
             (QStringList{"Linea Base", "Desempeño", "Mes", "Valor Mes",
                          principal ? "Valor Mes anterior" : "Valor año anterior"}));
}

void TstReportes::informe_completo_data()
{
    ambas_pantallas();
    QTest::addColumn<int>("lista");
    QTest::addColumn<QString>("anio");
    QTest::addColumn<QString>("mes");
    QTest::addColumn<QString>("previo");
    QTest::addColumn<QString>("captura");
    // Each row's status and trend pictures, as the demo data give them.
    QTest::addColumn<QStringList>("estados");
    QTest::addColumn<QStringList>("tendencias");
    // Each row's indicator, target and value cells, "|" between them.
    QTest::addColumn<QStringList>("textos");
    QTest::newRow("principal marzo") << kPrincipales << 0 << "2009 " << "Marzo" << "Febrero" << "principales"
                                     << QStringList{"Amarillo", "Amarillo", "Amarillo", "Verde", "Amarillo"}
                                     << QStringList{"T_Amarillo", "T_Blanco", "T_Blanco", "T_Amarillo", "T_Verde"}
                                     << QStringList{"Margen operativo       |15       |12,8       ",
                                                    "Ingresos por ventas       |1000000       |945021       ",
                                                    "Costo por unidad producida       |36       |39,69       ",
                                                    "Rotación de cartera       |45       |45       ",
                                                    "Rentabilidad sobre activos       |7       |5,8       "};
    QTest::newRow("principal enero") << kPrincipales << 1 << "2009 " << "Enero" << "" << ""
                                     << QStringList{"Amarillo", "Verde", "Verde", "Azul", "Azul", "Verde"}
                                     << QStringList{"T_Amarillo", "T_Azul", "T_Blanco", "T_Blanco", "T_Verde", "T_Azul"}
                                     << QStringList{"Satisfacción del cliente       |90       |84,3       ",
                                                    "Reclamos recibidos       |15       |18       ",
                                                    "Tiempo de respuesta a reclamos       |24       |29,6       ",
                                                    "Clientes nuevos       |45       |56       ",
                                                    "Retención de clientes       |92       |95,7       ",
                                                    "Tiempo de espera en caja       |5       |5,1       "};
    QTest::newRow("principal enero 2008") << kPrincipales << 2 << "2008 " << "Enero" << "" << ""
                                          << QStringList{"Azul", "Verde", "Verde", "Blanco", "Rojo"}
                                          << QStringList{"Blanco", "Blanco", "Blanco", "Blanco", "Blanco"}
                                          << QStringList{"Entregas a tiempo       |97       |98,5       ",
                                                         "Tiempo de ciclo de producción       |28       |28,4       ",
                                                         "Productos defectuosos       |1,5       |1,67       ",
                                                         "Disponibilidad de equipos       |98       |95,2       ",
                                                         "Tiempo medio de reparación       |45       |76       "};
    QTest::newRow("principal diciembre") << kPrincipales << 3 << "2025 " << "Diciembre" << "Noviembre" << ""
                                         << QStringList{"Azul", "Azul", "Amarillo", "Amarillo"}
                                         << QStringList{"T_Verde", "T_Amarillo", "T_Blanco", "T_Rojo"}
                                         << QStringList{"Horas de capacitación por empleado       |6       |6,4       ",
                                                        "Rotación de personal       |6       |5,2       ",
                                                        "Clima laboral       |85       |79,9       ",
                                                        "Proyectos de mejora implementados       |5       |3       "};
    QTest::newRow("departamental octubre") << kDepartamentales << 0 << "2009 " << "Octubre" << "septiembre"
                                           << "departamentales" << QStringList{"Rojo", "Amarillo", "Amarillo"}
                                           << QStringList{"T_Amarillo", "T_Verde", "T_Rojo"}
                                           << QStringList{"Cumplimiento de cuota de ventas       |100       |79,4       ",
                                                          "Visitas a clientes       |120       |98       ",
                                                          "Ausentismo       |2,5       |3,7       "};
    QTest::newRow("departamental enero") << kDepartamentales << 4 << "2025 " << "Enero" << "" << ""
                                         << QStringList{"Rojo", "Amarillo", "Verde"}
                                         << QStringList{"T_Amarillo", "T_Blanco", "T_Rojo"}
                                         << QStringList{"Costo de flete por pedido       |14       |18,08       ",
                                                        "Pedidos despachados el mismo día       |95       |87,4       ",
                                                        "Tiempo de carga por camión       |30       |34       "};
}

// A whole report on the demo data: each row's texts as the procedure gives
// them, and its pictures.
void TstReportes::informe_completo()
{
    QFETCH(QString, pantalla);
    QFETCH(int, lista);
    QFETCH(QString, anio);
    QFETCH(QString, mes);
    QFETCH(QString, previo);
    QFETCH(QString, captura);
    QFETCH(QStringList, estados);
    QFETCH(QStringList, tendencias);
    QFETCH(QStringList, textos);
    const Pantalla p = abrir_pantalla(pantalla);
    QVERIFY(p.completa());
    QVERIFY(lista < p.lista->count());
    p.lista->setCurrentIndex(lista);
    const QString l = p.lista->currentText();
    const int y = anio.trimmed().toInt();
    const bool enero = mes == QStringLiteral("Enero");

    const QString anterior = p.comando(l, QString::number(y - 1), "Cuarto Trimestre");
    QCOMPARE(estados.size(), textos.size());

    Conexion().observar([this](const QString& c) { comandos_ << c; });
    p.pedir(l, anio, mes);
    QCOMPARE(comandos_, (QStringList{p.comando(l, anio, mes), p.comando(l, anio, enero ? "Diciembre" : previo),
                                     anterior}));

    const ModeloGrilla& e = *p.estado->modelo();
    QStringList textos_vistos, estados_vistos, tendencias_vistas;
    for (int r = 1; r <= textos.size(); ++r) {
        textos_vistos << fila(e, r).mid(0, 3).join(u'|');
        estados_vistos << e.CellPicture(r, 3);
        tendencias_vistas << e.CellPicture(r, 4);
    }
    QCOMPARE(textos_vistos, textos);
    QCOMPARE(estados_vistos, estados);
    QCOMPARE(tendencias_vistas, tendencias);
    QCOMPARE(e.TextMatrix(textos.size() + 1, 0), QString());

    if (!captura.isEmpty()) {
        p.ventana->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.ventana.get()));
        guardar_captura(p.ventana.get(), captura);
    }
}

void TstReportes::mes_previo_pedido_data()
{
    ambas_pantallas();
    QTest::addColumn<QString>("mes");
    QTest::addColumn<QString>("previo");
    QTest::newRow("principal marzo") << kPrincipales << "Marzo" << "Febrero";
    QTest::newRow("principal octubre") << kPrincipales << "Octubre" << "Septiembre";
    QTest::newRow("departamental octubre") << kDepartamentales << "Octubre" << "septiembre";
    QTest::newRow("departamental noviembre") << kDepartamentales << "Noviembre" << "Octubre";
}

// The month before is sent as the work grid holds it, and the trend compares
// with that month's values row by row.
void TstReportes::mes_previo_pedido()
{
    QFETCH(QString, pantalla);
    QFETCH(QString, mes);
    QFETCH(QString, previo);
    QList<Dato> datos = indicadores(3, "2009", mes);
    datos += {{"2009", previo, "Indicador 1", "100", "1", "0"},
              {"2009", previo, "Indicador 2", "100", "1.5", "0"},
              {"2009", previo, "Indicador 3", "100", "4", "0"}};
    fijar_datos(datos);
    const Pantalla p = abrir_pantalla(pantalla);
    QVERIFY(p.completa());
    Conexion().observar([this](const QString& c) { comandos_ << c; });
    p.pedir("Ventas", "2009 ", mes);

    QCOMPARE(comandos_, (QStringList{p.comando("Ventas", "2009 ", mes), p.comando("Ventas", "2009 ", previo),
                                     p.comando("Ventas", "2008", "Cuarto Trimestre")}));
    for (int r = 1; r <= 3; ++r)
        QCOMPARE(p.trabajo->TextMatrix(r, 2), previo);
    QCOMPARE(p.trabajo->TextMatrix(4, 2), QString());
    // 1 against 1, 2 against 1,5, 3 against 4.
    QCOMPARE(p.trabajo->TextMatrix(2, 3), QStringLiteral("1,5       "));
    const QStringList tendencias = {p.estado->modelo()->CellPicture(1, 4), p.estado->modelo()->CellPicture(2, 4),
                                    p.estado->modelo()->CellPicture(3, 4)};
    QCOMPARE(tendencias, (QStringList{"T_Blanco", "T_Azul", "T_Rojo"}));
}

void TstReportes::comparaciones_data()
{
    ambas_pantallas();
    QTest::newRow("principales") << kPrincipales;
    QTest::newRow("departamentales") << kDepartamentales;
}

// An empty previous value, a zero, a row the previous month lacks and a
// target equal to its baseline: each row gets its own icons, the others
// are unaffected.
void TstReportes::comparaciones()
{
    QFETCH(QString, pantalla);
    fijar_datos({{"2009", "Marzo", "Sin anterior", "100", "80", "0"},
                 {"2009", "Marzo", "Anterior cero", "100", "50", "0"},
                 {"2009", "Marzo", "Sube", "100", "120", "0"},
                 {"2009", "Marzo", "Meta en la base", "50", "30", "50"},
                 {"2009", "Marzo", "Sin valor", "100", "NULL", "0"},
                 {"2009", "Febrero", "Sin anterior", "100", "NULL", "0"},
                 {"2009", "Febrero", "Anterior cero", "100", "0", "0"},
                 {"2009", "Febrero", "Sube", "100", "100", "0"},
                 {"2009", "Febrero", "Meta en la base", "50", "30", "50"}});
    const Pantalla p = abrir_pantalla(pantalla);
    QVERIFY(p.completa());
    p.pedir("Ventas", "2009 ", "Marzo");

    const ModeloGrilla& e = *p.estado->modelo();
    QStringList estados, tendencias;
    for (int r = 1; r <= 5; ++r) {
        estados << e.CellPicture(r, 3);
        tendencias << e.CellPicture(r, 4);
        QCOMPARE(e.TextMatrix(r, 3), QString());
        QCOMPARE(e.TextMatrix(r, 4), QString());
    }
    QCOMPARE(estados, (QStringList{"Verde", "Amarillo", "Azul", "Blanco", "Blanco"}));
    QCOMPARE(tendencias, (QStringList{"raya", "Blanco", "T_Verde", "T_Blanco", "raya"}));
    // A missing value reads as blanks; a row the previous month lacks stays empty.
    QCOMPARE(e.TextMatrix(5, 2), QStringLiteral("       "));
    QCOMPARE(p.trabajo->TextMatrix(1, 3), QStringLiteral("       "));
    QCOMPARE(p.trabajo->TextMatrix(5, 3), QString());
    QCOMPARE(e.CellPicture(6, 3), QStringLiteral("Blanco"));
    QCOMPARE(e.TextMatrix(6, 0), QString());
}

void TstReportes::enero_data()
{
    ambas_pantallas();
    QTest::addColumn<QString>("anio");
    QTest::addColumn<QString>("anio_anterior");
    QTest::addColumn<QStringList>("tendencias");
    QTest::newRow("principal 2008") << kPrincipales << "2008 " << "2007" << QStringList{"Blanco", "Blanco", "Blanco"};
    QTest::newRow("departamental 2008") << kDepartamentales << "2008 " << "2007"
                                        << QStringList{"Blanco", "Blanco", "Blanco"};
    QTest::newRow("principal 2009") << kPrincipales << "2009 " << "2008"
                                    << QStringList{"T_Rojo", "T_Blanco", "raya"};
    QTest::newRow("departamental 2009") << kDepartamentales << "2009 " << "2008"
                                        << QStringList{"T_Rojo", "T_Blanco", "raya"};
}

// January compares with the previous year's fourth quarter, not with
// December of the same year; January of 2008 shows no trend.
void TstReportes::enero()
{
    QFETCH(QString, pantalla);
    QFETCH(QString, anio);
    QFETCH(QString, anio_anterior);
    QFETCH(QStringList, tendencias);
    const QString y = anio.trimmed();
    QList<Dato> datos = indicadores(3, y, "Enero");
    // December of the same year would give other icons.
    datos += indicadores(3, y, "Diciembre");
    datos += {{anio_anterior, "Cuarto Trimestre", "Indicador 1", "100", "10", "0"},
              {anio_anterior, "Cuarto Trimestre", "Indicador 2", "100", "2", "0"},
              {anio_anterior, "Cuarto Trimestre", "Indicador 3", "100", "NULL", "0"}};
    fijar_datos(datos);
    const Pantalla p = abrir_pantalla(pantalla);
    QVERIFY(p.completa());
    Conexion().observar([this](const QString& c) { comandos_ << c; });
    p.pedir("Ventas", anio, "Enero");

    QCOMPARE(comandos_, (QStringList{p.comando("Ventas", anio, "Enero"), p.comando("Ventas", anio, "Diciembre"),
                                     p.comando("Ventas", anio_anterior, "Cuarto Trimestre")}));
    QStringList vistas;
    for (int r = 1; r <= 3; ++r)
        vistas << p.estado->modelo()->CellPicture(r, 4);
    QCOMPARE(vistas, tendencias);
    QCOMPARE(p.trabajo->TextMatrix(1, 4), QStringLiteral("10       "));
}

void TstReportes::lista_vacia_data()
{
    ambas_pantallas();
    QTest::addColumn<int>("vacia");
    for (const QString& pantalla : {kPrincipales, kDepartamentales}) {
        QTest::addRow("%s sin lista", qPrintable(pantalla)) << pantalla << 0;
        QTest::addRow("%s sin año", qPrintable(pantalla)) << pantalla << 1;
        QTest::addRow("%s sin mes", qPrintable(pantalla)) << pantalla << 2;
    }
}

// The message stops the press before anything runs: the last report stays.
void TstReportes::lista_vacia()
{
    QFETCH(QString, pantalla);
    QFETCH(int, vacia);
    fijar_datos(indicadores(4, "2009", "Marzo"));
    const Pantalla p = abrir_pantalla(pantalla);
    QVERIFY(p.completa());
    p.pedir("Ventas", "2009 ", "Marzo");
    QCOMPARE(p.estado->TextMatrix(4, 0), QStringLiteral("Indicador 4       "));
    const QStringList antes = contenido(*p.estado->modelo()) + contenido(*p.trabajo);

    RegistroMensajes mensajes;
    Conexion().observar([this](const QString& c) { comandos_ << c; });
    QStringList textos = {"Ventas", "2009 ", "Marzo"};
    textos[vacia].clear();
    p.pedir(textos[0], textos[1], textos[2]);

    QCOMPARE(mensajes.mensajes.size(), 1);
    QCOMPARE(mensajes.mensajes[0].texto, QStringLiteral("Tiene que llenar Todos los Parametros"));
    QCOMPARE(mensajes.mensajes[0].titulo, QStringLiteral("Mensajes"));
    QCOMPARE(mensajes.mensajes[0].icono, IconoMensaje::Informacion);
    QCOMPARE(comandos_, QStringList());
    QCOMPARE(contenido(*p.estado->modelo()) + contenido(*p.trabajo), antes);
}

// A list text with no rows clears everything, row 41 included; the month
// before is then asked with an empty name. A quote reaches the database
// doubled, as typed.
void TstReportes::sin_filas()
{
    QList<Dato> datos = indicadores(41, "2009", "Marzo");
    fijar_datos(datos);
    const Pantalla p = abrir_pantalla(kPrincipales);
    QVERIFY(p.completa());
    p.pedir("Ventas", "2009 ", "Marzo");
    QCOMPARE(p.estado->TextMatrix(41, 0), QStringLiteral("Indicador 41       "));

    Conexion().observar([this](const QString& c) { comandos_ << c; });
    p.pedir("O'Higgins", "2010 ", "Marzo");
    QCOMPARE(comandos_, (QStringList{p.comando("O''Higgins", "2010 ", "Marzo"), p.comando("O''Higgins", "2010 ", ""),
                                     p.comando("O''Higgins", "2009", "Cuarto Trimestre")}));
    QCOMPARE(p.estado->Rows(), 42);
    for (int r = 1; r <= 41; ++r) {
        for (int c = 0; c < 3; ++c)
            QCOMPARE(p.estado->TextMatrix(r, c), QString());
        QCOMPARE(p.estado->modelo()->CellPicture(r, 3), QStringLiteral("Blanco"));
        QCOMPARE(p.estado->modelo()->CellPicture(r, 4), QStringLiteral("Blanco"));
        for (int c = 0; c < 5; ++c)
            QCOMPARE(p.trabajo->TextMatrix(r, c), QString());
    }
}

void TstReportes::mas_de_41_data()
{
    ambas_pantallas();
    QTest::newRow("principales") << kPrincipales;
    QTest::newRow("departamentales") << kDepartamentales;
}

// Every indicator is shown: the grids grow, and the next shorter report
// brings them back to their own size.
void TstReportes::mas_de_41()
{
    QFETCH(QString, pantalla);
    QList<Dato> datos = indicadores(45, "2009", "Marzo");
    datos += indicadores(45, "2009", "Febrero");
    datos += indicadores(3, "2009", "Abril");
    fijar_datos(datos);
    const Pantalla p = abrir_pantalla(pantalla);
    QVERIFY(p.completa());
    p.pedir("Ventas", "2009 ", "Marzo");

    QCOMPARE(p.estado->Rows(), 46);
    QCOMPARE(p.trabajo->Rows(), 46);
    for (int r = 1; r <= 45; ++r) {
        QCOMPARE(p.estado->TextMatrix(r, 0).trimmed(), QStringLiteral("Indicador %1").arg(r));
        QCOMPARE(p.estado->modelo()->CellPicture(r, 3), r < 40 ? QStringLiteral("Rojo") : QStringLiteral("Amarillo"));
        QCOMPARE(p.estado->modelo()->CellPicture(r, 4), QStringLiteral("T_Blanco"));
        QCOMPARE(p.trabajo->TextMatrix(r, 3).trimmed(), QString::number(r));
    }

    p.pedir("Ventas", "2009 ", "Abril");
    QCOMPARE(p.estado->Rows(), 42);
    QCOMPARE(p.trabajo->Rows(), 42);
    QCOMPARE(p.estado->TextMatrix(3, 0).trimmed(), QStringLiteral("Indicador 3"));
    QCOMPARE(p.estado->TextMatrix(4, 0), QString());
    QCOMPARE(p.estado->TextMatrix(41, 0), QString());
    QCOMPARE(p.estado->modelo()->CellPicture(41, 4), QStringLiteral("Blanco"));
    QCOMPARE(p.trabajo->TextMatrix(41, 0), QString());
}

// A year typed as text has no year before: the call is not made, January
// has nothing to compare with, the rest of the report is whole.
void TstReportes::anio_en_texto()
{
    fijar_datos({{"dos mil", "Enero", "Uno", "100", "80", "0"},
                 {"dos mil", "Enero", "Dos", "100", "20", "0"},
                 {"dos mil", "Diciembre", "Uno", "100", "80", "0"},
                 {"dos mil", "Diciembre", "Dos", "100", "20", "0"}});
    const Pantalla p = abrir_pantalla(kDepartamentales);
    QVERIFY(p.completa());
    RegistroMensajes mensajes;
    Conexion().observar([this](const QString& c) { comandos_ << c; });
    p.pedir("Ventas", "dos mil", "Enero");

    QCOMPARE(comandos_, (QStringList{p.comando("Ventas", "dos mil", "Enero"),
                                     p.comando("Ventas", "dos mil", "Diciembre")}));
    QCOMPARE(mensajes.mensajes.size(), 0);
    const ModeloGrilla& e = *p.estado->modelo();
    QCOMPARE(QStringList({e.CellPicture(1, 3), e.CellPicture(2, 3)}), (QStringList{"Verde", "Rojo"}));
    QCOMPARE(QStringList({e.CellPicture(1, 4), e.CellPicture(2, 4)}), (QStringList{"raya", "raya"}));
    QCOMPARE(p.trabajo->TextMatrix(1, 3), QStringLiteral("80       "));
}

void TstReportes::meta_larga_data()
{
    ambas_pantallas();
    QTest::addColumn<QString>("meta");
    QTest::addColumn<QString>("icono");
    // A hair over 100: too long for the cell, it is shown rounded and marked,
    // never cut into the number 100; whole, 40 is a hair under 40 per cent.
    QTest::newRow("principales") << kPrincipales << "100,0000000000\u2026" << "Rojo";
    QTest::newRow("departamentales") << kDepartamentales << "100,000000000001       " << "Rojo";
}

void TstReportes::meta_larga()
{
    QFETCH(QString, pantalla);
    QFETCH(QString, meta);
    QFETCH(QString, icono);
    fijar_datos({{"2009", "Marzo", "Largo", "'100,000000000001'", "40", "0"}});
    const Pantalla p = abrir_pantalla(pantalla);
    QVERIFY(p.completa());
    p.pedir("Ventas", "2009 ", "Marzo");
    QCOMPARE(p.estado->TextMatrix(1, 1), meta);
    QCOMPARE(p.estado->modelo()->CellPicture(1, 3), icono);
}

void TstReportes::nombres_largos_impresos_data()
{
    ambas_pantallas();
    QTest::newRow("principales") << kPrincipales;
    QTest::newRow("departamentales") << kDepartamentales;
}

// Indicators with 70-character names print every row with its name: the
// value of each row has the row's name at its left, on the same row of the
// same page, whatever bands the page needs.
void TstReportes::nombres_largos_impresos()
{
    QFETCH(QString, pantalla);
    const QString faltan = faltan_herramientas_pdf();
    QVERIFY2(faltan.isEmpty(), qPrintable(QStringLiteral("faltan ") + faltan + QStringLiteral(" (poppler-utils)")));
    constexpr int kFilas = 6;
    QList<Dato> datos;
    for (int i = 1; i <= kFilas; ++i) {
        const QString nombre = (QStringLiteral("Fila%1 porcentaje de cumplimiento del plan anual de mantenimiento "
                                               "preventivo de equipos")
                                    .arg(i))
                                   .left(70);
        QCOMPARE(nombre.size(), 70);
        datos.append({"2009", "Marzo", nombre, "'123456789012345'", QString::number(7000 + i), "0"});
    }
    fijar_datos(datos);
    RegistroMensajes mensajes;
    const Pantalla p = abrir_pantalla(pantalla);
    QVERIFY(p.completa());
    p.ventana->show();
    QVERIFY(QTest::qWaitForWindowActive(p.ventana.get()));
    p.pedir("Ventas", "2009 ", "Marzo");
    QVERIFY2(mensajes.mensajes.isEmpty(), qPrintable(mensajes.textos().join(u'|')));

    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("nombres.pdf"));
    pdf_por_teclado(p.ventana.get(), ruta);
    QVERIFY(QFile::exists(ruta));
    int paginas = 0;
    const QList<PalabraPdf> palabras = palabras_pdf(ruta, &paginas);
    for (int pagina = 0; pagina < paginas; ++pagina)
        pagina_pdf(ruta, pagina, 72, QStringLiteral("pdf_%1_nombres_largos_p%2").arg(pantalla.toLower()).arg(pagina + 1));
    for (int i = 1; i <= kFilas; ++i) {
        const QString valor = QString::number(7000 + i);
        int vistos = 0;
        for (const PalabraPdf& v : palabras) {
            if (v.texto != valor)
                continue;
            ++vistos;
            bool con_nombre = false;
            for (const PalabraPdf& n : palabras)
                con_nombre |= n.pagina == v.pagina && n.texto == QStringLiteral("Fila%1").arg(i)
                              && n.caja.right() < v.caja.left() && qAbs(n.caja.center().y() - v.caja.center().y()) < 15;
            QVERIFY2(con_nombre, qPrintable(QStringLiteral("el valor %1 (página %2) sin el nombre de su fila")
                                                .arg(valor).arg(v.pagina + 1)));
        }
        QVERIFY2(vistos >= 1, qPrintable(valor));
    }
}

void TstReportes::ver_que_falla_data()
{
    ambas_pantallas();
    QTest::newRow("principales") << kPrincipales;
    QTest::newRow("departamentales") << kDepartamentales;
}

// "Ver" whose last command fails (here the previous year's, refused by the
// database; a lost or stalled server ends it the same way): the message,
// and the report shown before stays whole, never half of the new one.
void TstReportes::ver_que_falla()
{
    QFETCH(QString, pantalla);
    fijar_datos({{"2010", "Marzo", "Anterior", "100", "90", "0"}, {"2009", "Marzo", "Nuevo", "100", "50", "0"}});
    // The previous year of 2009 is refused: a step stores a NULL where none may go.
    sql(QStringLiteral("CREATE TABLE sin_nulos (x TEXT NOT NULL)"));
    for (const char* nombre : {"Reporte_Principal", "Reporte_Departamentos"})
        sql(QStringLiteral("INSERT INTO procedimientos (nombre, paso, sentencia, parametros) VALUES ('%1', 0, "
                           "'INSERT INTO sin_nulos SELECT NULL WHERE rtrim(?) = ''2008''', '2')")
                .arg(QLatin1String(nombre)));
    RegistroMensajes mensajes;
    const Pantalla p = abrir_pantalla(pantalla);
    QVERIFY(p.completa());
    p.pedir("Ventas", "2010", "Marzo");
    QVERIFY2(mensajes.mensajes.isEmpty(), qPrintable(mensajes.textos().join(u'|')));
    QCOMPARE(p.estado->TextMatrix(1, 0).trimmed(), QStringLiteral("Anterior"));
    const QStringList antes = contenido(*p.estado->modelo());
    const QStringList trabajo = contenido(*p.trabajo);

    p.pedir("Ventas", "2009", "Marzo");
    QCOMPARE(mensajes.mensajes.size(), 1);
    QCOMPARE(contenido(*p.estado->modelo()), antes);
    QCOMPARE(contenido(*p.trabajo), trabajo);
}

void TstReportes::reporte_largo_en_varias_paginas_data()
{
    ambas_pantallas();
    QTest::newRow("principales") << kPrincipales;
    QTest::newRow("departamentales") << kDepartamentales;
}

// A report with more rows than a page holds prints every row, over as many
// pages as it needs, each with the title, the column headings and its number.
void TstReportes::reporte_largo_en_varias_paginas()
{
    QFETCH(QString, pantalla);
    const QString faltan = faltan_herramientas_pdf();
    QVERIFY2(faltan.isEmpty(), qPrintable(QStringLiteral("faltan ") + faltan + QStringLiteral(" (poppler-utils)")));
    constexpr int kFilas = 120;
    fijar_datos(indicadores(kFilas, "2009", "Marzo"));
    RegistroMensajes mensajes;
    const Pantalla p = abrir_pantalla(pantalla);
    QVERIFY(p.completa());
    p.ventana->show();
    QVERIFY(QTest::qWaitForWindowActive(p.ventana.get()));
    p.pedir("Ventas", "2009 ", "Marzo");
    QCOMPARE(p.estado->Rows(), kFilas + 1);

    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("largo.pdf"));
    pdf_por_teclado(p.ventana.get(), ruta);
    QVERIFY(QFile::exists(ruta));
    QVERIFY2(mensajes.mensajes.isEmpty(), qPrintable(mensajes.textos().join(u'|')));
    int paginas = 0;
    const QList<PalabraPdf> palabras = palabras_pdf(ruta, &paginas);
    QVERIFY2(paginas >= 3, qPrintable(QString::number(paginas)));
    QList<int> vistos;
    for (int pagina = 0; pagina < paginas; ++pagina) {
        const QStringList textos = textos_pdf(palabras, pagina);
        const QString texto = textos.join(u' ');
        QVERIFY2(texto.startsWith(pantalla), qPrintable(texto.left(80)));
        // The column headings on one line above the page's rows.
        double y_encabezado = -1;
        for (const PalabraPdf& w : palabras)
            if (w.pagina == pagina && w.texto == QStringLiteral("Indicador")) {
                y_encabezado = w.caja.center().y();
                break;
            }
        for (const char* encabezado : {"Indicador", "Meta", "Valor", "Desempeño", "Tendencia"}) {
            bool en_linea = false;
            for (const PalabraPdf& w : palabras)
                en_linea |= w.pagina == pagina && w.texto == QString::fromUtf8(encabezado)
                            && qAbs(w.caja.center().y() - y_encabezado) < 2;
            QVERIFY2(en_linea, qPrintable(QStringLiteral("página %1 sin el encabezado %2").arg(pagina + 1)
                                              .arg(QString::fromUtf8(encabezado))));
        }
        QVERIFY2(texto.contains(QStringLiteral("Página %1 de %2").arg(pagina + 1).arg(paginas)), qPrintable(texto.right(80)));
        // "Indicador 7 100 7" is row 7: its name, target and value.
        for (int i = 0; i + 3 < textos.size(); ++i)
            if (textos[i] == QStringLiteral("Indicador") && textos[i + 2] == QStringLiteral("100")
                && textos[i + 1] == textos[i + 3])
                vistos << textos[i + 1].toInt();
        if (pagina == 0)
            pagina_pdf(ruta, pagina, 60, QStringLiteral("pdf_") + pantalla.toLower() + QStringLiteral("_largo_p1"));
        if (pagina == 1)
            pagina_pdf(ruta, pagina, 60, QStringLiteral("pdf_") + pantalla.toLower() + QStringLiteral("_largo_p2"));
    }
    QList<int> todos;
    for (int i = 1; i <= kFilas; ++i)
        todos << i;
    QCOMPARE(vistos, todos); // each row once, in order
}

QTEST_MAIN(TstReportes)
#include "tst_reportes.moc"
