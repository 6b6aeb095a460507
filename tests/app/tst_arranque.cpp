#include "app/aplicacion.h"
#include "data/conexion.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/registro_ventanas.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace velmora;

// Start-up reads conexion.dsn from the program's own folder, so each case
// puts one there (or takes it away) before it starts.
class TstArranque final : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void con_origen_de_datos_se_ve_el_login();
    void sin_origen_de_datos_termina_con_error();
    void el_login_lleva_a_su_menu_data();
    void el_login_lleva_a_su_menu();

private:
    static QString ruta_dsn() { return QCoreApplication::applicationDirPath() + "/conexion.dsn"; }
};

void TstArranque::cleanup()
{
    QFile::remove(ruta_dsn());
    RegistroVentanas::instancia().descargar_todas();
    Conexion().cerrar();
}

void TstArranque::con_origen_de_datos_se_ve_el_login()
{
    BasePrueba base;
    QFile::remove(ruta_dsn());
    QVERIFY(QFile::copy(base.dsn(), ruta_dsn()));
    RegistroMensajes mensajes;
    QVERIFY(iniciar());
    QVERIFY(mensajes.mensajes.isEmpty());
    QVERIFY(Conexion().abierta());
    QWidget* login = RegistroVentanas::instancia().ventana("FET049TF");
    QVERIFY(login && login->isVisible());
    QWidget* principal = RegistroVentanas::instancia().ventana("Principal");
    QVERIFY(principal && !principal->isVisible());
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(w == login || !w->isVisible(), qPrintable(w->objectName()));
}

void TstArranque::sin_origen_de_datos_termina_con_error()
{
    QFile::remove(ruta_dsn());
    RegistroMensajes mensajes;
    QVERIFY(!iniciar());
    QCOMPARE(mensajes.mensajes.size(), 1);
    QVERIFY(mensajes.mensajes[0].texto.contains("conexion.dsn"));
    QVERIFY(mensajes.mensajes[0].texto.startsWith("Error IM002"));
    QVERIFY(!RegistroVentanas::instancia().ventana("FET049TF"));
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void TstArranque::el_login_lleva_a_su_menu_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("menu");
    QTest::newRow("administrador") << "Administrador" << "mirtovask" << "Principal";
    QTest::newRow("general") << "General" << "quandy" << "Principalgeneral";
}

// From start-up to the menu; the administrator menu shown is the one loaded
// hidden at start-up.
void TstArranque::el_login_lleva_a_su_menu()
{
    QFETCH(QString, tipo);
    QFETCH(QString, clave);
    QFETCH(QString, menu);
    BasePrueba base;
    QFile::remove(ruta_dsn());
    QVERIFY(QFile::copy(base.dsn(), ruta_dsn()));
    RegistroMensajes mensajes;
    QVERIFY(iniciar());
    RegistroVentanas& registro = RegistroVentanas::instancia();
    QWidget* principal = registro.ventana("Principal");
    QWidget* login = registro.ventana("FET049TF");

    auto* usuario = control<QComboBox>(login, "usuario");
    QTest::keyClicks(usuario->lineEdit(), tipo);
    QTest::keyClicks(control<QLineEdit>(login, "contraseña"), clave);
    pulsar(login, "cargar");

    QVERIFY(mensajes.mensajes.isEmpty());
    QVERIFY(!login->isVisible());
    QVERIFY(registro.ventana(menu)->isVisible());
    QCOMPARE(registro.ventana("Principal"), principal);
    QCOMPARE(principal->isVisible(), menu == "Principal");
}

QTEST_MAIN(TstArranque)
#include "tst_arranque.moc"
