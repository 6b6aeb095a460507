// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/comandos.h"
#include "data/conexion.h"
#include "data/textos.h"
#include "entry/nuevo_registro.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/twips.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace velmora;

namespace {

const QString kGuardado = QStringLiteral("Registro Guardado Exitosamente");
// The demo database's first principal indicator.
const QString kIndicador = QStringLiteral("Margen operativo");

// The record of an indicator for one month as Consulta_KPI reads it back.
QStringList registro(const QString& indicador, const QString& mes, const QString& anio)
{
    QStringList valores;
    for (Resultado r = Conexion().ejecutar(comando_exec("Consulta_KPI", {indicador, mes, anio})); !r.eof();
         r.siguiente()) {
        for (const char* campo : {"Nivel Base", "Meta C/P", "Valor", "unidad"})
            valores << r.texto(campo);
    }
    return valores;
}

} // namespace

class TstNuevoRegistro final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void guardar_y_leer();
    void rechazo_data();
    void rechazo();

private:
    // Fills every control with a storable month of the first principal indicator.
    void llenar();

    std::unique_ptr<BasePrueba> base_;
    std::unique_ptr<Nuevo_Registro> ventana_;
};

void TstNuevoRegistro::init()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    ventana_ = std::make_unique<Nuevo_Registro>();
    ventana_->show();
}

void TstNuevoRegistro::cleanup()
{
    ventana_.reset();
    Conexion().cerrar();
    base_.reset();
}

void TstNuevoRegistro::llenar()
{
    QWidget* v = ventana_.get();
    elegir(control<QComboBox>(v, "Combo_indicador"), texto_item(kIndicador, 80));
    elegir(control<QComboBox>(v, "Combo_desempeño"), texto_item("Decreciente    ", 80));
    elegir(control<QComboBox>(v, "Combo_perspectiva"), texto_item(QString("Clientes").leftJustified(30), 80));
    elegir(control<QComboBox>(v, "Combo_unidad"), texto_item("Horas     ", 80));
    elegir(control<QComboBox>(v, "Combo_año"), texto_item("2026", 15));
    elegir(control<QComboBox>(v, "Cmb_mes_Reporte"), "Marzo");
    control<QLineEdit>(v, "Text_nivel")->setText("10,5");
    control<QLineEdit>(v, "Text_meta")->setText("20");
    control<QLineEdit>(v, "Text3_valor")->setText("15.25");
}

void TstNuevoRegistro::guardar_y_leer()
{
    QWidget* v = ventana_.get();
    QCOMPARE(v->windowTitle(), QString("Nuevo Registro"));
    QCOMPARE(v->size(), QSize(twips_a_px(8865, v), twips_a_px(4620, v)));
    QCOMPARE(control<QComboBox>(v, "Cmb_mes_Reporte")->count(), 12);
    QVERIFY(control<QComboBox>(v, "Combo_año")->findText(texto_item("2005", 15)) >= 0);
    llenar();
    guardar_captura(v, "Nuevo_Registro");

    RegistroMensajes mensajes;
    Comandos comandos;
    // Twice: the same command goes twice and the boxes keep their texts.
    pulsar(v, "Command1");
    pulsar(v, "Command1");
    const QString esperado = QStringLiteral("Exec Nuevo_registro '22','Marzo','Margen operativo               ',"
                                            "'2','2','1','2','10,5','20','15.25'");
    QCOMPARE(comandos.textos, QStringList({esperado, esperado}));
    QCOMPARE(mensajes.textos(), QStringList({kGuardado, kGuardado}));
    QCOMPARE(mensajes.mensajes[0].titulo, QString("Mensajes"));
    QCOMPARE(control<QLineEdit>(v, "Text3_valor")->text(), QString("15.25"));

    QCOMPARE(registro(kIndicador, "Marzo", "2026"), QStringList({"10,5", "20", "15,25", "Horas     "}));
}

void TstNuevoRegistro::rechazo_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("texto");

    // "2006" typed without the blanks of the list's items matches no year.
    QTest::newRow("año tecleado") << "Combo_año" << "2026";
    QTest::newRow("año sin código") << "Combo_año" << texto_item("2004", 15);
    QTest::newRow("desempeño sin código") << "Combo_desempeño" << "Creciente";
    QTest::newRow("indicador que no existe") << "Combo_indicador" << "No existe";
    QTest::newRow("valor no numérico") << "Text3_valor" << "quince";
}

void TstNuevoRegistro::rechazo()
{
    QFETCH(QString, nombre);
    QFETCH(QString, texto);
    llenar();
    QWidget* v = ventana_.get();
    if (auto* lista = v->findChild<QComboBox*>(nombre))
        lista->setEditText(texto);
    else
        control<QLineEdit>(v, nombre)->setText(texto);
    const QStringList antes = registro(kIndicador, "Marzo", "2026");

    RegistroMensajes mensajes;
    Comandos comandos;
    pulsar(v, "Command1");
    QCOMPARE(comandos.textos.size(), 1);
    QCOMPARE(mensajes.mensajes.size(), 1);
    QCOMPARE(mensajes.mensajes[0].titulo, QString("Mensajes"));
    QVERIFY(!mensajes.mensajes[0].texto.isEmpty());
    QVERIFY(mensajes.mensajes[0].texto != kGuardado);
    QCOMPARE(registro(kIndicador, "Marzo", "2026"), antes);
    QVERIFY(v->isVisible());
}

QTEST_MAIN(TstNuevoRegistro)
#include "tst_nuevo_registro.moc"
