// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/terminar.h"
#include "app/ventanas.h"
#include "data/conexion.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/registro_ventanas.h"

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace velmora;

// Another program holds the embedded database's write lock (BEGIN EXCLUSIVE,
// as the sqlite3 shell does): every press that reads, and every window whose
// lists are filled on opening, tells the user it is busy and the program
// goes on; once the lock is gone the same press works.
class TstOcupada final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void lectura_ocupada_data();
    void lectura_ocupada();
    void ventana_ocupada_al_abrir();

private:
    void bloquear();
    void soltar();

    std::unique_ptr<BasePrueba> base_;
    std::unique_ptr<QProcess> bloqueador_;
    int terminado_ = 0;
    Terminador anterior_;
};

const QString kOcupada = QStringLiteral("La base de datos está ocupada por otro usuario; intente de nuevo");

void TstOcupada::init()
{
    terminado_ = 0;
    base_ = std::make_unique<BasePrueba>();
    // A short wait for the lock keeps the test quick; the rule is the same.
    LimitesTiempo limites;
    limites.bloqueo_ms = 300;
    Conexion().fijar_limites(limites);
    base_->abrir();
    registrar_ventanas();
    anterior_ = establecer_terminador([this] { ++terminado_; });
}

void TstOcupada::cleanup()
{
    soltar();
    RegistroVentanas::instancia().descargar_todas();
    establecer_terminador(anterior_);
    Conexion().cerrar();
    Conexion().fijar_limites(LimitesTiempo{});
    base_.reset();
}

void TstOcupada::bloquear()
{
    bloqueador_ = std::make_unique<QProcess>();
    bloqueador_->start(VELMORA_BLOQUEADOR, {"exclusivo", base_->dsn()});
    QVERIFY(bloqueador_->waitForReadyRead(30000));
    QCOMPARE(bloqueador_->readLine().trimmed(), QByteArray("listo"));
}

void TstOcupada::soltar()
{
    if (!bloqueador_)
        return;
    bloqueador_->write("\n");
    bloqueador_->closeWriteChannel();
    QVERIFY(bloqueador_->waitForFinished(30000));
    bloqueador_.reset();
}

void TstOcupada::lectura_ocupada_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QString>("boton");
    QTest::newRow("Ver departamental") << "Departamentales" << "Button_Cargar_ReporteSocial";
    QTest::newRow("Ver principal") << "Principales" << "Button_Cargar_ReporteSocial";
    QTest::newRow("Llenar") << "Exportar" << "Command2";
    QTest::newRow("Consultar año") << "Modificar" << "boton_consulta";
}

void TstOcupada::lectura_ocupada()
{
    QFETCH(QString, ventana);
    QFETCH(QString, boton);
    QWidget* v = RegistroVentanas::instancia().mostrar(ventana);
    QVERIFY(v);
    for (QComboBox* lista : v->findChildren<QComboBox*>())
        if (lista->count() > 0)
            lista->setCurrentIndex(0);

    bloquear();
    {
        RegistroMensajes mensajes;
        pulsar(v, boton);
        QCOMPARE(mensajes.textos(), QStringList{kOcupada});
        QCOMPARE(mensajes.mensajes[0].titulo, QStringLiteral("Mensajes"));
        QCOMPARE(terminado_, 0);
        QVERIFY(v->isVisible());
    }
    soltar();

    RegistroMensajes mensajes;
    pulsar(v, boton);
    QVERIFY2(!mensajes.textos().contains(kOcupada), qPrintable(mensajes.textos().join(" / ")));
    QCOMPARE(terminado_, 0);
}

void TstOcupada::ventana_ocupada_al_abrir()
{
    bloquear();
    {
        RegistroMensajes mensajes;
        QVERIFY(!RegistroVentanas::instancia().mostrar("Historial"));
        QCOMPARE(mensajes.textos(), QStringList{kOcupada});
        QCOMPARE(terminado_, 0);
    }
    soltar();
    RegistroMensajes mensajes;
    QWidget* historial = RegistroVentanas::instancia().mostrar("Historial");
    QVERIFY(historial);
    QVERIFY(control<QComboBox>(historial, "Combo_indicador")->count() > 0);
    QCOMPARE(mensajes.textos(), QStringList{});
}

QTEST_MAIN(TstOcupada)
#include "tst_ocupada.moc"
