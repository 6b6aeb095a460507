// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers stay exact and a save lands in the record it was fetched from: the
// entry screens on a copy of the SQLite demo database and (with
// VELMORA_MOTOR=postgres) on a database of their own on the test server.

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/textos.h"
#include "entry/historial.h"
#include "entry/kpi.h"
#include "entry/modificar.h"
#include "entry/nuevo.h"
#include "entry/nuevo_registro.h"
#include "soporte/bits.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"
#include "ui/grid/modelo_grilla.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include <cfloat>
#include <cmath>
#include <memory>
#include <optional>

using namespace velmora;

namespace {

const QString kMargen = QStringLiteral("Margen operativo");
const QString kGuardado = QStringLiteral("Datos Guardados Exitosamente");

} // namespace

class TstExactitud final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void decimales_tecleados_data();
    void decimales_tecleados();
    void mes_no_tocado_queda_igual();
    void cambio_ajeno_tras_el_digito_15();
    void historial_muestra_valores_enteros();
    void segundo_guardado_propio_data();
    void segundo_guardado_propio();
    void registro_borrado_y_recreado_data();
    void registro_borrado_y_recreado();
    void mayor_double_vuelve_entero();
    void nuevo_registro_en_blanco();
    void nombres_que_se_ven_iguales_data();
    void nombres_que_se_ven_iguales();

private:
    // The number stored in a record of the indicator, read through its exact
    // text on each engine; nullopt for Null.
    std::optional<double> guardado(const QString& indicador, int anio, int mes, const QString& campo) const;
    int filas_historial(const QString& indicador, int anio, int mes) const;
    void consultar(Modificar& ventana, const QString& indicador, const QString& anio) const;
    void nueva_base();

    bool postgres_ = false;
    std::unique_ptr<BasePrueba> base_;
    std::unique_ptr<BasePostgres> base_pg_;
    std::unique_ptr<RegistroMensajes> mensajes_;
    int numero_base_ = 0;
};

void TstExactitud::initTestCase()
{
    postgres_ = qgetenv("VELMORA_MOTOR") == "postgres";
    if (postgres_ && dsn_postgres().isEmpty())
        QFAIL("no PostgreSQL server (VELMORA_PG_DSN): run the tests through scripts/con_postgres.sh");
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
}

void TstExactitud::cleanupTestCase()
{
    base_pg_.reset();
}

void TstExactitud::nueva_base()
{
    if (postgres_) {
        Conexion().cerrar();
        base_pg_.reset();
        base_pg_ = std::make_unique<BasePostgres>(
            QStringLiteral("velmora_exactitud_%1_%2").arg(QCoreApplication::applicationPid()).arg(++numero_base_));
        Conexion().abrir(QStringLiteral("FILEDSN=") + base_pg_->dsn());
    } else {
        base_ = std::make_unique<BasePrueba>();
        base_->abrir();
    }
}

void TstExactitud::init()
{
    nueva_base();
    Conexion().fijar_sesion(comando_exec("Sesion_programa", {"Administrador", "ana"}));
    mensajes_ = std::make_unique<RegistroMensajes>();
}

void TstExactitud::cleanup()
{
    mensajes_.reset();
    Conexion().cerrar();
    base_.reset();
}

std::optional<double> TstExactitud::guardado(const QString& indicador, int anio, int mes, const QString& campo) const
{
    // SQLite's %!.18g text reads back as the same double; PostgreSQL writes
    // the shortest exact text.
    const QString texto = postgres_ ? QStringLiteral("CAST(r.%1 AS text)").arg(campo)
                                    : QStringLiteral("CASE WHEN r.%1 IS NOT NULL THEN printf('%!.18g', r.%1) END")
                                          .arg(campo);
    Resultado r = Conexion().ejecutar(
        QStringLiteral("SELECT %1 AS t FROM registro r JOIN indicador i ON i.id = r.id_indicador "
                       "WHERE i.nombre = %2 AND r.id_anio = %3 AND r.mes = %4 ORDER BY r.id_departamento")
            .arg(texto, entre_comillas(indicador))
            .arg(anio - 2004)
            .arg(mes));
    if (r.eof() || r.campo("t").isNull())
        return std::nullopt;
    const std::optional<double> numero = leer_exacto(r.campo("t").toString());
    if (!numero)
        qFatal("the database holds %s", qPrintable(r.campo("t").toString()));
    return numero;
}

int TstExactitud::filas_historial(const QString& indicador, int anio, int mes) const
{
    return Conexion()
        .ejecutar(QStringLiteral("SELECT count(*) AS n FROM historial WHERE indicador = %1 AND anio = %2 AND mes = %3")
                      .arg(entre_comillas(indicador))
                      .arg(anio)
                      .arg(mes))
        .campo("n")
        .toInt();
}

void TstExactitud::consultar(Modificar& ventana, const QString& indicador, const QString& anio) const
{
    control<QComboBox>(&ventana, "Combo_kpi")->setEditText(indicador);
    control<QComboBox>(&ventana, "Combo_año")->setEditText(anio);
    pulsar(&ventana, "boton_consulta");
}

void TstExactitud::decimales_tecleados_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<double>("esperado"); // the nearest double, written apart from the program's reader
    QTest::newRow("seis cifras") << "0,937278" << 0x1.dfe2e6ea85447p-1;
    QTest::newRow("nueve cifras") << "312,964461" << 0x1.38f6e6ea85447p+8;
    QTest::newRow("quince cifras") << "0,123456789012345" << 0x1.f9add3746f62ep-4;
    QTest::newRow("diecisiete cifras") << "0,30000000000000004" << 0x1.3333333333334p-2;
    QTest::newRow("a medio camino") << "9007199254740993" << 0x1p+53;
    QTest::newRow("subnormal") << "4,9406564584124654e-324" << 0x0.0000000000001p-1022;
}

// Modificar, KPI and Nuevo registro store the double nearest to the typed text.
void TstExactitud::decimales_tecleados()
{
    QFETCH(QString, texto);
    QFETCH(double, esperado);

    Modificar modificar;
    modificar.show();
    consultar(modificar, kMargen, "2024");
    control<Grilla>(&modificar, "MSFlexGrid1")->setTextMatrix(1, 1, texto);
    pulsar(&modificar, "boton_guardar");
    QCOMPARE(mensajes_->textos(), QStringList{kGuardado});
    QCOMPARE_BITS(guardado(kMargen, 2024, 1, "valor"), esperado);

    mensajes_->limpiar();
    KPI kpi;
    kpi.show();
    elegir(control<QComboBox>(&kpi, "Cmb_KPI_KPI"), texto_item(kMargen, 80));
    elegir(control<QComboBox>(&kpi, "Cmb_Año_KPI"), texto_item("2024", 15));
    elegir(control<QComboBox>(&kpi, "Cmb_Trimestre_KPI"), "Febrero");
    pulsar(&kpi, "button_Consultar_KPI");
    control<QLineEdit>(&kpi, "Caja_valor")->setText(texto);
    control<QLineEdit>(&kpi, "Caja_Meta")->setText(texto);
    control<QLineEdit>(&kpi, "Caja_Linea_Base")->setText(texto);
    pulsar(&kpi, "Button_Guardar_KPI");
    QCOMPARE(mensajes_->textos(), QStringList{kGuardado});
    QCOMPARE_BITS(guardado(kMargen, 2024, 2, "meta"), esperado);

    mensajes_->limpiar();
    Nuevo_Registro nuevo;
    nuevo.show();
    elegir(control<QComboBox>(&nuevo, "Combo_indicador"), texto_item(kMargen, 80));
    elegir(control<QComboBox>(&nuevo, "Combo_desempeño"), texto_item("Creciente      ", 80));
    elegir(control<QComboBox>(&nuevo, "Combo_perspectiva"), texto_item(QString("Financiero").leftJustified(30), 80));
    elegir(control<QComboBox>(&nuevo, "Combo_unidad"), texto_item("%         ", 80));
    elegir(control<QComboBox>(&nuevo, "Combo_año"), texto_item("2024", 15));
    elegir(control<QComboBox>(&nuevo, "Cmb_mes_Reporte"), "Marzo");
    control<QLineEdit>(&nuevo, "Text_nivel")->setText(texto);
    control<QLineEdit>(&nuevo, "Text_meta")->setText("1");
    control<QLineEdit>(&nuevo, "Text3_valor")->setText("1");
    pulsar(&nuevo, "Command1");
    QCOMPARE(mensajes_->textos(), QStringList{"Registro Guardado Exitosamente"});
    QCOMPARE_BITS(guardado(kMargen, 2024, 3, "linea_base"), esperado);

    // Fetched again, the screen holds the shortest text of the same double
    // whole, and shows it whole where it fits; a longer one is shown
    // shortened and marked.
    consultar(modificar, kMargen, "2024");
    const QString leido = control<ModeloGrilla>(&modificar, "valores_leidos")->TextMatrix(1, 1);
    QCOMPARE_BITS(leer_exacto(leido), esperado);
    const QString celda = control<Grilla>(&modificar, "MSFlexGrid1")->TextMatrix(1, 1);
    if (celda.contains(MARCA_CORTE))
        QVERIFY2(leido.size() > celda.trimmed().size(), qPrintable(celda + QStringLiteral(" / ") + leido));
    else
        QCOMPARE_BITS(leer_exacto(celda), esperado);
}

// A month nobody changed is stored as it was fetched, bit for bit, and the
// history records only the month that changed.
void TstExactitud::mes_no_tocado_queda_igual()
{
    Conexion().ejecutar(QStringLiteral("UPDATE registro SET valor = 2.0 / 3, meta = 1.0 / 3 WHERE mes = 1 AND id_anio = 20 "
                                       "AND id_indicador = (SELECT id FROM indicador WHERE nombre = 'Margen operativo')"));
    const std::optional<double> enero = guardado(kMargen, 2024, 1, "valor");
    QCOMPARE_BITS(enero, 0x1.5555555555555p-1); // 2/3
    const int historia_enero = filas_historial(kMargen, 2024, 1);
    const int historia_diciembre = filas_historial(kMargen, 2024, 12);

    Modificar ventana;
    ventana.show();
    consultar(ventana, kMargen, "2024");
    control<Grilla>(&ventana, "MSFlexGrid1")->setTextMatrix(1, 12, "5");
    pulsar(&ventana, "boton_guardar");
    QCOMPARE(mensajes_->textos(), QStringList{kGuardado});
    QCOMPARE_BITS(guardado(kMargen, 2024, 1, "valor"), 0x1.5555555555555p-1); // 2/3
    QCOMPARE_BITS(guardado(kMargen, 2024, 1, "meta"), 0x1.5555555555555p-2); // 1/3
    QCOMPARE(filas_historial(kMargen, 2024, 1), historia_enero);
    QCOMPARE(filas_historial(kMargen, 2024, 12), historia_diciembre + 1);
}

// Another user's change beyond the 15th significant digit is a change: the
// save refuses it instead of writing the fetched number back over it.
void TstExactitud::cambio_ajeno_tras_el_digito_15()
{
    const QString enero = QStringLiteral("mes = 1 AND id_anio = 20 AND id_indicador = "
                                         "(SELECT id FROM indicador WHERE nombre = 'Margen operativo')");
    Conexion().ejecutar(QStringLiteral("UPDATE registro SET valor = 2.0 / 3 WHERE ") + enero);
    Modificar ventana;
    ventana.show();
    consultar(ventana, kMargen, "2024");
    // The next double after 2/3.
    Conexion().ejecutar(QStringLiteral("UPDATE registro SET valor = valor + 1e-16 WHERE ") + enero);
    const std::optional<double> ajeno = guardado(kMargen, 2024, 1, "valor");
    QCOMPARE_BITS(ajeno, 0x1.5555555555556p-1);
    control<Grilla>(&ventana, "MSFlexGrid1")->setTextMatrix(1, 12, "5");
    pulsar(&ventana, "boton_guardar");
    QCOMPARE(mensajes_->textos().size(), 1);
    QVERIFY2(mensajes_->textos().first().contains(QStringLiteral("Enero (Valor: 0,6666666666666667;")),
             qPrintable(mensajes_->textos().first()));
    QCOMPARE_BITS(guardado(kMargen, 2024, 1, "valor"), ajeno);
}

// The history screen shows each number whole: a change beyond the 15th digit
// is not "0,3 → 0,3".
void TstExactitud::historial_muestra_valores_enteros()
{
    // Each change from a fresh fetch.
    for (const char* valor : {"0,3", "0,30000000000000004", "0,3333333333333333"}) {
        Modificar ventana;
        ventana.show();
        consultar(ventana, kMargen, "2024");
        control<Grilla>(&ventana, "MSFlexGrid1")->setTextMatrix(1, 1, valor);
        pulsar(&ventana, "boton_guardar");
    }
    QCOMPARE(mensajes_->textos(), QStringList(3, kGuardado));

    Historial historial;
    historial.show();
    elegir(control<QComboBox>(&historial, "Combo_indicador"), kMargen);
    pulsar(&historial, "boton_consulta");
    const ModeloGrilla* grilla = control<Grilla>(&historial, "Flex_historial")->modelo();
    // Newest first: "Campo", "Antes", "Después".
    QCOMPARE(fila(*grilla, 1).mid(6), (QStringList{"Valor", "0,30000000000000004", "0,3333333333333333"}));
    QCOMPARE(fila(*grilla, 2).mid(6), (QStringList{"Valor", "0,3", "0,30000000000000004"}));
}

void TstExactitud::segundo_guardado_propio_data()
{
    QTest::addColumn<bool>("kpi");
    QTest::newRow("Modificar") << false;
    QTest::newRow("KPI") << true;
}

// After a save the screen compares with what it saved, not with what it had
// fetched before: the user's own second save goes through.
void TstExactitud::segundo_guardado_propio()
{
    QFETCH(bool, kpi);
    if (kpi) {
        KPI ventana;
        ventana.show();
        elegir(control<QComboBox>(&ventana, "Cmb_KPI_KPI"), texto_item(kMargen, 80));
        elegir(control<QComboBox>(&ventana, "Cmb_Año_KPI"), texto_item("2024", 15));
        elegir(control<QComboBox>(&ventana, "Cmb_Trimestre_KPI"), "Abril");
        pulsar(&ventana, "button_Consultar_KPI");
        for (const char* valor : {"16", "17,5"}) {
            control<QLineEdit>(&ventana, "Caja_valor")->setText(valor);
            control<QLineEdit>(&ventana, "Caja_Meta")->setText("2");
            control<QLineEdit>(&ventana, "Caja_Linea_Base")->setText("1");
            pulsar(&ventana, "Button_Guardar_KPI");
        }
        QCOMPARE(mensajes_->textos(), QStringList(2, kGuardado));
        QCOMPARE_BITS(guardado(kMargen, 2024, 4, "valor"), 17.5);
        return;
    }
    Modificar ventana;
    ventana.show();
    consultar(ventana, kMargen, "2024");
    Grilla* grilla = control<Grilla>(&ventana, "MSFlexGrid1");
    grilla->setTextMatrix(1, 4, "16");
    pulsar(&ventana, "boton_guardar");
    grilla->setTextMatrix(1, 5, "17,5");
    pulsar(&ventana, "boton_guardar");
    grilla->setTextMatrix(1, 4, "18");
    pulsar(&ventana, "boton_guardar");
    QCOMPARE(mensajes_->textos(), QStringList(3, kGuardado));
    QCOMPARE_BITS(guardado(kMargen, 2024, 4, "valor"), 18.0);
    QCOMPARE_BITS(guardado(kMargen, 2024, 5, "valor"), 17.5);
}

void TstExactitud::registro_borrado_y_recreado_data()
{
    QTest::addColumn<bool>("kpi");
    QTest::addColumn<bool>("mismos_ids"); // the new indicator's records get the old ids
    QTest::newRow("Modificar") << false << false;
    QTest::newRow("KPI") << true << false;
    // As a database that gives ids again would: only what the record is of
    // tells it apart.
    QTest::newRow("Modificar, ids dados otra vez") << false << true;
    QTest::newRow("KPI, ids dados otra vez") << true << true;
}

// One program fetches the newest indicator's year; another deletes it and
// creates the next one. The save must not land in the new indicator.
void TstExactitud::registro_borrado_y_recreado()
{
    QFETCH(bool, kpi);
    QFETCH(bool, mismos_ids);
    const QString x = QStringLiteral("Prueba X");
    const QString y = QStringLiteral("Prueba Y");
    Conexion().ejecutar(comando_exec("Nuevo_Indicador", {x, "1"}));
    std::unique_ptr<QWidget> ventana;
    if (kpi) {
        auto* k = new KPI;
        ventana.reset(k);
        k->show();
        elegir(control<QComboBox>(k, "Cmb_KPI_KPI"), texto_item(x, 80));
        elegir(control<QComboBox>(k, "Cmb_Año_KPI"), texto_item("2025", 15));
        elegir(control<QComboBox>(k, "Cmb_Trimestre_KPI"), "Enero");
        pulsar(k, "button_Consultar_KPI");
    } else {
        auto* m = new Modificar;
        ventana.reset(m);
        m->show();
        consultar(*m, x, "2025");
    }
    if (mismos_ids) {
        Conexion().ejecutar(comando_exec("Nuevo_Indicador", {y, "1"}));
        const QString id_y = QStringLiteral("(SELECT id FROM indicador WHERE nombre = 'Prueba Y')");
        Conexion().ejecutar(QStringLiteral("DELETE FROM registro WHERE id_indicador = ") + id_y);
        Conexion().ejecutar(QStringLiteral("UPDATE registro SET id_indicador = %1 WHERE id_indicador = "
                                           "(SELECT id FROM indicador WHERE nombre = 'Prueba X')")
                                .arg(id_y));
        Conexion().ejecutar(comando_exec("eliminar", {x}));
    } else {
        Conexion().ejecutar(comando_exec("eliminar", {x}));
        Conexion().ejecutar(comando_exec("Nuevo_Indicador", {y, "1"}));
    }

    if (kpi) {
        control<QLineEdit>(ventana.get(), "Caja_valor")->setText("5");
        control<QLineEdit>(ventana.get(), "Caja_Meta")->setText("6");
        control<QLineEdit>(ventana.get(), "Caja_Linea_Base")->setText("1");
        pulsar(ventana.get(), "Button_Guardar_KPI");
    } else {
        Grilla* grilla = control<Grilla>(ventana.get(), "MSFlexGrid1");
        grilla->setTextMatrix(1, 1, "5");
        grilla->setTextMatrix(2, 1, "6");
        grilla->setTextMatrix(3, 1, "1");
        pulsar(ventana.get(), "boton_guardar");
    }
    QCOMPARE(mensajes_->textos().size(), 1);
    QVERIFY2(mensajes_->textos().first().contains(QStringLiteral("Enero (ya no existe)")),
             qPrintable(mensajes_->textos().first()));
    QVERIFY(!guardado(y, 2025, 1, "valor"));
    QCOMPARE(filas_historial(y, 2025, 1), 0);
}

// The largest double is stored and comes back whole, so the year can be
// saved again.
void TstExactitud::mayor_double_vuelve_entero()
{
    Modificar ventana;
    ventana.show();
    consultar(ventana, kMargen, "2024");
    Grilla* grilla = control<Grilla>(&ventana, "MSFlexGrid1");
    grilla->setTextMatrix(1, 3, "1,7976931348623157e308");
    grilla->setTextMatrix(2, 3, "-1,7976931348623157E+308");
    pulsar(&ventana, "boton_guardar");
    QCOMPARE_BITS(guardado(kMargen, 2024, 3, "valor"), DBL_MAX);
    QCOMPARE_BITS(guardado(kMargen, 2024, 3, "meta"), -DBL_MAX);

    consultar(ventana, kMargen, "2024");
    QVERIFY2(!grilla->TextMatrix(1, 3).contains(u'i'), qPrintable(grilla->TextMatrix(1, 3)));
    grilla->setTextMatrix(1, 4, "7");
    pulsar(&ventana, "boton_guardar");
    QCOMPARE(mensajes_->textos(), QStringList(2, kGuardado));
    QCOMPARE_BITS(guardado(kMargen, 2024, 3, "valor"), DBL_MAX);

    // Past the largest double: refused, naming the field and the month.
    mensajes_->limpiar();
    grilla->setTextMatrix(3, 6, "1,8e308");
    pulsar(&ventana, "boton_guardar");
    QCOMPARE(mensajes_->textos(), QStringList{"La Linea Base no es un número (Junio)"});
}

// Three blank boxes would erase the month: refused, as the KPI screen does.
void TstExactitud::nuevo_registro_en_blanco()
{
    const std::optional<double> antes = guardado(kMargen, 2024, 3, "valor");
    QVERIFY(antes);
    Nuevo_Registro ventana;
    ventana.show();
    elegir(control<QComboBox>(&ventana, "Combo_indicador"), texto_item(kMargen, 80));
    elegir(control<QComboBox>(&ventana, "Combo_desempeño"), texto_item("Creciente      ", 80));
    elegir(control<QComboBox>(&ventana, "Combo_perspectiva"), texto_item(QString("Financiero").leftJustified(30), 80));
    elegir(control<QComboBox>(&ventana, "Combo_unidad"), texto_item("%         ", 80));
    elegir(control<QComboBox>(&ventana, "Combo_año"), texto_item("2024", 15));
    elegir(control<QComboBox>(&ventana, "Cmb_mes_Reporte"), "Marzo");
    Comandos comandos;
    pulsar(&ventana, "Command1");
    QCOMPARE(mensajes_->textos(), QStringList{"Tiene que llenar Todos los Parametros"});
    QVERIFY(comandos.textos.isEmpty());
    QCOMPARE_BITS(guardado(kMargen, 2024, 3, "valor"), antes);
}

void TstExactitud::nombres_que_se_ven_iguales_data()
{
    QTest::addColumn<QString>("segundo");
    QTest::addColumn<QString>("mensaje");
    const QString repetido = QStringLiteral("Ya existe un indicador con ese nombre");
    const QString invisible = QStringLiteral("El nombre del indicador no puede tener caracteres invisibles "
                                             "ni de dirección del texto");
    QTest::newRow("acento combinado") << QStringLiteral("Cafe\u0301") << repetido;
    QTest::newRow("de derecha a izquierda") << QStringLiteral("Caf\u202Ee") << invisible;
    QTest::newRow("aislado") << QStringLiteral("Caf\u2067e\u2069") << invisible;
    QTest::newRow("separador de línea") << QStringLiteral("Caf\u2028e") << invisible;
    QTest::newRow("separador de párrafo") << QStringLiteral("Caf\u2029e") << invisible;
    QTest::newRow("espacio de ancho cero") << QStringLiteral("Caf\u200Be") << invisible;
    QTest::newRow("unión de ancho cero") << QStringLiteral("Caf\u200De") << invisible;
    QTest::newRow("marca de orden de bytes") << QStringLiteral("\uFEFFCafé") << invisible;
}

// "Café" typed precomposed and with a combining accent is one name; invisible
// and direction characters never reach a name.
void TstExactitud::nombres_que_se_ven_iguales()
{
    QFETCH(QString, segundo);
    QFETCH(QString, mensaje);
    Nuevo ventana;
    ventana.show();
    auto crear = [&](const QString& nombre) {
        control<QLineEdit>(&ventana, "Text_nuevo_indicador")->setText(nombre);
        elegir(control<QComboBox>(&ventana, "Combo_nuevo_indicador"), "Principal      ");
        pulsar(&ventana, "Command1");
    };
    crear(QStringLiteral("Caf\u00E9"));
    QCOMPARE(mensajes_->textos(), QStringList{"Indicador Guardado Exitosamente"});
    mensajes_->limpiar();
    const QStringList antes = columna(comando_consulta("Indicadores"), "Indicador");
    crear(segundo);
    QCOMPARE(mensajes_->textos(), QStringList{mensaje});
    QCOMPARE(columna(comando_consulta("Indicadores"), "Indicador"), antes);
}

QTEST_MAIN(TstExactitud)
#include "tst_exactitud.moc"
