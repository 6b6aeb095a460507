// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/comandos.h"
#include "data/conexion.h"
#include "data/textos.h"
#include "entry/kpi.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace velmora;

namespace {

const QString kFaltan = QStringLiteral("Tiene que llenar Todos los Parametros");
const QString kSinConsulta = QStringLiteral("Tienes que realizar primero la consulta");
// The demo database's first principal indicator.
const QString kPrincipal = QStringLiteral("Margen operativo");

QString anio_item()
{
    return texto_item("2026", 15);
}

// What the fetch command returns now, every field of every row: to see that
// a refused save changed nothing.
QStringList leer(const QString& comando)
{
    QStringList valores;
    for (Resultado r = Conexion().ejecutar(comando); !r.eof(); r.siguiente())
        for (const QString& campo : r.campos())
            valores << campo + u'=' + r.texto(campo);
    return valores;
}

} // namespace

class TstKpi final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void consultar_y_guardar_data();
    void consultar_y_guardar();
    void aceptar_sin_parametros_data();
    void aceptar_sin_parametros();
    void guardar_sin_registro_data();
    void guardar_sin_registro();
    void guardar_rechazado();
    void cambio_ajeno();
    void consulta_de_mas_filas();
    void otra_eleccion_olvida_el_registro_data();
    void otra_eleccion_olvida_el_registro();
    void cajas_vacias_no_borran_data();
    void cajas_vacias_no_borran();
    void numeros_dudosos_rechazados_data();
    void numeros_dudosos_rechazados();
    void texto_exacto_tecleado_no_es_eleccion_data();
    void texto_exacto_tecleado_no_es_eleccion();

private:
    template <class T>
    T* c(const char* nombre) { return control<T>(ventana_.get(), nombre); }
    void abrir_ventana();
    void pulsar(const char* boton) { ::pulsar(ventana_.get(), boton); }
    // Picks the first principal indicator, "Marzo" and 2026, and fetches.
    void consultar_principal();
    // The command that fetch runs.
    static QString consulta_principal();
    // Types the value, target and baseline boxes.
    void llenar_cajas(const QString& valor, const QString& meta, const QString& base);

    std::unique_ptr<BasePrueba> base_;
    std::unique_ptr<KPI> ventana_;
    ModeloGrilla* flex6_ = nullptr;
    ModeloGrilla* flex7_ = nullptr;
};

void TstKpi::init()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
}

void TstKpi::abrir_ventana()
{
    ventana_ = std::make_unique<KPI>();
    ventana_->show();
    flex6_ = c<Grilla>("Flex6")->modelo();
    flex7_ = c<ModeloGrilla>("Flex7");
}

void TstKpi::cleanup()
{
    ventana_.reset();
    Conexion().cerrar();
    base_.reset();
}

void TstKpi::consultar_principal()
{
    elegir(c<QComboBox>("Cmb_KPI_KPI"), texto_item(kPrincipal, 80));
    elegir(c<QComboBox>("Cmb_Trimestre_KPI"), "Marzo");
    elegir(c<QComboBox>("Cmb_Año_KPI"), anio_item());
    pulsar("button_Consultar_KPI");
    QVERIFY(!flex7_->TextMatrix(0, 0).trimmed().isEmpty());
}

QString TstKpi::consulta_principal()
{
    return comando_exec("Consulta_KPI", {texto_item(kPrincipal, 80), "Marzo", anio_item()});
}

void TstKpi::llenar_cajas(const QString& valor, const QString& meta, const QString& base)
{
    c<QLineEdit>("Caja_valor")->setText(valor);
    c<QLineEdit>("Caja_Meta")->setText(meta);
    c<QLineEdit>("Caja_Linea_Base")->setText(base);
}

void TstKpi::consultar_y_guardar_data()
{
    QTest::addColumn<bool>("departamental");
    QTest::addColumn<QString>("indicador");
    QTest::addColumn<QStringList>("departamentos"); // the list's items
    QTest::addColumn<QStringList>("mostrado");      // the record's row, Marzo 2026
    QTest::addColumn<QString>("id");
    QTest::newRow("principal") << false << kPrincipal << QStringList()
                               << QStringList{"Principal      ", "%              ", "8       ", "12,8       ",
                                              "15       ", "2026       "}
                               << "255       ";
    QTest::newRow("departamental") << true << "Cumplimiento de cuota de ventas"
                                   << QStringList{"Ventas               "}
                                   << QStringList{"Departamentales", "%              ", "70       ",
                                                  "84,2       ", "100       ", "2026       "}
                                   << "5535       ";
}

void TstKpi::consultar_y_guardar()
{
    QFETCH(bool, departamental);
    QFETCH(QString, indicador);
    QFETCH(QStringList, departamentos);
    QFETCH(QStringList, mostrado);
    QFETCH(QString, id);
    abrir_ventana();
    QWidget* v = ventana_.get();
    QCOMPARE(v->windowTitle(), QString("Modificar2"));
    QCOMPARE(v->size(), QSize(twips_a_px(11655, v), twips_a_px(6795, v)));
    QCOMPARE(QList<int>({flex6_->Rows(), flex6_->Cols(), flex6_->FixedRows(), flex6_->FixedCols()}),
             QList<int>({3, 6, 1, 0}));
    QCOMPARE(QList<int>({flex7_->Rows(), flex7_->Cols(), flex7_->FixedRows(), flex7_->FixedCols()}),
             QList<int>({3, 3, 0, 0}));
    QCOMPARE(fila(*flex6_, 0), (QStringList{"Tipo_Indicador", "Unidad", "Linea Base", "Valor", "Meta", "Año"}));
    QCOMPARE(QList<int>({flex6_->ColWidth(0), flex6_->ColWidth(1), flex6_->ColWidth(5)}),
             QList<int>({1500, ModeloGrilla::AnchoPorDefecto, 1500}));
    QVERIFY(!c<QLabel>("Label7")->isVisible());
    QVERIFY(!c<QComboBox>("Cmb_KPI_Departamento")->isVisible());

    // Picking the indicator empties month and year chosen before it.
    elegir(c<QComboBox>("Cmb_Trimestre_KPI"), "Marzo");
    elegir(c<QComboBox>("Cmb_Año_KPI"), anio_item());
    RegistroMensajes mensajes;
    Comandos comandos;
    const QString ind = texto_item(indicador, 80);
    elegir(c<QComboBox>("Cmb_KPI_KPI"), ind);
    QCOMPARE(c<QComboBox>("Cmb_Trimestre_KPI")->currentText(), QString());
    QCOMPARE(c<QComboBox>("Cmb_Año_KPI")->currentText(), QString());
    QStringList esperados = {comando_exec("Consulta_KPI", {ind, "", ""})};
    if (departamental)
        esperados << comando_exec("Consulta_KPI_2", {ind, "", ""});
    QCOMPARE(comandos.textos, esperados);
    QCOMPARE(flex7_->TextMatrix(0, 1), departamental ? TIPO_DEPARTAMENTAL : TIPO_PRINCIPAL);
    QCOMPARE(c<QLabel>("Label7")->isVisible(), departamental);
    auto* lista_departamentos = c<QComboBox>("Cmb_KPI_Departamento");
    QCOMPARE(lista_departamentos->isVisible(), departamental);
    QCOMPARE(items(lista_departamentos), departamentos);

    QString departamento;
    if (departamental) {

        // A departmental indicator needs its department.
        elegir(c<QComboBox>("Cmb_Trimestre_KPI"), "Marzo");
        elegir(c<QComboBox>("Cmb_Año_KPI"), anio_item());
        comandos.textos.clear();
        pulsar("button_Consultar_KPI");
        QCOMPARE(mensajes.textos(), QStringList({kFaltan}));
        QCOMPARE(comandos.textos, QStringList());
        mensajes.limpiar();
        departamento = departamentos.last();
        elegir(lista_departamentos, departamento);
    }
    elegir(c<QComboBox>("Cmb_Trimestre_KPI"), "Marzo");
    elegir(c<QComboBox>("Cmb_Año_KPI"), anio_item());

    const QString consulta = departamental
                                 ? comando_exec("Consulta_KPI_DEPARTAMENTOS", {ind, "Marzo", anio_item(), departamento})
                                 : comando_exec("Consulta_KPI", {ind, "Marzo", anio_item()});
    comandos.textos.clear();
    pulsar("button_Consultar_KPI");
    QCOMPARE(comandos.textos, QStringList({consulta}));
    QCOMPARE(mensajes.textos(), QStringList());
    QCOMPARE(fila(*flex6_, 1), mostrado);
    QCOMPARE(flex7_->TextMatrix(0, 0), id);
    guardar_captura(v, departamental ? "KPI_departamental" : "KPI");

    llenar_cajas("61,5", "90", "12.25");
    comandos.textos.clear();
    pulsar("Button_Guardar_KPI");
    QCOMPARE(comandos.textos, QStringList({comando_exec("Consulta_registro", {id}),
                                           comando_modificar("12.25", "61,5", "90", id)}));
    QCOMPARE(mensajes.textos(), QStringList({"Datos Guardados Exitosamente"}));
    QCOMPARE(mensajes.mensajes[0].titulo, QString("Mensajes"));

    QStringList despues = mostrado;
    despues[2] = "12,25       ";
    despues[3] = "61,5       ";
    despues[4] = "90       ";
    pulsar("button_Consultar_KPI");
    QCOMPARE(fila(*flex6_, 1), despues);
    QCOMPARE(flex7_->TextMatrix(0, 0), id);
}

void TstKpi::aceptar_sin_parametros_data()
{
    QTest::addColumn<QString>("lista");
    QTest::newRow("sin indicador") << "Cmb_KPI_KPI";
    QTest::newRow("sin mes") << "Cmb_Trimestre_KPI";
    QTest::newRow("sin año") << "Cmb_Año_KPI";
}

void TstKpi::aceptar_sin_parametros()
{
    QFETCH(QString, lista);
    abrir_ventana();
    consultar_principal();
    const QStringList mostrado = fila(*flex6_, 1);
    control<QComboBox>(ventana_.get(), lista)->setEditText(QString());

    RegistroMensajes mensajes;
    Comandos comandos;
    pulsar("button_Consultar_KPI");
    QCOMPARE(mensajes.textos(), QStringList({kFaltan}));
    QCOMPARE(mensajes.mensajes[0].titulo, QString("Mensajes"));
    QCOMPARE(comandos.textos, QStringList());
    QCOMPARE(fila(*flex6_, 1), mostrado);
}

void TstKpi::guardar_sin_registro_data()
{
    QTest::addColumn<QString>("caso");
    QTest::newRow("antes de consultar") << "antes";
    QTest::newRow("tras Nueva Consulta") << "nueva";
    QTest::newRow("consulta sin filas") << "vacía";
}

void TstKpi::guardar_sin_registro()
{
    QFETCH(QString, caso);
    abrir_ventana();
    if (caso != "antes")
        consultar_principal();
    if (caso == "nueva") {
        c<QLineEdit>("Caja_valor")->setText("1");
        pulsar("Button_Nuevo_KPI");
        for (const char* nombre : {"Caja_valor", "Caja_Meta", "Caja_Linea_Base"})
            QCOMPARE(c<QLineEdit>(nombre)->text(), QString());
        for (const char* nombre : {"Cmb_KPI_KPI", "Cmb_Año_KPI", "Cmb_Trimestre_KPI"})
            QCOMPARE(c<QComboBox>(nombre)->currentText(), QString());
        QCOMPARE(fila(*flex6_, 1), QStringList(6));
        QCOMPARE(flex7_->TextMatrix(0, 1), TIPO_PRINCIPAL);
        QVERIFY(!c<QLabel>("Label7")->isVisible());
    }
    if (caso == "vacía") {
        // An indicator the database does not know: the earlier record leaves the screen.
        RegistroMensajes aparte;
        c<QComboBox>("Cmb_KPI_KPI")->setEditText("No existe");
        pulsar("button_Consultar_KPI");
        QCOMPARE(fila(*flex6_, 1), QStringList(6));
    }
    QCOMPARE(flex7_->TextMatrix(0, 0), QString());

    c<QLineEdit>("Caja_valor")->setText("1");
    RegistroMensajes mensajes;
    Comandos comandos;
    pulsar("Button_Guardar_KPI");
    QCOMPARE(mensajes.textos(), QStringList({kSinConsulta}));
    QCOMPARE(mensajes.mensajes[0].titulo, QString("Mensajes"));
    QCOMPARE(comandos.textos, QStringList());
}

void TstKpi::guardar_rechazado()
{
    abrir_ventana();
    consultar_principal();
    const QString consulta = consulta_principal();
    const QStringList antes = leer(consulta);
    llenar_cajas("sesenta", "90", "50");

    RegistroMensajes mensajes;
    Comandos comandos;
    pulsar("Button_Guardar_KPI");
    QCOMPARE(comandos.textos.size(), 2); // the record read again, then the store
    QCOMPARE(mensajes.mensajes.size(), 1);
    QCOMPARE(mensajes.mensajes[0].titulo, QString("Mensajes"));
    QVERIFY(!mensajes.mensajes[0].texto.isEmpty());
    QVERIFY(mensajes.mensajes[0].texto != "Datos Guardados Exitosamente");
    QCOMPARE(leer(consulta), antes);
    QVERIFY(ventana_->isVisible());
}

// A second writer (a plain sqlite3 process) changes the fetched record
// before the save: nothing is stored, and the message says what it holds now.
void TstKpi::cambio_ajeno()
{
    abrir_ventana();
    consultar_principal();
    const QString consulta = consulta_principal();
    QProcess otro;
    otro.start(QStringLiteral("sqlite3"), {base_->archivo(), QStringLiteral("UPDATE registro SET valor = 75, meta = "
                                                                            "80, linea_base = 60 WHERE id = %1")
                                                                 .arg(flex7_->TextMatrix(0, 0).trimmed())});
    QVERIFY(otro.waitForFinished(30000));
    QCOMPARE(otro.exitCode(), 0);
    const QStringList ajeno = leer(consulta);
    const QString historia = QStringLiteral("SELECT count(*) AS n FROM historial");
    const QString filas = Conexion().ejecutar(historia).texto(QStringLiteral("n"));
    llenar_cajas("61", "90", "50");

    RegistroMensajes mensajes;
    pulsar("Button_Guardar_KPI");
    QCOMPARE(mensajes.mensajes.size(), 1);
    QCOMPARE(mensajes.mensajes[0].titulo, QString("Mensajes"));
    QCOMPARE(mensajes.mensajes[0].texto,
             QString("Otro usuario cambió estos valores después de que usted los consultó: Marzo (Valor: 75; "
                     "Meta: 80; Nivel Base: 60). No se guardó nada. Pulse Aceptar para ver los valores actuales."));
    QCOMPARE(leer(consulta), ajeno);
    QCOMPARE(Conexion().ejecutar(historia).texto(QStringLiteral("n")), filas);
}

void TstKpi::consulta_de_mas_filas()
{
    // This copy's Consulta_KPI returns as many rows as the year says.
    Conexion().ejecutar("DELETE FROM procedimientos WHERE nombre = 'Consulta_KPI'");
    Conexion().ejecutar(
        "INSERT INTO procedimientos VALUES ('Consulta_KPI', 1, "
        "'WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < CAST(? AS INTEGER)) "
        "SELECT ''Principal      '' AS \"Tipo Indicador\", ''%'' AS \"unidad\", k AS \"Nivel Base\", "
        "10 * k AS \"Valor\", 100 * k AS \"Meta C/P\", 2026 AS \"año\", 500 + k AS \"ID\" FROM n', '3')");
    abrir_ventana();
    c<QComboBox>("Cmb_KPI_KPI")->setEditText("Tecleado");
    c<QComboBox>("Cmb_Trimestre_KPI")->setEditText("Marzo");
    c<QComboBox>("Cmb_Año_KPI")->setEditText("3");
    Comandos comandos;
    pulsar("button_Consultar_KPI");
    QCOMPARE(comandos.textos.size(), 1);
    QCOMPARE(flex6_->Rows(), 4);
    for (int f = 1; f <= 3; ++f) {
        QCOMPARE(fila(*flex6_, f),
                 QStringList({"Principal      ", "%       ", QString::number(f) + "       ",
                              QString::number(10 * f) + "       ", QString::number(100 * f) + "       ",
                              "2026       "}));
    }
    QCOMPARE(flex7_->TextMatrix(0, 0), "503       ");

    // A later fetch of one row shows that row alone.
    c<QComboBox>("Cmb_Año_KPI")->setEditText("1");
    pulsar("button_Consultar_KPI");
    QCOMPARE(flex6_->Rows(), 3);
    QCOMPARE(flex6_->TextMatrix(1, 3), "10       ");
    QCOMPARE(fila(*flex6_, 2), QStringList(6));
    QCOMPARE(flex7_->TextMatrix(0, 0), "501       ");
}

void TstKpi::otra_eleccion_olvida_el_registro_data()
{
    QTest::addColumn<QString>("lista");
    QTest::newRow("indicador") << "Cmb_KPI_KPI";
    QTest::newRow("mes") << "Cmb_Trimestre_KPI";
    QTest::newRow("año") << "Cmb_Año_KPI";
}

// After a fetch, picking another indicator, month or year forgets the record:
// a save then asks for a fetch and writes nowhere.
void TstKpi::otra_eleccion_olvida_el_registro()
{
    QFETCH(QString, lista);
    abrir_ventana();
    consultar_principal();
    const QString consulta = consulta_principal();
    const QStringList antes = leer(consulta);
    auto* l = control<QComboBox>(ventana_.get(), lista);
    elegir(l, l->itemText(1));
    QCOMPARE(flex7_->TextMatrix(0, 0), QString());
    QCOMPARE(fila(*flex6_, 1), QStringList(6, QString()));
    llenar_cajas("77", "88", "11");

    RegistroMensajes mensajes;
    Comandos comandos;
    pulsar("Button_Guardar_KPI");
    QCOMPARE(mensajes.textos(), QStringList({kSinConsulta}));
    QCOMPARE(comandos.textos, QStringList());
    QCOMPARE(leer(consulta), antes);
}

void TstKpi::cajas_vacias_no_borran_data()
{
    QTest::addColumn<QString>("caja");
    QTest::newRow("sin meta") << "Caja_Meta";
    QTest::newRow("sin linea base") << "Caja_Linea_Base";
    QTest::newRow("sin valor") << "Caja_valor";
    QTest::newRow("meta en blanco") << "Caja_Meta ";
}

// An empty (or blank) box would set the stored number to Null: refused.
void TstKpi::cajas_vacias_no_borran()
{
    QFETCH(QString, caja);
    abrir_ventana();
    consultar_principal();
    const QString consulta = consulta_principal();
    const QStringList antes = leer(consulta);
    for (const char* nombre : {"Caja_valor", "Caja_Meta", "Caja_Linea_Base"})
        c<QLineEdit>(nombre)->setText("5");
    c<QLineEdit>(qPrintable(caja.trimmed()))->setText(caja.endsWith(' ') ? "   " : "");

    RegistroMensajes mensajes;
    Comandos comandos;
    pulsar("Button_Guardar_KPI");
    QCOMPARE(mensajes.textos(), QStringList({kFaltan}));
    QCOMPARE(comandos.textos, QStringList());
    QCOMPARE(leer(consulta), antes);
}

void TstKpi::numeros_dudosos_rechazados_data()
{
    QTest::addColumn<QString>("valor");
    QTest::newRow("1.000") << "1.000";
    QTest::newRow("1,000") << "1,000";
    QTest::newRow("400 cifras") << QString(400, '9');
}

// A thousands group (one locale's thousand, another's one) and a number no
// double holds: refused with the database's words, nothing stored.
void TstKpi::numeros_dudosos_rechazados()
{
    QFETCH(QString, valor);
    abrir_ventana();
    consultar_principal();
    const QString consulta = consulta_principal();
    const QStringList antes = leer(consulta);
    llenar_cajas(valor, "90", "50");

    RegistroMensajes mensajes;
    Comandos comandos;
    pulsar("Button_Guardar_KPI");
    QCOMPARE(comandos.textos.size(), 2); // the record read again, then the store
    QCOMPARE(mensajes.textos(), QStringList({"El Valor no es un número"}));
    QCOMPARE(leer(consulta), antes);
}

void TstKpi::texto_exacto_tecleado_no_es_eleccion_data()
{
    QTest::addColumn<int>("tecla");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Tab") << int(Qt::Key_Tab);
}

// Typing an item's exact text (its trailing blanks included) and ending with
// Return or Tab is typing, not picking: no type query, the typed year stays.
void TstKpi::texto_exacto_tecleado_no_es_eleccion()
{
    QFETCH(int, tecla);
    abrir_ventana();
    ventana_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(ventana_.get()));
    auto* anios = c<QComboBox>("Cmb_Año_KPI");
    elegir(anios, anio_item());
    auto* kpi = c<QComboBox>("Cmb_KPI_KPI");
    const QString item = texto_item(kPrincipal, 80);
    QVERIFY(item.endsWith(' '));
    kpi->setFocus();
    Comandos comandos;
    kpi->lineEdit()->clear();
    teclear(kpi->lineEdit(), item);
    QTest::keyClick(kpi->lineEdit(), Qt::Key(tecla));
    QCOMPARE(kpi->currentText(), item);
    QCOMPARE(comandos.textos, QStringList());
    QCOMPARE(anios->currentText(), anio_item());
    // A pick from the list still runs the steps.
    elegir(kpi, item);
    QCOMPARE(comandos.textos.size(), 1);
    QCOMPARE(anios->currentText(), QString());
}

QTEST_MAIN(TstKpi)
#include "tst_kpi.moc"
