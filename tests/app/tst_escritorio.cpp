// SPDX-License-Identifier: GPL-3.0-or-later
#include "ventanas_prueba.h"
#include "ui/grid/grilla.h"
#include "ui/traducciones.h"
#include "ui/twips.h"
#include "ui/ventana_escritorio.h"

#include <QAccessible>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <memory>

using namespace velmora;

// The program as a desktop user meets it, through the windows it registers.
class TstEscritorio final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void botones_en_castellano_data();
    void botones_en_castellano();
    void mensaje_sobre_su_ventana();
    void dialogo_de_archivos_en_castellano();
    void intro_pulsa_el_boton_principal_data();
    void intro_pulsa_el_boton_principal();
    void escape_cierra_data();
    void escape_cierra();
    void ctrl_q_termina_data();
    void ctrl_q_termina();
    void salir_con_valores_sin_guardar_data();
    void salir_con_valores_sin_guardar();
    void teclas_de_acceso_data();
    void teclas_de_acceso();
    void etiqueta_lleva_a_su_caja_data();
    void etiqueta_lleva_a_su_caja();
    void tecla_de_acceso_pulsa();
    void listas_con_nombre_data();
    void listas_con_nombre();
    void grilla_crece_con_la_ventana_data();
    void grilla_crece_con_la_ventana();
    void recuerda_tamano_y_lugar();
    void recuerda_maximizada();
    void ayuda_y_version_sin_pantalla_data();
    void ayuda_y_version_sin_pantalla();
    void ayuda_en_castellano();
    void orden_rechazada_data();
    void orden_rechazada();

private:
    std::unique_ptr<EscenarioVentanas> escenario_;
};

void TstEscritorio::init()
{
    configuracion().clear();
    escenario_ = std::make_unique<EscenarioVentanas>();
}

void TstEscritorio::cleanup()
{
    escenario_.reset();
}

void TstEscritorio::botones_en_castellano_data()
{
    QTest::addColumn<QLocale>("local");
    QTest::newRow("es_ES") << QLocale(QLocale::Spanish, QLocale::Spain);
    QTest::newRow("es_MX") << QLocale(QLocale::Spanish, QLocale::Mexico);
    QTest::newRow("en_US: castellano igual") << QLocale(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("C: castellano igual") << QLocale::c();
}

// Qt's own buttons speak the program's language.
void TstEscritorio::botones_en_castellano()
{
    QFETCH(QLocale, local);
    QVERIFY(instalar_traducciones(*qApp, local));
    QMessageBox caja;
    caja.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(texto_visible(caja.button(QMessageBox::Ok)->text()), QStringLiteral("Aceptar"));
    QCOMPARE(texto_visible(caja.button(QMessageBox::Cancel)->text()), QStringLiteral("Cancelar"));
    QCOMPARE(texto_visible(caja.button(QMessageBox::Yes)->text()), QStringLiteral("Sí"));
    // Context menus of the text boxes too.
    QCOMPARE(texto_visible(QCoreApplication::translate("QLineEdit", "&Copy")), QStringLiteral("Copiar"));
}

// The real message box: over the window that raised it, "Aceptar" button.
void TstEscritorio::mensaje_sobre_su_ventana()
{
    QVERIFY(instalar_traducciones(*qApp));
    const Mensajero grabador = establecer_mensajero(nullptr); // the real box
    QWidget* menu = EscenarioVentanas::registro().mostrar(QStringLiteral("Principales"));
    QVERIFY(QTest::qWaitForWindowActive(menu));
    QPointer<QWidget> padre;
    QString boton;
    QTimer::singleShot(0, this, [&] {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caja)
            return;
        padre = caja->parentWidget();
        boton = texto_visible(caja->button(QMessageBox::Ok)->text());
        caja->accept();
    });
    mensaje(QStringLiteral("Prueba"));
    establecer_mensajero(grabador);
    QCOMPARE(padre.data(), menu);
    QCOMPARE(boton, QStringLiteral("Aceptar"));
}

// The export's file dialog (Qt's own, as on a desktop without a portal)
// calls a folder "Carpeta", not "Folder".
void TstEscritorio::dialogo_de_archivos_en_castellano()
{
    QVERIFY(instalar_traducciones(*qApp, QLocale::c()));
    QTemporaryDir carpeta;
    QVERIFY(QDir(carpeta.path()).mkdir(QStringLiteral("Informes")));
    QWidget* v = EscenarioVentanas::registro().mostrar(QStringLiteral("Exportar"));
    control<QLineEdit>(v, QStringLiteral("Text1"))->setText(carpeta.filePath(QStringLiteral("Datos.xlsx")));
    QString tipo;
    QStringList encabezados;
    QTimer espera;
    espera.setInterval(20);
    int vueltas = 0;
    connect(&espera, &QTimer::timeout, this, [&] {
        auto* dialogo = v->findChild<QFileDialog*>(QStringLiteral("dialogo_exportar"));
        if (!dialogo || !dialogo->isVisible())
            return;
        auto* modelo = dialogo->findChild<QFileSystemModel*>();
        const QModelIndex i = modelo ? modelo->index(carpeta.filePath(QStringLiteral("Informes")), 2) : QModelIndex();
        tipo = i.isValid() ? i.data().toString() : QString();
        if (tipo.isEmpty() && ++vueltas < 250)
            return;
        for (int c = 0; modelo && c < modelo->columnCount(); ++c)
            encabezados << modelo->headerData(c, Qt::Horizontal).toString();
        espera.stop();
        dialogo->reject();
    });
    espera.start();
    pulsar(v, QStringLiteral("cmd_examinar"));
    QCOMPARE(tipo, QStringLiteral("Carpeta"));
    QCOMPARE(encabezados.first(), QStringLiteral("Nombre"));
}

void TstEscritorio::intro_pulsa_el_boton_principal_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QString>("control"); // where Enter is pressed
    QTest::addColumn<QString>("boton");
    QTest::newRow("ingreso") << "FET049TF" << "contraseña" << "cargar";
    QTest::newRow("ingreso, en la lista") << "FET049TF" << "usuario" << "cargar";
    QTest::newRow("principales") << "Principales" << "Cmb_Año_Reporte" << "Button_Cargar_ReporteSocial";
    QTest::newRow("departamentales") << "Departamentales" << "Cmb_Año_Reporte" << "Button_Cargar_ReporteSocial";
    QTest::newRow("tendencia") << "Tendencia_y_Desempeño" << "Cmb_Año_TendenciasyDesempeño" << "Button_LLenar_TendeciasyDesempeño";
    QTest::newRow("modificar") << "Modificar" << "Combo_año" << "boton_consulta";
    QTest::newRow("kpi") << "KPI" << "Cmb_Año_KPI" << "button_Consultar_KPI";
    QTest::newRow("nuevo") << "Nuevo" << "Text_nuevo_indicador" << "Command1";
    QTest::newRow("nuevo registro") << "Nuevo_Registro" << "Text_meta" << "Command1";
    QTest::newRow("historial") << "Historial" << "Combo_indicador" << "boton_consulta";
}

void TstEscritorio::intro_pulsa_el_boton_principal()
{
    QFETCH(QString, ventana);
    QFETCH(QString, control);
    QFETCH(QString, boton);
    RegistroMensajes mensajes;
    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    QVERIFY(QTest::qWaitForWindowActive(v));
    auto* b = v->findChild<QPushButton*>(boton);
    QVERIFY(b);
    QVERIFY(b->isDefault());
    QSignalSpy pulsado(b, &QPushButton::clicked);
    auto* c = v->findChild<QWidget*>(control);
    QVERIFY(c);
    auto* lista = qobject_cast<QComboBox*>(c);
    QWidget* destino = lista && lista->lineEdit() ? lista->lineEdit() : c;
    destino->setFocus();
    QTest::keyClick(destino, Qt::Key_Return);
    QCOMPARE(pulsado.size(), 1);
}

void TstEscritorio::escape_cierra_data()
{
    QTest::addColumn<QString>("ventana");
    for (const QString& v : TODAS_LAS_VENTANAS)
        QTest::newRow(qPrintable(v)) << v;
}

// Escape closes a screen (it hides); on the login and the two main menus,
// whose closing ends the program, it does nothing at all.
void TstEscritorio::escape_cierra()
{
    QFETCH(QString, ventana);
    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    QVERIFY(QTest::qWaitForWindowActive(v));
    const bool principal = ventana == QStringLiteral("FET049TF") || ventana == QStringLiteral("Principal")
                           || ventana == QStringLiteral("Principalgeneral");
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : v, Qt::Key_Escape);
    QCOMPARE(escenario_->terminado, 0);
    if (principal)
        QVERIFY(v->isVisible());
    else
        QVERIFY(!EscenarioVentanas::registro().ventana(ventana) || !v->isVisible());
}

void TstEscritorio::ctrl_q_termina_data()
{
    QTest::addColumn<QString>("ventana");
    for (const char* v : {"FET049TF", "Principal", "Principalgeneral", "Principales", "Exportar", "Modificar"})
        QTest::newRow(v) << QString::fromLatin1(v);
}

// Ctrl+Q ends the program from any window, with no question when nothing
// typed waits to be saved.
void TstEscritorio::ctrl_q_termina()
{
    QFETCH(QString, ventana);
    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    QVERIFY(QTest::qWaitForWindowActive(v));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : v, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(escenario_->terminado, 1);
    QVERIFY(escenario_->mensajes.preguntas.isEmpty());
}

void TstEscritorio::salir_con_valores_sin_guardar_data()
{
    QTest::addColumn<QString>("como"); // how the user asks to end
    QTest::addColumn<bool>("respuesta");
    QTest::addColumn<bool>("guardar_antes");
    QTest::newRow("Salir, no") << "Salir" << false << false;
    QTest::newRow("Salir, sí") << "Salir" << true << false;
    QTest::newRow("Ctrl+Q, no") << "Ctrl+Q" << false << false;
    QTest::newRow("cerrar el menú, no") << "cerrar" << false << false;
    QTest::newRow("Salir tras guardar: sin pregunta") << "Salir" << true << true;
}

// Values typed in Modificar and not saved: ending the program asks first, and
// "No" leaves everything as it was with Modificar in front.
void TstEscritorio::salir_con_valores_sin_guardar()
{
    QFETCH(QString, como);
    QFETCH(bool, respuesta);
    QFETCH(bool, guardar_antes);
    RegistroVentanas& registro = EscenarioVentanas::registro();
    QWidget* menu = registro.mostrar(QStringLiteral("Principal"));
    QWidget* modificar = registro.mostrar(QStringLiteral("Modificar"));
    QVERIFY(QTest::qWaitForWindowActive(modificar));
    auto* kpi = control<QComboBox>(modificar, QStringLiteral("Combo_kpi"));
    auto* anio = control<QComboBox>(modificar, QStringLiteral("Combo_año"));
    kpi->setCurrentIndex(0);
    anio->setCurrentIndex(anio->count() - 1);
    pulsar(modificar, QStringLiteral("boton_consulta"));
    auto* grilla = control<Grilla>(modificar, QStringLiteral("MSFlexGrid1"));
    auto* editor = control<QLineEdit>(modificar, QStringLiteral("Text1"));
    const QRect celda = grilla->rectangulo_celda().translated(-grilla->viewport()->pos());
    QTest::mouseClick(grilla->viewport(), Qt::LeftButton, {}, celda.center());
    QVERIFY(editor->isVisible());
    QTest::keyClicks(editor, QStringLiteral("7"));
    if (guardar_antes)
        pulsar(modificar, QStringLiteral("boton_guardar"));
    escenario_->mensajes.respuesta = respuesta;

    menu->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(menu));
    if (como == QStringLiteral("Salir"))
        pulsar(menu, QStringLiteral("cmd_salir"));
    else if (como == QStringLiteral("Ctrl+Q"))
        QTest::keyClick(menu, Qt::Key_Q, Qt::ControlModifier);
    else
        menu->close();

    if (guardar_antes) {
        QVERIFY(escenario_->mensajes.preguntas.isEmpty());
        QCOMPARE(escenario_->terminado, 1);
        return;
    }
    QCOMPARE(escenario_->mensajes.preguntas.size(), 1);
    QVERIFY2(escenario_->mensajes.preguntas[0].contains(QStringLiteral("Modificar"))
                 && escenario_->mensajes.preguntas[0].contains(QStringLiteral("no se guardaron")),
             qPrintable(escenario_->mensajes.preguntas[0]));
    QCOMPARE(escenario_->terminado, respuesta ? 1 : 0);
    if (!respuesta) {
        QVERIFY(menu->isVisible());
        QVERIFY(modificar->isVisible());
        QTRY_COMPARE(QApplication::activeWindow(), modificar);
    }
}

void TstEscritorio::teclas_de_acceso_data()
{
    escape_cierra_data();
}

// Each button, and each label that names a box, has its own access key in
// its window; captions read as before.
void TstEscritorio::teclas_de_acceso()
{
    QFETCH(QString, ventana);
    QWidget* v = EscenarioVentanas::registro().cargar(ventana);
    QSet<QChar> usadas;
    QStringList textos;
    for (QAbstractButton* b : v->findChildren<QAbstractButton*>())
        textos << b->text();
    for (QLabel* l : v->findChildren<QLabel*>())
        if (l->buddy())
            textos << l->text();
    for (const QString& texto : std::as_const(textos)) {
        int marca = -1;
        for (int i = 0; i + 1 < texto.size(); ++i) {
            if (texto.at(i) == u'&' && texto.at(i + 1) == u'&')
                ++i;
            else if (texto.at(i) == u'&')
                marca = i;
        }
        QVERIFY2(marca >= 0, qPrintable(texto));
        const QChar letra = texto.at(marca + 1).toLower();
        QVERIFY2(!usadas.contains(letra), qPrintable(texto));
        usadas.insert(letra);
        QVERIFY2(!texto_visible(texto).contains(u'&') || texto == QStringLiteral("&Crear && Eliminar"),
                 qPrintable(texto));
    }
    QVERIFY(!usadas.isEmpty());
}

void TstEscritorio::etiqueta_lleva_a_su_caja_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QString>("etiqueta"); // its visible text
    QTest::addColumn<QString>("caja");
    QTest::newRow("Usuario") << "FET049TF" << "Usuario" << "usuario";
    QTest::newRow("Contraseña") << "FET049TF" << "Contraseña" << "contraseña";
    QTest::newRow("Perspectiva") << "Principales" << "Perspectiva :" << "Cmb_Perspectiva_Reporte";
    QTest::newRow("Año") << "Principales" << "Año :" << "Cmb_Año_Reporte";
    QTest::newRow("Mes") << "Principales" << "Mes :" << "Cmb_mes_Reporte";
    QTest::newRow("Año de Modificar") << "Modificar" << "Año :" << "Combo_año";
}

// Alt and the label's key puts the cursor in the box it names.
void TstEscritorio::etiqueta_lleva_a_su_caja()
{
    QFETCH(QString, ventana);
    QFETCH(QString, etiqueta);
    QFETCH(QString, caja);
    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    QVERIFY(QTest::qWaitForWindowActive(v));
    QLabel* rotulo = nullptr;
    for (QLabel* l : v->findChildren<QLabel*>())
        if (texto_visible(l->text()) == etiqueta)
            rotulo = l;
    QVERIFY2(rotulo, qPrintable(etiqueta));
    auto* destino = v->findChild<QWidget*>(caja);
    QVERIFY(destino);
    QCOMPARE(rotulo->buddy(), destino);
    const QString texto = rotulo->text();
    const qsizetype marca = texto.indexOf(u'&');
    QVERIFY2(marca >= 0 && marca + 1 < texto.size(), qPrintable(texto));
    const QChar letra = texto.at(marca + 1).toUpper();
    // Somewhere else first, then the key.
    v->findChild<QPushButton*>()->setFocus();
    QVERIFY2(letra.unicode() < 0x80, qPrintable(texto));
    QTest::keyClick(v, Qt::Key(letra.unicode()), Qt::AltModifier);
    QTRY_VERIFY2(destino->hasFocus() || destino->isAncestorOf(QApplication::focusWidget()), qPrintable(texto));
}

void TstEscritorio::tecla_de_acceso_pulsa()
{
    QWidget* v = EscenarioVentanas::registro().mostrar(QStringLiteral("Principal"));
    QVERIFY(QTest::qWaitForWindowActive(v));
    auto* b = v->findChild<QPushButton*>(QStringLiteral("boton_modificar"));
    QCOMPARE(b->text(), QStringLiteral("&Modificar"));
    QSignalSpy pulsado(b, &QPushButton::clicked);
    QTest::keyClick(v, Qt::Key_M, Qt::AltModifier);
    QTRY_COMPARE(pulsado.size(), 1); // the button shows itself pressed a moment first
    QWidget* modificar = EscenarioVentanas::registro().ventana(QStringLiteral("Modificar"));
    QVERIFY(modificar && modificar->isVisible());
}

void TstEscritorio::listas_con_nombre_data()
{
    escape_cierra_data();
}

// A screen reader names every list by the label beside it.
void TstEscritorio::listas_con_nombre()
{
    QFETCH(QString, ventana);
    QWidget* v = EscenarioVentanas::registro().cargar(ventana);
    for (QComboBox* lista : v->findChildren<QComboBox*>()) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(lista);
        QVERIFY(i);
        QVERIFY2(!i->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(lista->objectName()));
    }
}

void TstEscritorio::grilla_crece_con_la_ventana_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QString>("grilla");
    QTest::addColumn<bool>("ancho");
    QTest::addColumn<bool>("alto");
    QTest::newRow("principales") << "Principales" << "Flex3" << true << true;
    QTest::newRow("departamentales") << "Departamentales" << "Flex31" << true << true;
    QTest::newRow("modificar: los doce meses") << "Modificar" << "MSFlexGrid1" << true << false;
    QTest::newRow("kpi") << "KPI" << "Flex6" << true << true;
    QTest::newRow("exportar") << "Exportar" << "MSHFlexGrid" << true << true;
    QTest::newRow("tendencia: más meses") << "Tendencia_y_Desempeño" << "mshtd" << true << false;
}

void TstEscritorio::grilla_crece_con_la_ventana()
{
    QFETCH(QString, ventana);
    QFETCH(QString, grilla);
    QFETCH(bool, ancho);
    QFETCH(bool, alto);
    QWidget* v = EscenarioVentanas::registro().mostrar(ventana);
    QVERIFY(QTest::qWaitForWindowExposed(v));
    auto* g = v->findChild<Grilla*>(grilla);
    QVERIFY2(g, qPrintable(grilla));
    const QSize antes = g->size();
    v->resize(v->size() - QSize(40, 30)); // a smaller window first, where it may
    v->resize(v->minimumSize().expandedTo(v->size()) + QSize(120, 90));
    QTRY_VERIFY(g->width() != antes.width() || g->height() != antes.height());
    const QSize pequeno = g->size();
    v->resize(v->size() + QSize(100, 80));
    if (ancho)
        QTRY_COMPARE(g->width(), pequeno.width() + 100);
    if (alto)
        QTRY_COMPARE(g->height(), pequeno.height() + 80);
}

// Size and place survive unloading the window and running again.
void TstEscritorio::recuerda_tamano_y_lugar()
{
    RegistroVentanas& registro = EscenarioVentanas::registro();
    QWidget* v = registro.mostrar(QStringLiteral("Principales"));
    QVERIFY(QTest::qWaitForWindowExposed(v));
    const QRect nueva(QPoint(37, 45), v->size() + QSize(40, 30)); // still inside the screen
    v->setGeometry(nueva);
    QTRY_COMPARE(v->geometry(), nueva);
    registro.descargar(QStringLiteral("Principales"));
    configuracion().sync();
    QVERIFY(QSettings(carpeta_configuracion(), QSettings::IniFormat).contains(QStringLiteral("ventanas/Principales/geometria")));

    v = registro.mostrar(QStringLiteral("Principales"));
    QVERIFY(QTest::qWaitForWindowExposed(v));
    QCOMPARE(v->size(), nueva.size());
    QCOMPARE(v->geometry().topLeft(), nueva.topLeft());
    // Another window keeps its own starting size.
    QWidget* otra = registro.cargar(QStringLiteral("Departamentales"));
    QCOMPARE(otra->size(), QSize(twips_a_px(10095, otra), twips_a_px(5775, otra)));
}

void TstEscritorio::recuerda_maximizada()
{
    RegistroVentanas& registro = EscenarioVentanas::registro();
    QWidget* v = registro.cargar(QStringLiteral("KPI"));
    v->showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(v));
    const QRect pantalla = v->screen()->availableGeometry();
    QTRY_VERIFY(v->isMaximized());
    QVERIFY(pantalla.contains(v->frameGeometry()));
    registro.descargar(QStringLiteral("KPI"));
    v = registro.mostrar(QStringLiteral("KPI"));
    QTRY_VERIFY(v->isMaximized());
}

void TstEscritorio::ayuda_y_version_sin_pantalla_data()
{
    QTest::addColumn<QString>("argumento");
    QTest::addColumn<QString>("salida");
    QTest::newRow("--help") << "--help" << "Uso:";
    QTest::newRow("-h") << "-h" << "--version";
    QTest::newRow("--version") << "--version" << "velmora " VELMORA_VERSION;
    QTest::newRow("-v") << "-v" << "velmora " VELMORA_VERSION;
    QTest::newRow("licencia") << "--version" << "Licencia GPL-3.0-or-later: GNU GPL versión 3 o posterior";
}

// Answered and ended before any window system is asked for.
void TstEscritorio::ayuda_y_version_sin_pantalla()
{
    QFETCH(QString, argumento);
    QFETCH(QString, salida);
    QProcess programa;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.remove(QStringLiteral("DISPLAY"));
    entorno.remove(QStringLiteral("WAYLAND_DISPLAY"));
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    programa.setProcessEnvironment(entorno);
    programa.start(QStringLiteral(VELMORA_PROGRAMA), {argumento});
    QVERIFY(programa.waitForFinished(30000));
    QCOMPARE(programa.exitStatus(), QProcess::NormalExit);
    QCOMPARE(programa.exitCode(), 0);
    QVERIFY2(QString::fromUtf8(programa.readAllStandardOutput()).contains(salida),
             qPrintable(QString::fromUtf8(programa.readAllStandardError())));
}

// Every line of --help is the program's own Spanish, none of Qt's English.
void TstEscritorio::ayuda_en_castellano()
{
    QProcess programa;
    programa.start(QStringLiteral(VELMORA_PROGRAMA), {QStringLiteral("--help")});
    QVERIFY(programa.waitForFinished(30000));
    QCOMPARE(programa.exitCode(), 0);
    const QString ayuda = QString::fromUtf8(programa.readAllStandardOutput());
    QVERIFY2(ayuda.contains(QStringLiteral("Muestra esta ayuda")), qPrintable(ayuda));
    QVERIFY2(ayuda.contains(QStringLiteral("Muestra la versión")), qPrintable(ayuda));
    for (const char* ingles : {"Displays", "Usage", "Options:", "help on commandline", "version information"})
        QVERIFY2(!ayuda.contains(QLatin1String(ingles)), ingles);
}

void TstEscritorio::orden_rechazada_data()
{
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QString>("plataforma"); // QT_QPA_PLATFORM; empty: unset; "display X": DISPLAY=X
    QTest::addColumn<int>("salida");
    QTest::addColumn<QString>("error");
    QTest::newRow("opción desconocida, con pantalla")
        << QStringList{"--sin-esto"} << "offscreen" << 2 << "opción desconocida «--sin-esto»";
    QTest::newRow("opción desconocida, sin pantalla")
        << QStringList{"-x"} << "" << 2 << "Pruebe «velmora --help»";
    QTest::newRow("argumento suelto") << QStringList{"datos.xlsx"} << "offscreen" << 2 << "«velmora --help»";
    QTest::newRow("sin pantalla") << QStringList{} << "" << 1 << "no hay pantalla donde abrir las ventanas";
    QTest::newRow("sin pantalla, xcb") << QStringList{} << "xcb" << 1 << "no hay pantalla";
    QTest::newRow("DISPLAY sin servidor X") << QStringList{} << "display :987" << 1 << "no hay pantalla";
    QTest::newRow("sin pantalla, -platform wayland")
        << QStringList{"-platform", "wayland"} << "offscreen" << 1 << "no hay pantalla";
}

// A wrong command line or a missing display is told in Spanish on standard
// error and ends with a failure code, never with Qt's abort.
void TstEscritorio::orden_rechazada()
{
    QFETCH(QStringList, argumentos);
    QFETCH(QString, plataforma);
    QFETCH(int, salida);
    QFETCH(QString, error);
    QProcess programa;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.remove(QStringLiteral("DISPLAY"));
    entorno.remove(QStringLiteral("WAYLAND_DISPLAY"));
    entorno.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    if (plataforma.startsWith(QStringLiteral("display "))) {
        entorno.insert(QStringLiteral("DISPLAY"), plataforma.mid(8));
        entorno.remove(QStringLiteral("QT_QPA_PLATFORM"));
    } else if (plataforma.isEmpty())
        entorno.remove(QStringLiteral("QT_QPA_PLATFORM"));
    else
        entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), plataforma);
    programa.setProcessEnvironment(entorno);
    programa.start(QStringLiteral(VELMORA_PROGRAMA), argumentos);
    QVERIFY(programa.waitForFinished(30000));
    const QString errores = QString::fromUtf8(programa.readAllStandardError());
    QCOMPARE(programa.exitStatus(), QProcess::NormalExit);
    QVERIFY2(programa.exitCode() == salida, qPrintable(QString::number(programa.exitCode()) + u' ' + errores));
    QVERIFY2(errores.contains(error), qPrintable(errores));
}

QTEST_MAIN(TstEscritorio)
#include "tst_escritorio.moc"
