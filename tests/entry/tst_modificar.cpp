// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/comandos.h"
#include "data/conexion.h"
#include "data/textos.h"
#include "entry/modificar.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace velmora;

namespace {

const QString kMargen = QStringLiteral("Margen operativo");  // one record a month
const QString kAusentismo = QStringLiteral("Ausentismo");    // three departments: 36 rows a year

// The records of one indicator and year as the database holds them, in the
// order the fetch returns them.
struct Registro {
    QString id, valor, meta, base;
    bool operator==(const Registro&) const = default;
};
QList<Registro> registros(const QString& indicador, int anio)
{
    QList<Registro> lista;
    for (Resultado r = Conexion().ejecutar(
             QStringLiteral("SELECT r.id, r.valor, r.meta, r.linea_base FROM registro r "
                            "JOIN indicador i ON i.id = r.id_indicador "
                            "WHERE i.nombre = %1 AND r.id_anio = %2 ORDER BY r.id_departamento, r.mes")
                 .arg(entre_comillas(indicador))
                 .arg(anio - 2004));
         !r.eof(); r.siguiente())
        lista.append({r.texto("id"), r.texto("valor"), r.texto("meta"), r.texto("linea_base")});
    return lista;
}

} // namespace

// The yearly modification screen on a copy of the demo database, edited
// through its floating editor by mouse and keyboard.
class TstModificar final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void carga();
    void ida_y_vuelta();
    void guardado_rechazado();
    void guardar_sin_consulta();
    void nueva_consulta_vacia_lo_anterior();
    void valores_largos_vuelven_enteros();
    void otro_programa_guardando();
    void cambio_ajeno_data();
    void cambio_ajeno();
    void base_ocupada_por_otro_programa();

private:
    void elegir(const QString& indicador, const QString& anio);
    void aceptar();
    void guardar();
    // Shows the editor, if hidden, by clicking the grid's current cell, then
    // walks to (fila, columna) with the arrow keys.
    void ir_a(int fila, int columna);
    void escribir(const QString& texto);
    QStringList modificaciones() const;
    QString celda(int fila, int columna) const { return grilla_->TextMatrix(fila, columna); }
    QString id(int columna) const { return ids_->TextMatrix(1, columna); }

    std::unique_ptr<BasePrueba> base_;
    std::unique_ptr<RegistroMensajes> mensajes_;
    std::unique_ptr<Modificar> ventana_;
    QStringList enviados_;
    Grilla* grilla_ = nullptr;
    ModeloGrilla* ids_ = nullptr;
    QLineEdit* editor_ = nullptr;
};

void TstModificar::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
}

void TstModificar::init()
{
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    mensajes_ = std::make_unique<RegistroMensajes>();
    ventana_ = std::make_unique<Modificar>();
    grilla_ = ventana_->findChild<Grilla*>("MSFlexGrid1");
    ids_ = ventana_->findChild<ModeloGrilla*>("MSFlexGrid2");
    editor_ = ventana_->findChild<QLineEdit*>("Text1");
    QVERIFY(grilla_ && ids_ && editor_);
    ventana_->show();
    ventana_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(ventana_.get()));
    enviados_.clear();
    Conexion().observar([this](const QString& comando) { enviados_ << comando; });
}

void TstModificar::cleanup()
{
    Conexion().observar(nullptr);
    ventana_.reset();
    Conexion().cerrar();
    mensajes_.reset();
    base_.reset();
}

void TstModificar::elegir(const QString& indicador, const QString& anio)
{
    auto* kpi = ventana_->findChild<QComboBox*>("Combo_kpi");
    auto* anios = ventana_->findChild<QComboBox*>("Combo_año");
    const int i = kpi->findText(texto_item(indicador, 80));
    if (i >= 0) {
        kpi->setCurrentIndex(i);
    } else {
        kpi->lineEdit()->clear();
        teclear(kpi->lineEdit(), indicador);
    }
    anios->setCurrentIndex(anios->findText(texto_item(anio, 15)));
    QVERIFY(anios->currentIndex() >= 0);
}

void TstModificar::aceptar()
{
    pulsar(ventana_.get(), "boton_consulta");
}

void TstModificar::guardar()
{
    enviados_.clear();
    mensajes_->limpiar();
    pulsar(ventana_.get(), "boton_guardar");
}

void TstModificar::ir_a(int fila, int columna)
{
    if (editor_->isHidden()) {
        const QRect actual = grilla_->rectangulo_celda().translated(-grilla_->viewport()->pos());
        QTest::mouseClick(grilla_->viewport(), Qt::LeftButton, {}, actual.center());
    }
    QVERIFY(editor_->isVisible());
    while (grilla_->Row() != fila)
        QTest::keyClick(editor_, grilla_->Row() < fila ? Qt::Key_Down : Qt::Key_Up);
    while (grilla_->Col() != columna)
        QTest::keyClick(editor_, grilla_->Col() < columna ? Qt::Key_Right : Qt::Key_Left);
    QVERIFY(editor_->hasFocus());
}

void TstModificar::escribir(const QString& texto)
{
    QTest::keyClick(editor_, Qt::Key_A, Qt::ControlModifier); // replace what the cell held
    teclear(editor_, texto);
}

QStringList TstModificar::modificaciones() const
{
    return enviados_.filter(QRegularExpression(QStringLiteral("^Exec modificar ")));
}

void TstModificar::carga()
{
    QCOMPARE(ventana_->windowTitle(), QStringLiteral("Modificar"));
    QCOMPARE(grilla_->Rows(), 4);
    QCOMPARE(grilla_->Cols(), 13);
    QCOMPARE(grilla_->FixedRows(), 1);
    QCOMPARE(grilla_->FixedCols(), 1);
    QCOMPARE(ids_->Rows(), 2);
    QCOMPARE(ids_->Cols(), 13);
    for (int m = 1; m <= 12; ++m) {
        QCOMPARE(celda(0, m), nombres_meses().at(m - 1));
        QCOMPARE(grilla_->ColWidth(m), 1500);
    }
    QCOMPARE(QStringList({celda(1, 0), celda(2, 0), celda(3, 0)}), QStringList({"Valor", "Meta", "Nivel Base"}));
    QCOMPARE(ids_->TextMatrix(1, 0), QStringLiteral("Id"));
    QVERIFY(editor_->isHidden());
    QCOMPARE(editor_->palette().color(QPalette::Base), QColor(0xC0, 0xFF, 0xC0));
    auto* kpi = ventana_->findChild<QComboBox*>("Combo_kpi");
    auto* anios = ventana_->findChild<QComboBox*>("Combo_año");
    QCOMPARE(kpi->itemText(0), texto_item(kMargen, 80));
    QCOMPARE(anios->itemText(0), QStringLiteral("2005           "));
    QCOMPARE(kpi->currentText(), QString());
    QCOMPARE(anios->currentText(), QString());

    elegir(kMargen, QStringLiteral("2008"));
    aceptar();
    guardar_captura(ventana_.get(), QStringLiteral("Modificar"));
    ir_a(2, 3);
    guardar_captura(ventana_.get(), QStringLiteral("Modificar_editando"));
}

// Fetch a year, edit cells by keyboard, save, fetch again and see the edits.
void TstModificar::ida_y_vuelta()
{
    elegir(kMargen, QStringLiteral("2008"));
    aceptar();
    QCOMPARE(enviados_, QStringList{comando_exec("Consulta_modificar", {texto_item(kMargen, 80), "2008           "})});
    const QList<Registro> antes = registros(kMargen, 2008);
    QCOMPARE(antes.size(), 12);
    // Margen operativo's 2008 as the demo database holds it.
    const QStringList valores = {"Valor",       "14       ",   "15,3       ", "13,8       ", "12,4       ",
                                 "17,1       ", "14,3       ", "12,5       ", "14,6       ", "15,8       ",
                                 "13,6       ", "11,6       ", "12,4       "};
    const QStringList metas = {"Meta", "15       ", "15       ", "15       ", "15       ", "15       ", "15       ",
                               "15       ", "15       ", "15       ", "15       ", "15       ", "15       "};
    const QStringList bases = {"Nivel Base", "8       ", "8       ", "8       ", "8       ", "8       ", "8       ",
                               "8       ", "8       ", "8       ", "8       ", "8       ", "8       "};
    const QStringList ids = {"Id", "37       ", "38       ", "39       ", "40       ", "41       ", "42       ",
                             "43       ", "44       ", "45       ", "46       ", "47       ", "48       "};
    QCOMPARE(fila(*grilla_, 1), valores);
    QCOMPARE(fila(*grilla_, 2), metas);
    QCOMPARE(fila(*grilla_, 3), bases);
    QCOMPARE(fila(*ids_, 1), ids);
    QCOMPARE(celda(1, 2), QStringLiteral("15,3       ")); // the value and 7 blanks

    ir_a(1, 1);
    escribir(QStringLiteral("20,5"));
    QTest::keyClick(editor_, Qt::Key_Tab); // to February
    escribir(QStringLiteral("18"));
    QTest::keyClick(editor_, Qt::Key_Return); // to February's target
    QCOMPARE(celda(1, 2), QStringLiteral("18"));
    escribir(QStringLiteral("21"));
    ir_a(3, 12); // December's baseline, by the keys
    escribir(QStringLiteral("1e3"));
    // December's baseline is still open in the editor when "Guardar" is pressed.
    QCOMPARE(celda(3, 12), QStringLiteral("8       "));
    guardar();

    QCOMPARE(mensajes_->textos(), QStringList{"Datos Guardados Exitosamente"});
    QCOMPARE(mensajes_->mensajes.first().titulo, QStringLiteral("Mensajes"));
    QStringList esperados;
    for (int m = 1; m <= 12; ++m)
        esperados << comando_modificar(celda(3, m), celda(1, m), celda(2, m), id(m));
    QCOMPARE(modificaciones(), esperados);
    QCOMPARE(modificaciones().at(0), QStringLiteral("Exec modificar '8       ','20,5','15       ','37       ' "));
    QCOMPARE(modificaciones().at(11), QStringLiteral("Exec modificar '1e3','12,4       ','15       ','48       ' "));

    // A fresh fetch shows what was stored.
    for (int m = 1; m <= 3; ++m)
        grilla_->setTextMatrix(1, m, QString());
    aceptar();
    QCOMPARE(celda(1, 1), QStringLiteral("20,5       "));
    QCOMPARE(celda(1, 2), QStringLiteral("18       "));
    QCOMPARE(celda(2, 2), QStringLiteral("21       "));
    QCOMPARE(celda(3, 12), QStringLiteral("1000       "));
    QCOMPARE(celda(1, 3), QStringLiteral("13,8       "));
    const QList<Registro> despues = registros(kMargen, 2008);
    QCOMPARE(despues[0].valor, QStringLiteral("20,5"));
    QCOMPARE(despues[5].meta, antes[5].meta); // untouched months sent back unchanged
}

// One bad value: the database's text, nothing of the twelve stored, the
// user's edits kept in the grid.
void TstModificar::guardado_rechazado()
{
    elegir(kMargen, QStringLiteral("2008"));
    aceptar();
    const QList<Registro> antes = registros(kMargen, 2008);
    ir_a(1, 1);
    escribir(QStringLiteral("99"));
    QTest::keyClick(editor_, Qt::Key_Right);
    QTest::keyClick(editor_, Qt::Key_Right);
    escribir(QStringLiteral("mucho"));
    QTest::keyClick(editor_, Qt::Key_Down);
    guardar();

    // The refusal names the month to correct.
    QCOMPARE(mensajes_->textos(), QStringList{"El Valor no es un número (Marzo)"});
    QCOMPARE(mensajes_->mensajes.first().titulo, QStringLiteral("Mensajes"));
    QCOMPARE(modificaciones().size(), 3); // stopped at March
    QCOMPARE(registros(kMargen, 2008).at(0).valor, antes[0].valor);
    QCOMPARE(celda(1, 1), QStringLiteral("99"));
    QCOMPARE(celda(1, 3), QStringLiteral("mucho"));

    // Corrected, it goes through.
    ir_a(1, 3);
    escribir(QStringLiteral("7"));
    guardar();
    QCOMPARE(mensajes_->textos(), QStringList{"Datos Guardados Exitosamente"});
    QCOMPARE(modificaciones().size(), 12);
    QCOMPARE(registros(kMargen, 2008).at(0).valor, QStringLiteral("99"));
    QCOMPARE(registros(kMargen, 2008).at(2).valor, QStringLiteral("7"));
}

void TstModificar::guardar_sin_consulta()
{
    ir_a(1, 2);
    escribir(QStringLiteral("5"));
    guardar();
    QVERIFY(enviados_.isEmpty());
    QCOMPARE(mensajes_->textos(), QStringList{"Tienes que realizar primero la consulta"});
    QCOMPARE(mensajes_->mensajes.first().titulo, QStringLiteral("Mensajes"));
}

// A second fetch leaves nothing of the first behind: not its identifiers,
// not a text still held by the hidden editor. More than twelve rows keep the
// first twelve; none leaves every month empty and nothing to save.
void TstModificar::nueva_consulta_vacia_lo_anterior()
{
    elegir(kMargen, QStringLiteral("2008"));
    aceptar();
    ir_a(1, 1);
    escribir(QStringLiteral("777"));

    elegir(kAusentismo, QStringLiteral("2008"));
    aceptar(); // the editor hides, still holding "777"
    const QList<Registro> filas = registros(kAusentismo, 2008);
    QCOMPARE(filas.size(), 36);
    // Ausentismo's first department in 2008, the first twelve rows.
    const QStringList valores = {"Valor",      "2,5       ", "1,7       ", "2,4       ", "3       ",
                                 "3,6       ", "2,8       ", "4,9       ", "5       ",   "5,5       ",
                                 "4,6       ", "4,7       ", "4       "};
    const QStringList ids = {"Id",          "8221       ", "8222       ", "8223       ", "8224       ",
                             "8225       ", "8226       ", "8227       ", "8228       ", "8229       ",
                             "8230       ", "8231       ", "8232       "};
    QCOMPARE(fila(*grilla_, 1), valores);
    QCOMPARE(fila(*ids_, 1), ids);
    QCOMPARE(editor_->text(), celda(1, 1));
    ir_a(1, 2); // leaving (1, 1) writes the editor's text back
    QCOMPARE(celda(1, 1), QStringLiteral("2,5       "));
    guardar();
    QCOMPARE(modificaciones().size(), 12);
    QVERIFY(modificaciones().filter("777").isEmpty());
    QCOMPARE(registros(kAusentismo, 2008).at(0).valor, filas[0].valor);

    elegir(QStringLiteral("No es un KPI"), QStringLiteral("2008"));
    aceptar();
    for (int m = 1; m <= 12; ++m) {
        QCOMPARE(id(m), QString());
        for (int f = 1; f <= 3; ++f)
            QCOMPARE(celda(f, m), QString());
    }
    guardar();
    QVERIFY(modificaciones().isEmpty());
}

// Values too long for a cell are shown marked, never cut into another
// number, and a save without editing them stores them exactly as they were.
void TstModificar::valores_largos_vuelven_enteros()
{
    const QList<Registro> antes = registros(kMargen, 2008);
    Conexion().ejecutar(QStringLiteral("UPDATE registro SET valor = 1234567890123456789, meta = 0.000012345678901, "
                                       "linea_base = -1.23456789012345E-20 WHERE id = %1")
                            .arg(antes[0].id));
    // Three decimals: shown so that it is not taken for a thousands group.
    Conexion().ejecutar(QStringLiteral("UPDATE registro SET valor = 1.505 WHERE id = %1").arg(antes[3].id));
    const QList<Registro> largos = registros(kMargen, 2008);
    elegir(kMargen, QStringLiteral("2008"));
    aceptar();
    QCOMPARE(celda(1, 1), QStringLiteral("1,23456789\u2026E+18"));
    QCOMPARE(celda(2, 1), QStringLiteral("1,23456789\u2026E-05"));
    QCOMPARE(celda(3, 1), QStringLiteral("-1,2345679\u2026E-20"));
    QCOMPARE(celda(1, 4), QStringLiteral("1,5050       "));

    guardar();
    QCOMPARE(mensajes_->textos(), QStringList{"Datos Guardados Exitosamente"});
    QCOMPARE(registros(kMargen, 2008), largos);

    // An edit elsewhere leaves them whole too; a cell typed over is stored as typed.
    ir_a(1, 3);
    escribir(QStringLiteral("7"));
    ir_a(2, 2);
    escribir(QStringLiteral("0,5"));
    guardar();
    QCOMPARE(mensajes_->textos(), QStringList{"Datos Guardados Exitosamente"});
    const QList<Registro> despues = registros(kMargen, 2008);
    QCOMPARE(despues[0], largos[0]);
    QCOMPARE(despues[1].valor, largos[1].valor);
    QCOMPARE(despues[1].meta, QStringLiteral("0,5"));
    QCOMPARE(despues[2].valor, QStringLiteral("7"));
}

namespace {

// Starts the second program and waits until it holds its lock.
bool arrancar(QProcess& otro, const QStringList& argumentos)
{
    otro.start(QStringLiteral(VELMORA_BLOQUEADOR), argumentos);
    if (!otro.waitForStarted())
        return false;
    while (!otro.canReadLine())
        if (!otro.waitForReadyRead(30000))
            return false;
    return otro.readLine().trimmed() == "listo";
}

} // namespace

// Another program saving at the same time: this one waits for it (busy
// cursor meanwhile) and then stores, instead of both freezing on a lock.
void TstModificar::otro_programa_guardando()
{
    elegir(kMargen, QStringLiteral("2008"));
    aceptar();
    const QList<Registro> antes = registros(kMargen, 2008);
    ir_a(1, 2);
    escribir(QStringLiteral("22"));
    QList<Qt::CursorShape> cursores;
    Conexion().observar([&](const QString& comando) {
        enviados_ << comando;
        const QCursor* c = QGuiApplication::overrideCursor();
        cursores << (c ? c->shape() : Qt::ArrowCursor);
    });

    QProcess otro;
    QVERIFY(arrancar(otro, {QStringLiteral("guardar"), base_->dsn(), antes[11].id, QStringLiteral("99"),
                            QStringLiteral("1500")}));
    guardar();
    QVERIFY(otro.waitForFinished(30000));
    QCOMPARE(otro.exitCode(), 0);
    // The other saved December after this screen fetched it: writing the
    // fetched December back would undo that, so nothing is stored.
    QCOMPARE(mensajes_->textos().size(), 1);
    QVERIFY2(mensajes_->textos().first().contains(QStringLiteral("Diciembre (Valor: 99; Meta: 2; Nivel Base: 1)")),
             qPrintable(mensajes_->textos().first()));
    QVERIFY(modificaciones().isEmpty());
    QVERIFY(!cursores.isEmpty());
    QCOMPARE(cursores, QList<Qt::CursorShape>(cursores.size(), Qt::WaitCursor));
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(registros(kMargen, 2008).at(1).valor, antes.at(1).valor);
    QCOMPARE(registros(kMargen, 2008).at(11).valor, QStringLiteral("99"));
}

void TstModificar::cambio_ajeno_data()
{
    QTest::addColumn<int>("mes");          // the month the other writer changes, 0 for none
    QTest::addColumn<QString>("cambio");   // its SET clause
    QTest::addColumn<QString>("esperado"); // the month as the refusal names it, empty for a save
    QTest::newRow("el mes editado") << 2 << "valor = 75, meta = 80, linea_base = 60"
                                    << "Febrero (Valor: 75; Meta: 80; Nivel Base: 60)";
    QTest::newRow("un mes no tocado") << 7 << "meta = NULL" << "Julio (Valor: ";
    QTest::newRow("reescrito con el mismo valor") << 2 << "valor = valor * 1.0" << "";
    QTest::newRow("nadie cambió nada") << 0 << "" << "";
}

// A second writer (a plain sqlite3 process) changes a month between this
// screen's fetch and its save.
void TstModificar::cambio_ajeno()
{
    QFETCH(int, mes);
    QFETCH(QString, cambio);
    QFETCH(QString, esperado);
    elegir(kMargen, QStringLiteral("2008"));
    aceptar();
    ir_a(1, 2);
    escribir(QStringLiteral("22"));
    const QList<Registro> antes = registros(kMargen, 2008);
    if (mes > 0) {
        QProcess otro;
        otro.start(QStringLiteral("sqlite3"), {base_->archivo(), QStringLiteral("UPDATE registro SET %1 WHERE id = %2")
                                                                     .arg(cambio, antes[mes - 1].id)});
        QVERIFY(otro.waitForFinished(30000));
        QCOMPARE(otro.exitCode(), 0);
    }
    const QList<Registro> ajeno = registros(kMargen, 2008);
    const QString historia = QStringLiteral("SELECT count(*) AS n FROM historial");
    const QString filas = Conexion().ejecutar(historia).texto(QStringLiteral("n"));
    guardar();
    QCOMPARE(mensajes_->mensajes.size(), 1);
    QCOMPARE(mensajes_->mensajes.first().titulo, QStringLiteral("Mensajes"));
    if (esperado.isEmpty()) {
        QCOMPARE(mensajes_->textos(), QStringList{"Datos Guardados Exitosamente"});
        QCOMPARE(registros(kMargen, 2008).at(1).valor, QStringLiteral("22"));
        return;
    }
    const QString texto = mensajes_->textos().first();
    QVERIFY2(texto.startsWith(QStringLiteral("Otro usuario cambió estos valores después de que usted los "
                                             "consultó: ") + esperado),
             qPrintable(texto));
    QVERIFY2(texto.endsWith(QStringLiteral(". No se guardó nada. Pulse Aceptar para ver los valores actuales.")),
             qPrintable(texto));
    QVERIFY(modificaciones().isEmpty());
    QCOMPARE(registros(kMargen, 2008), ajeno);
    QCOMPARE(Conexion().ejecutar(historia).texto(QStringLiteral("n")), filas);
    if (mes == 2)
        guardar_captura(ventana_.get(), QStringLiteral("Modificar_cambio_ajeno"));
}

// A program holding the whole database: after a short wait a message, nothing
// stored, and the screen goes on; once the other lets go the save works.
void TstModificar::base_ocupada_por_otro_programa()
{
    elegir(kMargen, QStringLiteral("2008"));
    aceptar();
    const QList<Registro> antes = registros(kMargen, 2008);
    ir_a(1, 1);
    escribir(QStringLiteral("33"));

    QProcess otro;
    QVERIFY(arrancar(otro, {QStringLiteral("exclusivo"), base_->dsn()}));
    guardar();
    QCOMPARE(mensajes_->textos(),
             QStringList{QStringLiteral("La base de datos está ocupada por otro usuario; intente de nuevo")});
    QCOMPARE(mensajes_->mensajes.first().titulo, QStringLiteral("Mensajes"));
    QVERIFY(!QGuiApplication::overrideCursor());
    otro.write("\n");
    QVERIFY(otro.waitForFinished(30000));
    QCOMPARE(otro.exitCode(), 0);
    QCOMPARE(registros(kMargen, 2008), antes);
    QVERIFY(ventana_->isVisible());

    guardar();
    QCOMPARE(mensajes_->textos(), QStringList{"Datos Guardados Exitosamente"});
    QCOMPARE(registros(kMargen, 2008).at(0).valor, QStringLiteral("33"));
}

QTEST_MAIN(TstModificar)
#include "tst_modificar.moc"
