// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ventanas.h"
#include "data/conexion.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/registro_ventanas.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

using namespace velmora;

// A database failure that no screen catches is caught where the handler or
// the window's load step runs: it is shown with its number and text and the
// program ends with a failure code. A refusal of the data given is caught by
// the screen and the program goes on. The application here is a plain
// QApplication: nothing may depend on an exception crossing Qt's event code.
class TstErrorFatal final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void rechazo_no_termina();
    void error_no_atrapado_termina();
    void error_al_cargar_termina();

private:
    int pulsar_eliminar(const QString& indicador);
    std::unique_ptr<BasePrueba> base_;
};

void TstErrorFatal::init()
{
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    registrar_ventanas();
}

void TstErrorFatal::cleanup()
{
    RegistroVentanas::instancia().descargar_todas();
    Conexion().cerrar();
}

// Presses "Eliminar" from inside the event loop; the loop's exit code, or -1
// when the program went on.
int TstErrorFatal::pulsar_eliminar(const QString& indicador)
{
    QWidget* ventana = RegistroVentanas::instancia().mostrar("Eliminar");
    control<QComboBox>(ventana, "Combo_indicador")->setEditText(indicador);
    auto* boton = control<QPushButton>(ventana, "Command1");
    QMetaObject::invokeMethod(boton, &QPushButton::click, Qt::QueuedConnection);
    QTimer::singleShot(500, qApp, [] { QCoreApplication::exit(-1); });
    return QCoreApplication::exec();
}

void TstErrorFatal::rechazo_no_termina()
{
    RegistroMensajes mensajes;
    QCOMPARE(pulsar_eliminar("No existe ningún indicador con este nombre"), -1);
    QCOMPARE(mensajes.mensajes.size(), 1);
    QCOMPARE(mensajes.mensajes[0].titulo, QStringLiteral("Mensajes"));
    QVERIFY(RegistroVentanas::instancia().ventana("Eliminar")->isVisible());
}

void TstErrorFatal::error_no_atrapado_termina()
{
    Conexion().ejecutar("DROP TABLE procedimientos"); // every procedure call now fails
    RegistroMensajes mensajes;
    QCOMPARE(pulsar_eliminar("Margen operativo"), 1);
    QCOMPARE(mensajes.mensajes.size(), 1);
    QCOMPARE(mensajes.mensajes[0].icono, IconoMensaje::Critico);
    QVERIFY2(mensajes.mensajes[0].texto.startsWith("Error "), qPrintable(mensajes.mensajes[0].texto));
    QVERIFY(mensajes.mensajes[0].texto.contains("procedimientos"));
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void TstErrorFatal::error_al_cargar_termina()
{
    Conexion().ejecutar("DROP VIEW Indicadores"); // what "Eliminar" lists when it loads
    RegistroMensajes mensajes;
    QWidget* ventana = reinterpret_cast<QWidget*>(1);
    QTimer::singleShot(0, qApp, [&] { ventana = RegistroVentanas::instancia().mostrar("Eliminar"); });
    QTimer::singleShot(500, qApp, [] { QCoreApplication::exit(-1); });
    QCOMPARE(QCoreApplication::exec(), 1);
    QCOMPARE(ventana, nullptr);
    QCOMPARE(RegistroVentanas::instancia().ventana("Eliminar"), nullptr);
    QCOMPARE(mensajes.mensajes.size(), 1);
    QCOMPARE(mensajes.mensajes[0].icono, IconoMensaje::Critico);
    QVERIFY2(mensajes.mensajes[0].texto.contains("Indicadores"), qPrintable(mensajes.mensajes[0].texto));
}

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    TstErrorFatal prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "tst_error_fatal.moc"
