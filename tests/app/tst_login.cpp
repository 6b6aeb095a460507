// SPDX-License-Identifier: GPL-3.0-or-later
#include "ventanas_prueba.h"
#include "ui/ventana_escritorio.h"

#include "data/comandos.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

using namespace velmora;

// The login window: the user type and the password choose the menu.
class TstLogin final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void al_abrir();
    void orden_del_foco();
    void regla_data();
    void regla();
    void sin_limite_de_intentos();
    void intro_en_la_clave_carga();

private:
    QComboBox* usuario() const { return EscenarioVentanas::control<QComboBox>("FET049TF", "usuario"); }
    QLineEdit* contraseña() const { return EscenarioVentanas::control<QLineEdit>("FET049TF", "contraseña"); }
    QPushButton* boton(const char* nombre) const { return EscenarioVentanas::control<QPushButton>("FET049TF", nombre); }

    std::unique_ptr<EscenarioVentanas> e;
    QWidget* login = nullptr;
};

void TstLogin::init()
{
    e = std::make_unique<EscenarioVentanas>();
    login = EscenarioVentanas::registro().mostrar("FET049TF");
    QVERIFY(login);
}

void TstLogin::cleanup()
{
    e.reset();
}

void TstLogin::al_abrir()
{
    QCOMPARE(login->windowTitle(), QString("Form1"));
    QVERIFY(usuario()->isEditable());
    QCOMPARE(usuario()->count(), 2);
    QCOMPARE(usuario()->itemText(0), QString("Administrador"));
    QCOMPARE(usuario()->itemText(1), QString("General"));
    QCOMPARE(usuario()->currentIndex(), -1);
    QCOMPARE(usuario()->currentText(), QString());
    QCOMPARE(contraseña()->text(), QString());
    QCOMPARE(texto_visible(boton("cargar")->text()), QString("Cargar"));
    QCOMPARE(texto_visible(boton("cancelar")->text()), QString("Cancelar"));
    QVERIFY(boton("cargar")->icon().isNull());
    QVERIFY(boton("cancelar")->icon().isNull());

    QTest::keyClicks(contraseña(), "quandy");
    QCOMPARE(contraseña()->displayText(), QString("******"));
}

void TstLogin::orden_del_foco()
{
    QApplication::setActiveWindow(login);
    QVERIFY(QTest::qWaitForWindowActive(login));
    // The window opens with the focus on the user type.
    const QList<QWidget*> orden = {usuario(), contraseña(), boton("cargar"), boton("cancelar"), usuario()};
    for (int i = 0; i < orden.size(); ++i) {
        QWidget* foco = QApplication::focusWidget();
        // An editable list takes the focus in its text box.
        if (foco && foco->parentWidget() == usuario())
            foco = usuario();
        QCOMPARE(foco, orden[i]);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

void TstLogin::regla_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<bool>("elegido"); // picked from the list, or typed
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<QString>("menu");

    const QString tipo = "Tienes que seleccionar el tipo de Usuario";
    const QString clave = "Contraseña no Válida";
    QTest::newRow("administrador") << "Administrador" << true << "mirtovask" << "" << "Principal";
    QTest::newRow("administrador escrito") << "Administrador" << false << "mirtovask" << "" << "Principal";
    QTest::newRow("general") << "General" << true << "quandy" << "" << "Principalgeneral";
    QTest::newRow("general escrito") << "General" << false << "quandy" << "" << "Principalgeneral";
    QTest::newRow("clave en mayúscula") << "Administrador" << true << "Mirtovask" << clave << "";
    QTest::newRow("clave con blanco final") << "Administrador" << true << "mirtovask " << clave << "";
    QTest::newRow("clave general para administrador") << "Administrador" << true << "quandy" << clave << "";
    QTest::newRow("clave de administrador para general") << "General" << true << "mirtovask" << clave << "";
    QTest::newRow("general sin clave") << "General" << true << "" << clave << "";
    QTest::newRow("general clave en mayúscula") << "General" << true << "QUANDY" << clave << "";
    QTest::newRow("sin tipo") << "" << false << "mirtovask" << tipo << "";
    QTest::newRow("sin tipo ni clave") << "" << false << "" << tipo << "";
    QTest::newRow("tipo en minúscula") << "administrador" << false << "mirtovask" << tipo << "";
    QTest::newRow("tipo con blanco final") << "General " << false << "quandy" << tipo << "";
    QTest::newRow("tipo con blanco inicial") << " General" << false << "quandy" << tipo << "";
    QTest::newRow("otro tipo") << "Invitado" << false << "quandy" << tipo << "";
}

void TstLogin::regla()
{
    QFETCH(QString, tipo);
    QFETCH(bool, elegido);
    QFETCH(QString, clave);
    QFETCH(QString, mensaje);
    QFETCH(QString, menu);

    if (elegido)
        usuario()->setCurrentIndex(usuario()->findText(tipo));
    else
        QTest::keyClicks(usuario()->lineEdit(), tipo);
    QTest::keyClicks(contraseña(), clave);
    QCOMPARE(usuario()->currentText(), tipo);
    QCOMPARE(contraseña()->text(), clave);

    QTest::mouseClick(boton("cargar"), Qt::LeftButton);

    if (mensaje.isEmpty()) {
        QVERIFY(e->mensajes.mensajes.isEmpty());
        QCOMPARE(EscenarioVentanas::visibles(), QStringList{menu});
        QVERIFY(!login->isVisible());
        // From now on the history names the user type of every change.
        Conexion().ejecutar(comando_modificar("1", "2", "3", "229"));
        Resultado r = Conexion().ejecutar(comando_exec("Consulta_historial", {"Margen operativo"}));
        QVERIFY(!r.eof());
        QCOMPARE(r.texto("Tipo de usuario"), tipo);
        return;
    }
    QCOMPARE(e->mensajes.mensajes.size(), 1);
    QCOMPARE(e->mensajes.mensajes[0].texto, mensaje);
    QCOMPARE(e->mensajes.mensajes[0].titulo, QString("Mensajes"));
    QCOMPARE(e->mensajes.mensajes[0].icono, IconoMensaje::Informacion);
    // The window stays as it was, entries included, and no menu is loaded.
    QCOMPARE(EscenarioVentanas::visibles(), QStringList{"FET049TF"});
    QCOMPARE(EscenarioVentanas::cargadas(), QStringList{"FET049TF"});
    QCOMPARE(usuario()->currentText(), tipo);
    QCOMPARE(contraseña()->text(), clave);
    QCOMPARE(e->terminado, 0);
}

void TstLogin::sin_limite_de_intentos()
{
    usuario()->setCurrentIndex(1);
    for (const char* clave : {"quandi", "Quandy", "quandy "}) {
        contraseña()->clear();
        QTest::keyClicks(contraseña(), clave);
        QTest::mouseClick(boton("cargar"), Qt::LeftButton);
    }
    QCOMPARE(e->mensajes.textos(), QStringList(3, "Contraseña no Válida"));
    contraseña()->clear();
    QTest::keyClicks(contraseña(), "quandy");
    QTest::mouseClick(boton("cargar"), Qt::LeftButton);
    QCOMPARE(e->mensajes.mensajes.size(), 3);
    QCOMPARE(EscenarioVentanas::visibles(), QStringList{"Principalgeneral"});
}

void TstLogin::intro_en_la_clave_carga()
{
    usuario()->setCurrentIndex(0);
    QTest::keyClicks(contraseña(), "mirtovask");
    QTest::keyClick(contraseña(), Qt::Key_Return);
    QCOMPARE(EscenarioVentanas::visibles(), QStringList{"Principal"});
}

QTEST_MAIN(TstLogin)
#include "tst_login.moc"
