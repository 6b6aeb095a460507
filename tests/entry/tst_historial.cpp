// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/comandos.h"
#include "data/conexion.h"
#include "entry/historial.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace velmora;

// The history screen: an indicator's changes newest first, copied as a
// spreadsheet pastes them, and a deleted indicator brought back.
class TstHistorial final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void eliminado_y_restaurado();
    void mensajes_data();
    void mensajes();

private:
    template <class T>
    T* c(const char* nombre) { return control<T>(ventana_.get(), nombre); }
    void pulsar(const char* boton) { ::pulsar(ventana_.get(), boton); }
    QStringList fila(int f) const { return ::fila(*grilla_, f); }

    std::unique_ptr<BasePrueba> base_;
    std::unique_ptr<Historial> ventana_;
    ModeloGrilla* grilla_ = nullptr;
};

void TstHistorial::init()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    Conexion().fijar_sesion(comando_exec("Sesion_programa", {"Administrador", "ana"}));
    // Ausentismo: three departments and five years of numbers.
    Conexion().ejecutar(comando_exec("eliminar", {"Ausentismo"}));
    ventana_ = std::make_unique<Historial>();
    ventana_->show();
    grilla_ = c<Grilla>("Flex_historial")->modelo();
}

void TstHistorial::cleanup()
{
    ventana_.reset();
    Conexion().cerrar();
    base_.reset();
}

void TstHistorial::eliminado_y_restaurado()
{
    RegistroMensajes mensajes;
    QCOMPARE(ventana_->windowTitle(), QStringLiteral("Historial"));
    QCOMPARE(fila(0), (QStringList{"Fecha", "Usuario", "Tipo de usuario", "Departamento", "Año", "Mes",
                                   "Campo", "Antes", "Después"}));
    // The deleted indicator is still on the list, beside the living ones.
    elegir(c<QComboBox>("Combo_indicador"), "Ausentismo");
    QVERIFY(c<QComboBox>("Combo_indicador")->findText("Margen operativo") >= 0);

    pulsar("boton_consulta");
    QVERIFY(mensajes.mensajes.isEmpty());
    const int borrados = grilla_->Rows() - 1;
    QVERIFY2(borrados > 100, qPrintable(QString::number(borrados)));
    // Newest first: the last number of the last department, ..., the type.
    // The user is the program's account on SQLite, the server's own user on
    // PostgreSQL (the test script's "velmora").
    const QString usuario = en_postgres() ? QStringLiteral("velmora") : QStringLiteral("ana");
    QCOMPARE(fila(1).mid(1), (QStringList{usuario, "Administrador", "Recursos Humanos", "2026", "Diciembre",
                                          "Linea Base", "6", ""}));
    QCOMPARE(fila(borrados).mid(1),
             (QStringList{usuario, "Administrador", "", "", "", "Tipo Indicador", "Departamentales", ""}));
    QVERIFY(QDateTime::fromString(grilla_->TextMatrix(1, 0), "yyyy-MM-dd HH:mm:ss").isValid());

    pulsar("boton_copiar");
    const QStringList lineas = QGuiApplication::clipboard()->text().split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lineas.size(), borrados + 1);
    QCOMPARE(lineas.first(), fila(0).join(u'\t'));
    QCOMPARE(lineas.at(1), fila(1).join(u'\t'));

    pulsar("boton_restaurar");
    QCOMPARE(mensajes.textos(), QStringList{"Indicador Restaurado Exitosamente"});
    QVERIFY(columna(comando_consulta("Indicadores"), "Indicador").contains("Ausentismo"));
    QCOMPARE(columna(comando_exec("Consulta_KPI_DEPARTAMENTOS", {"Ausentismo", "Diciembre", "2026",
                                                                 "Recursos Humanos"}),
                     "Linea_Base"),
             QStringList{"6"});
    // The restore shows on top of the deletion it undid.
    QCOMPARE(grilla_->Rows() - 1, 2 * borrados);
    QCOMPARE(fila(1).mid(1), (QStringList{usuario, "Administrador", "Recursos Humanos", "2026", "Diciembre",
                                          "Linea Base", "", "6"}));
    QCOMPARE(fila(borrados + 1).mid(1), fila(1).mid(1, 6) + QStringList({"6", ""}));

    // A correction after the restore: the picture shows both values.
    const QString id = columna(comando_exec("Consulta_KPI_DEPARTAMENTOS", {"Ausentismo", "Diciembre", "2026",
                                                                           "Recursos Humanos"}),
                               "Id1")
                           .first();
    Conexion().ejecutar(comando_modificar("6", "4,2", "2,5", id));
    pulsar("boton_consulta");
    QCOMPARE(fila(1).mid(1), (QStringList{usuario, "Administrador", "Recursos Humanos", "2026", "Diciembre",
                                          "Valor", "3,9", "4,2"}));
    guardar_captura(ventana_.get(), "historial");
}

void TstHistorial::mensajes_data()
{
    QTest::addColumn<QString>("indicador");
    QTest::addColumn<QString>("boton");
    QTest::addColumn<QString>("mensaje");
    QTest::newRow("consulta sin indicador") << "" << "boton_consulta" << "Selecciona el Indicador";
    QTest::newRow("restaurar sin indicador") << "" << "boton_restaurar" << "Selecciona el Indicador a Restaurar";
    QTest::newRow("sin cambios") << "Margen operativo" << "boton_consulta"
                                 << "No hay cambios registrados de ese indicador";
    QTest::newRow("restaurar uno que existe") << "Margen operativo" << "boton_restaurar"
                                              << "Ya existe un indicador con ese nombre";
    QTest::newRow("restaurar uno que nunca existió") << "Otro" << "boton_restaurar"
                                                     << "No hay una eliminación registrada de ese indicador";
}

void TstHistorial::mensajes()
{
    QFETCH(QString, indicador);
    QFETCH(QString, boton);
    QFETCH(QString, mensaje);
    RegistroMensajes mensajes;
    c<QComboBox>("Combo_indicador")->setEditText(indicador);
    pulsar(qPrintable(boton));
    QCOMPARE(mensajes.textos(), QStringList{mensaje});
    QCOMPARE(grilla_->Rows(), 1);
}

QTEST_MAIN(TstHistorial)
#include "tst_historial.moc"
