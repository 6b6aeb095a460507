// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader reads of the program, through Qt's accessibility
// interface (what AT-SPI hands to Orca): roles, names and tables.

#include "ventanas_prueba.h"
#include "ui/grid/grilla.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <memory>

using namespace velmora;

namespace {

QAccessibleInterface* interfaz(QObject* objeto)
{
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(objeto);
    if (!i)
        qFatal("no accessible interface for %s", qPrintable(objeto->objectName()));
    return i;
}

QString rol(QAccessible::Role r)
{
    return QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(r));
}

// The tree as a reader walks it: role, name and child count, one line each.
void recorrer(QAccessibleInterface* i, int nivel, QStringList& lineas)
{
    if (!i || nivel > 3)
        return;
    const QString nombre = i->text(QAccessible::Name);
    const QString valor = i->text(QAccessible::Value);
    const QString descripcion = i->text(QAccessible::Description);
    lineas << QString(nivel * 2, u' ') + rol(i->role()) + QStringLiteral(" \"") + nombre + u'"'
                  + (valor.isEmpty() ? QString() : QStringLiteral(" valor \"") + valor + u'"')
                  + (descripcion.isEmpty() ? QString() : QStringLiteral(" (") + descripcion + u')')
                  + QStringLiteral(" hijos ") + QString::number(i->childCount());
    if (i->role() == QAccessible::Table) {
        for (int c = 0; c < i->childCount() && c < 10; ++c)
            lineas << QString(nivel * 2 + 2, u' ') + QStringLiteral("celda \"") + i->child(c)->text(QAccessible::Name) + u'"';
        return;
    }
    if (i->role() == QAccessible::ComboBox)
        return;
    for (int c = 0; c < i->childCount(); ++c)
        recorrer(i->child(c), nivel + 1, lineas);
}

// Every name and value in the tree below `i` that a reader would hear with
// blanks around it, as "role name: «text»".
void con_blancos(QAccessibleInterface* i, int nivel, QStringList& halladas)
{
    if (!i || nivel > 6)
        return;
    for (const QAccessible::Text tipo : {QAccessible::Name, QAccessible::Value}) {
        const QString texto = i->text(tipo);
        if (texto != texto.trimmed())
            halladas << rol(i->role()) + u' ' + (i->object() ? i->object()->objectName() : QString())
                            + (tipo == QAccessible::Name ? QStringLiteral(" nombre") : QStringLiteral(" valor"))
                            + QStringLiteral(": «") + texto + QStringLiteral("»");
    }
    for (int c = 0; c < i->childCount() && c < 40; ++c)
        con_blancos(i->child(c), nivel + 1, halladas);
}

} // namespace

class TstAccesibilidad final : public QObject {
    Q_OBJECT
private slots:
    void init() { escenario_ = std::make_unique<EscenarioVentanas>(); }
    void cleanup() { escenario_.reset(); }
    void ventanas_data();
    void ventanas();
    void lista_con_valor_se_llama_por_su_etiqueta();
    void reporte_principal();
    void ruta_de_exportar();
    void nada_se_oye_con_blancos_data();
    void nada_se_oye_con_blancos();
    void editor_de_celda_nombrado();
    void descripcion_de_ventana_data();
    void descripcion_de_ventana();

private:
    std::unique_ptr<EscenarioVentanas> escenario_;
};

void TstAccesibilidad::ventanas_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QString>("nombre");
    const QHash<QString, QString> nombres = {{"FET049TF", "Form1"}, {"Principal", "Velmora 1.0 (Brelvo)"},
                                             {"Reportes", "Reportes"}, {"Exportar", "Exportar"}};
    for (const QString& v : TODAS_LAS_VENTANAS)
        QTest::newRow(qPrintable(v)) << v << nombres.value(v);
}

// Every window is a frame with a name; every table of it has a name too.
void TstAccesibilidad::ventanas()
{
    QFETCH(QString, ventana);
    QFETCH(QString, nombre);
    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    QAccessibleInterface* i = interfaz(v);
    QCOMPARE(rol(i->role()), rol(QAccessible::Window));
    QVERIFY2(!i->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(ventana));
    if (!nombre.isEmpty())
        QCOMPARE(i->text(QAccessible::Name), nombre);
    for (Grilla* g : v->findChildren<Grilla*>()) {
        QAccessibleInterface* tabla = interfaz(g);
        QCOMPARE(tabla->role(), QAccessible::Table);
        QVERIFY2(!tabla->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(g->objectName()));
    }
}

// Once a value is chosen the list is still named by its label; the value
// (without its padding blanks) is its value.
void TstAccesibilidad::lista_con_valor_se_llama_por_su_etiqueta()
{
    QWidget* v = EscenarioVentanas::registro().mostrar(QStringLiteral("Principales"));
    QVERIFY(QTest::qWaitForWindowActive(v));
    auto* lista = control<QComboBox>(v, QStringLiteral("Cmb_Perspectiva_Reporte"));
    QAccessibleInterface* i = interfaz(lista);
    QCOMPARE(i->role(), QAccessible::ComboBox);
    QCOMPARE(i->text(QAccessible::Name), QStringLiteral("Perspectiva"));
    elegir(lista, lista->itemText(0));
    QVERIFY(lista->currentText().startsWith(QStringLiteral("Financiero   ")));
    QCOMPARE(i->text(QAccessible::Name), QStringLiteral("Perspectiva"));
    QCOMPARE(i->text(QAccessible::Value), QStringLiteral("Financiero"));
    QVERIFY(i->childCount() >= 1);

    QWidget* login = EscenarioVentanas::registro().mostrar(QStringLiteral("FET049TF"));
    auto* usuario = control<QComboBox>(login, QStringLiteral("usuario"));
    usuario->setCurrentIndex(0);
    QCOMPARE(interfaz(usuario)->text(QAccessible::Name), QStringLiteral("Usuario"));
}

// The principal report after "Ver": the reader hears the five indicator rows,
// not the thirty-five blank rows below them.
void TstAccesibilidad::reporte_principal()
{
    QWidget* v = EscenarioVentanas::registro().mostrar(QStringLiteral("Principales"));
    QVERIFY(QTest::qWaitForWindowActive(v));
    elegir(v, QStringLiteral("Cmb_Perspectiva_Reporte"), control<QComboBox>(v, "Cmb_Perspectiva_Reporte")->itemText(0));
    elegir(v, QStringLiteral("Cmb_Año_Reporte"), QStringLiteral("2009 "));
    elegir(v, QStringLiteral("Cmb_mes_Reporte"), QStringLiteral("Marzo"));
    pulsar(v, QStringLiteral("Button_Cargar_ReporteSocial"));
    auto* grilla = control<Grilla>(v, QStringLiteral("Flex3"));
    QVERIFY(grilla->Rows() > 30);
    QAccessibleInterface* tabla = interfaz(grilla);
    QAccessibleTableInterface* t = tabla->tableInterface();
    QVERIFY(t);
    QCOMPARE(t->rowCount(), 5);
    QCOMPARE(tabla->childCount(), 5 * t->columnCount());
    QCOMPARE(tabla->text(QAccessible::Description), QStringLiteral("5 filas con datos"));
    QCOMPARE(tabla->text(QAccessible::Name), QStringLiteral("Principales"));
    QVERIFY(t->cellAt(0, 0)->text(QAccessible::Name).startsWith(QStringLiteral("Margen operativo")));
    QVERIFY(!t->cellAt(5, 0));

    QStringList lineas;
    recorrer(interfaz(v), 0, lineas);
    qInfo().noquote() << "Lo que lee un lector de pantalla:\n" + lineas.join(u'\n');
}

void TstAccesibilidad::ruta_de_exportar()
{
    QWidget* v = EscenarioVentanas::registro().mostrar(QStringLiteral("Exportar"));
    QCOMPARE(interfaz(control<QLineEdit>(v, QStringLiteral("Text1")))->text(QAccessible::Name),
             QStringLiteral("Archivo de Excel"));
}

void TstAccesibilidad::nada_se_oye_con_blancos_data()
{
    QTest::addColumn<QString>("ventana");
    for (const QString& v : TODAS_LAS_VENTANAS)
        QTest::newRow(qPrintable(v)) << v;
}

// Buttons, lists, their items and their values are heard without the blanks
// that pad them on screen, with a value chosen in every list.
void TstAccesibilidad::nada_se_oye_con_blancos()
{
    QFETCH(QString, ventana);
    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    QVERIFY(QTest::qWaitForWindowExposed(v));
    for (QComboBox* lista : v->findChildren<QComboBox*>())
        if (lista->count() > 0)
            lista->setCurrentIndex(0);
    QStringList halladas;
    con_blancos(interfaz(v), 0, halladas);
    QVERIFY2(halladas.isEmpty(), qPrintable(halladas.join(u'\n')));
}

// The box that edits a Modificar cell is named by the cell's row and month,
// and follows the cell.
void TstAccesibilidad::editor_de_celda_nombrado()
{
    QWidget* v = EscenarioVentanas::registro().mostrar(QStringLiteral("Modificar"));
    QVERIFY(QTest::qWaitForWindowActive(v));
    elegir(v, QStringLiteral("Combo_kpi"), control<QComboBox>(v, "Combo_kpi")->itemText(0));
    elegir(v, QStringLiteral("Combo_año"), QStringLiteral("2009").leftJustified(15));
    pulsar(v, QStringLiteral("boton_consulta"));
    auto* grilla = control<Grilla>(v, QStringLiteral("MSFlexGrid1"));
    auto* editor = control<QLineEdit>(v, QStringLiteral("Text1"));
    grilla->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(editor->isVisible());
    QCOMPARE(interfaz(editor)->text(QAccessible::Name), QStringLiteral("Valor de Enero"));
    QCOMPARE(interfaz(editor)->text(QAccessible::Value), grilla->TextMatrix(1, 1).trimmed());
    QVERIFY(grilla->TextMatrix(1, 1).endsWith(u' '));
    grilla->setRow(3);
    grilla->setCol(9);
    QCOMPARE(interfaz(editor)->text(QAccessible::Name), QStringLiteral("Nivel Base de Septiembre"));

    QStringList lineas;
    recorrer(interfaz(v), 0, lineas);
    qInfo().noquote() << "Lo que lee un lector de pantalla:\n" + lineas.join(u'\n');
    QVERIFY(lineas.contains(QStringLiteral("  EditableText \"Nivel Base de Septiembre\" valor \"")
                            + grilla->TextMatrix(3, 9).trimmed() + QStringLiteral("\" hijos 0")));
}

void TstAccesibilidad::descripcion_de_ventana_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("descripcion");
    QTest::newRow("inicio de sesión")
        << "FET049TF" << "Form1" << "Inicio de sesión de Velmora: elija el tipo de usuario y escriba su contraseña";
    QTest::newRow("Consulta KPI") << "KPI" << "Modificar2"
                                  << "Consulta KPI: un registro mensual de un indicador, su línea base, su valor y "
                                     "su meta, para consultarlo y corregirlo";
}

// The window keeps its designed title as its name; its description says
// what it is.
void TstAccesibilidad::descripcion_de_ventana()
{
    QFETCH(QString, ventana);
    QFETCH(QString, titulo);
    QFETCH(QString, descripcion);
    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    QCOMPARE(v->windowTitle(), titulo);
    QCOMPARE(interfaz(v)->text(QAccessible::Name), titulo);
    QCOMPARE(interfaz(v)->text(QAccessible::Description), descripcion);
}

QTEST_MAIN(TstAccesibilidad)
#include "tst_accesibilidad.moc"
