// SPDX-License-Identifier: GPL-3.0-or-later
#include "ventanas_prueba.h"
#include "ui/ventana_escritorio.h"

#include <QPointer>
#include <QPushButton>
#include <memory>

using namespace velmora;

// The menus and the report chooser only show, hide or unload windows; a
// screen closed through the window manager is hidden and stays loaded.
class TstMenus final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void botones_data();
    void botones();
    void terminan_data();
    void terminan();
    void cerrar_una_pantalla_la_oculta_data();
    void cerrar_una_pantalla_la_oculta();
    void reportes_se_vuelve_a_mostrar();
    void menu_nuevo_se_carga_de_nuevo();
    void usuario_general_solo_llega_a_reportes_y_tendencia();
    void salir_termina_de_verdad();
    void tabulador_sigue_los_botones_data();
    void tabulador_sigue_los_botones();

private:
    static void pulsar(const QString& ventana, const QString& boton)
    {
        QTest::mouseClick(EscenarioVentanas::control(ventana, boton), Qt::LeftButton);
    }

    std::unique_ptr<EscenarioVentanas> e;
};

void TstMenus::init()
{
    e = std::make_unique<EscenarioVentanas>();
}

void TstMenus::cleanup()
{
    e.reset();
}

enum class Queda { Visible, Oculta, Descargada };

void TstMenus::botones_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<QString>("boton");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("muestra");
    QTest::addColumn<int>("queda");

    const int visible = int(Queda::Visible), oculta = int(Queda::Oculta), descargada = int(Queda::Descargada);
    const QString admin = "Velmora 1.0 (Brelvo)";
    QTest::newRow("Crear & Eliminar") << "Principal" << admin << "boton_nuevo" << "Crear & Eliminar" << "Menu_Nuevo" << visible;
    QTest::newRow("Modificar") << "Principal" << admin << "boton_modificar" << "Modificar" << "Modificar" << visible;
    QTest::newRow("Reportes") << "Principal" << admin << "boton_reporte" << "Reportes" << "Reportes" << visible;
    QTest::newRow("Exportar") << "Principal" << admin << "cmd_exportar" << "Exportar" << "Exportar" << visible;
    QTest::newRow("Tendencia") << "Principal" << admin << "cmd_tende" << "  Tendencia Desempeño" << "Tendencia_y_Desempeño" << visible;
    QTest::newRow("Consulta KPI") << "Principal" << admin << "cmd_kpi" << "Consulta KPI" << "KPI" << visible;
    QTest::newRow("Historial") << "Principal" << admin << "cmd_historial" << "Historial" << "Historial" << visible;
    QTest::newRow("general Reportes") << "Principalgeneral" << "Form1" << "cmd_reportes" << "Reportes" << "Reportes" << visible;
    QTest::newRow("general Tendencia") << "Principalgeneral" << "Form1" << "cmd_tende" << "  Tendencia Desempeño" << "Tendencia_y_Desempeño" << visible;
    QTest::newRow("Principales") << "Reportes" << "" << "cmd_principales" << "Principales" << "Principales" << oculta;
    QTest::newRow("Departamentales") << "Reportes" << "" << "cmd_departamentales" << "Departamentales" << "Departamentales" << oculta;
    QTest::newRow("Salir de Reportes") << "Reportes" << "" << "cmd_salir_reporte" << "Salir" << "" << oculta;
    QTest::newRow("N Indicador") << "Menu_Nuevo" << "Nuevo" << "cmd_n_indicador" << "N Indicador" << "Nuevo" << descargada;
    QTest::newRow("Eliminar I") << "Menu_Nuevo" << "Nuevo" << "cmd_n_registro" << "Eliminar I" << "Eliminar" << descargada;
    QTest::newRow("N Registro") << "Menu_Nuevo" << "Nuevo" << "cmd_nuevo_registro" << "N Registro" << "Nuevo_Registro" << descargada;
    QTest::newRow("Salir de Nuevo") << "Menu_Nuevo" << "Nuevo" << "cmd_salir_reporte" << "Salir" << "" << descargada;
}

void TstMenus::botones()
{
    QFETCH(QString, ventana);
    QFETCH(QString, titulo);
    QFETCH(QString, boton);
    QFETCH(QString, texto);
    QFETCH(QString, muestra);
    QFETCH(int, queda);

    QPointer<QWidget> menu = EscenarioVentanas::registro().mostrar(ventana);
    QCOMPARE(menu->windowTitle(), titulo);
    QAbstractButton* b = EscenarioVentanas::control(ventana, boton);
    QVERIFY(b);
    QCOMPARE(texto_visible(b->text()), texto);
    QVERIFY(!b->icon().isNull());

    QTest::mouseClick(b, Qt::LeftButton);

    QStringList esperadas;
    if (Queda(queda) == Queda::Visible)
        esperadas << ventana;
    if (!muestra.isEmpty())
        esperadas << muestra;
    QCOMPARE(EscenarioVentanas::visibles(), esperadas);
    switch (Queda(queda)) {
    case Queda::Visible:
        QVERIFY(menu->isVisible());
        break;
    case Queda::Oculta:
        QCOMPARE(EscenarioVentanas::registro().ventana(ventana), menu.data());
        break;
    case Queda::Descargada:
        QVERIFY(!EscenarioVentanas::registro().ventana(ventana));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(menu.isNull());
        break;
    }
    QVERIFY(e->mensajes.mensajes.isEmpty());
    QCOMPARE(e->terminado, 0);
}

void TstMenus::terminan_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QString>("boton"); // empty: closed through the window manager
    QTest::addColumn<QString>("texto");

    QTest::newRow("Cancelar") << "FET049TF" << "cancelar" << "Cancelar";
    QTest::newRow("Salir del administrador") << "Principal" << "cmd_salir" << "Salir";
    QTest::newRow("Salir del general") << "Principalgeneral" << "Command1" << "Salir";
    QTest::newRow("cerrar el login") << "FET049TF" << "" << "";
    QTest::newRow("cerrar el administrador") << "Principal" << "" << "";
    QTest::newRow("cerrar el general") << "Principalgeneral" << "" << "";
}

void TstMenus::terminan()
{
    QFETCH(QString, ventana);
    QFETCH(QString, boton);
    QFETCH(QString, texto);

    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    if (boton.isEmpty()) {
        v->close();
    } else {
        QAbstractButton* b = EscenarioVentanas::control(ventana, boton);
        QCOMPARE(texto_visible(b->text()), texto);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QCOMPARE(e->terminado, 1);
    QCOMPARE(EscenarioVentanas::cargadas(), QStringList{ventana});
    QVERIFY(e->mensajes.mensajes.isEmpty());
}

void TstMenus::cerrar_una_pantalla_la_oculta_data()
{
    QTest::addColumn<QString>("ventana");
    for (const char* n : {"Reportes", "Menu_Nuevo", "Principales", "Tendencia_y_Desempeño", "Exportar"})
        QTest::newRow(n) << QString::fromUtf8(n);
}

void TstMenus::cerrar_una_pantalla_la_oculta()
{
    QFETCH(QString, ventana);
    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    QVERIFY(v->close());
    QVERIFY(!v->isVisible());
    QCOMPARE(EscenarioVentanas::registro().ventana(ventana), v);
    QCOMPARE(e->terminado, 0);
}

void TstMenus::reportes_se_vuelve_a_mostrar()
{
    EscenarioVentanas::registro().mostrar("Principal");
    pulsar("Principal", "boton_reporte");
    QWidget* reportes = EscenarioVentanas::registro().ventana("Reportes");
    pulsar("Reportes", "cmd_salir_reporte");
    QCOMPARE(EscenarioVentanas::visibles(), QStringList{"Principal"});

    pulsar("Principal", "boton_reporte");
    QCOMPARE(EscenarioVentanas::registro().ventana("Reportes"), reportes);
    QCOMPARE(EscenarioVentanas::visibles(), (QStringList{"Principal", "Reportes"}));

    pulsar("Reportes", "cmd_principales");
    QCOMPARE(EscenarioVentanas::visibles(), (QStringList{"Principal", "Principales"}));
    pulsar("Principal", "boton_reporte");
    QCOMPARE(EscenarioVentanas::visibles(), (QStringList{"Principal", "Reportes", "Principales"}));
}

void TstMenus::menu_nuevo_se_carga_de_nuevo()
{
    EscenarioVentanas::registro().mostrar("Principal");
    pulsar("Principal", "boton_nuevo");
    QPointer<QWidget> primero = EscenarioVentanas::registro().ventana("Menu_Nuevo");
    pulsar("Menu_Nuevo", "cmd_salir_reporte");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(primero.isNull());

    pulsar("Principal", "boton_nuevo");
    QWidget* segundo = EscenarioVentanas::registro().ventana("Menu_Nuevo");
    QVERIFY(segundo && segundo->isVisible());
    pulsar("Menu_Nuevo", "cmd_n_indicador");
    pulsar("Principal", "boton_nuevo");
    pulsar("Menu_Nuevo", "cmd_n_registro");
    QCOMPARE(EscenarioVentanas::visibles(), (QStringList{"Principal", "Nuevo", "Eliminar"}));
}

void TstMenus::usuario_general_solo_llega_a_reportes_y_tendencia()
{
    QWidget* general = EscenarioVentanas::registro().mostrar("Principalgeneral");
    QStringList botones;
    for (QAbstractButton* b : general->findChildren<QAbstractButton*>())
        botones << b->objectName();
    botones.sort();
    QCOMPARE(botones, (QStringList{"Command1", "cmd_reportes", "cmd_tende"}));

    pulsar("Principalgeneral", "cmd_tende");
    pulsar("Principalgeneral", "cmd_reportes");
    pulsar("Reportes", "cmd_principales");
    pulsar("Principalgeneral", "cmd_reportes");
    pulsar("Reportes", "cmd_departamentales");
    QCOMPARE(EscenarioVentanas::cargadas(),
             (QStringList{"Principalgeneral", "Reportes", "Principales", "Departamentales", "Tendencia_y_Desempeño"}));
}

// With the real way of ending: the event loop returns and no window is left
// on the screen.
void TstMenus::salir_termina_de_verdad()
{
    establecer_terminador({});
    EscenarioVentanas::registro().mostrar("Principal");
    pulsar("Principal", "boton_reporte");
    pulsar("Principal", "cmd_tende");
    QAbstractButton* salir = EscenarioVentanas::control("Principal", "cmd_salir");
    QMetaObject::invokeMethod(salir, &QAbstractButton::click, Qt::QueuedConnection);
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(EscenarioVentanas::visibles(), QStringList());
    QCOMPARE(EscenarioVentanas::cargadas(), (QStringList{"Principal", "Reportes", "Tendencia_y_Desempeño"}));
}

void TstMenus::tabulador_sigue_los_botones_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QStringList>("orden");
    // Down the left column, down the right one, then "Salir" at the foot.
    QTest::newRow("administrador") << "Principal"
                                   << QStringList{"boton_nuevo", "boton_modificar", "cmd_kpi", "cmd_historial",
                                                  "boton_reporte", "cmd_tende", "cmd_exportar", "cmd_salir"};
    QTest::newRow("general") << "Principalgeneral" << QStringList{"cmd_reportes", "cmd_tende", "Command1"};
    QTest::newRow("reportes") << "Reportes"
                              << QStringList{"cmd_principales", "cmd_departamentales", "cmd_salir_reporte"};
}

// Tab from the first button visits every button in the order they stand and
// comes back to the first.
void TstMenus::tabulador_sigue_los_botones()
{
    QFETCH(QString, ventana);
    QFETCH(QStringList, orden);
    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    QVERIFY(QTest::qWaitForWindowActive(v));
    EscenarioVentanas::control(ventana, orden.first())->setFocus(Qt::TabFocusReason);
    QStringList recorrido{QApplication::focusWidget()->objectName()};
    for (qsizetype i = 0; i < orden.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        recorrido << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(recorrido, orden + QStringList{orden.first()});
}

QTEST_MAIN(TstMenus)
#include "tst_menus.moc"
