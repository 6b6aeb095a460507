// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/comandos.h"
#include "data/conexion.h"
#include "data/textos.h"
#include "entry/eliminar.h"
#include "entry/nuevo.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace velmora;

namespace {

const QString kGuardado = QStringLiteral("Indicador Guardado Exitosamente");
const QString kEliminado = QStringLiteral("Indicador Eliminado Exitosamente");

// The stored type of an indicator, or -1 when there is none of that name.
// (Compared here, not in the statement: the SQLite driver misreads a
// statement text holding characters beyond 16 bits; bound values are fine.)
int tipo_guardado(const QString& nombre)
{
    for (Resultado r = Conexion().ejecutar(QStringLiteral("SELECT nombre, id_tipo FROM indicador")); !r.eof();
         r.siguiente()) {
        if (r.texto(QStringLiteral("nombre")) == nombre)
            return r.campo(QStringLiteral("id_tipo")).toInt();
    }
    return -1;
}

int indicadores()
{
    return Conexion().ejecutar(QStringLiteral("SELECT count(*) AS n FROM indicador")).campo(QStringLiteral("n")).toInt();
}

} // namespace

// Nuevo and Eliminar on a copy of the demo database.
class TstIndicadores final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void nuevo_con_datos_vacios_data();
    void nuevo_con_datos_vacios();
    void eliminar_sin_indicador();
    void nuevo_y_eliminar_data();
    void nuevo_y_eliminar();
    void nuevo_rechazado_data();
    void nuevo_rechazado();
    void eliminar_rechazado_data();
    void eliminar_rechazado();
    void capturas();

private:
    std::unique_ptr<BasePrueba> base_;
    std::unique_ptr<RegistroMensajes> mensajes_;
    QStringList enviados_;
};

void TstIndicadores::init()
{
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    mensajes_ = std::make_unique<RegistroMensajes>();
    enviados_.clear();
    Conexion().observar([this](const QString& comando) { enviados_ << comando; });
}

void TstIndicadores::cleanup()
{
    Conexion().observar(nullptr);
    Conexion().cerrar();
    mensajes_.reset();
    base_.reset();
}

void TstIndicadores::nuevo_con_datos_vacios_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("tipo");
    QTest::newRow("sin tipo") << "Nuevo KPI" << "";
    QTest::newRow("sin nombre") << "" << "Principal      ";
    QTest::newRow("nada") << "" << "";
}

void TstIndicadores::nuevo_con_datos_vacios()
{
    QFETCH(QString, nombre);
    QFETCH(QString, tipo);
    Nuevo v;
    teclear(control<QLineEdit>(&v, "Text_nuevo_indicador"), nombre);
    teclear(control<QComboBox>(&v, "Combo_nuevo_indicador")->lineEdit(), tipo);
    enviados_.clear();
    pulsar(&v, "Command1");
    QCOMPARE(mensajes_->textos(), QStringList{"Tiene que llenar Todos los Datos"});
    QCOMPARE(mensajes_->mensajes.first().titulo, QStringLiteral("Mensajes"));
    QCOMPARE(mensajes_->mensajes.first().icono, IconoMensaje::Informacion);
    QVERIFY(enviados_.isEmpty());
    QCOMPARE(control<QLineEdit>(&v, "Text_nuevo_indicador")->text(), nombre);
}

void TstIndicadores::eliminar_sin_indicador()
{
    Eliminar v;
    const int antes = indicadores();
    enviados_.clear();
    pulsar(&v, "Command1");
    QCOMPARE(mensajes_->textos(), QStringList{"Selecciona el Indicador a Eliminar"});
    QCOMPARE(mensajes_->mensajes.first().titulo, QStringLiteral("Mensajes"));
    QVERIFY(enviados_.isEmpty());
    QCOMPARE(indicadores(), antes);
}

void TstIndicadores::nuevo_y_eliminar_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<int>("elegido"); // the type picked from the list, or -1 to type it
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<int>("codigo");
    QTest::addColumn<QString>("nombre_enviado"); // between quotes, a quote doubled
    QTest::newRow("principal") << "Índice de calidad" << 0 << "" << 1 << "Índice de calidad";
    QTest::newRow("departamental") << "Quejas del área" << 1 << "" << 2 << "Quejas del área";
    QTest::newRow("con comilla") << "Cliente's rating 'anual'" << 0 << "" << 1 << "Cliente''s rating ''anual''";
    QTest::newRow("tipo escrito a mano") << "Nivel de servicio" << -1 << "Otro" << 1 << "Nivel de servicio";
    QTest::newRow("departamental escrito a mano") << "Bajas" << -1 << "Departamentales" << 2 << "Bajas";
    // 70 characters as the database counts them, 133 UTF-16 units: the lists
    // keep it whole, so it can be deleted.
    const QString emoji = QStringLiteral(u"Índice ") + QStringLiteral(u"\U0001F600").repeated(63);
    QTest::newRow("70 con emoji") << emoji << 0 << "" << 1 << emoji;
}

void TstIndicadores::nuevo_y_eliminar()
{
    QFETCH(QString, nombre);
    QFETCH(int, elegido);
    QFETCH(QString, tipo);
    QFETCH(int, codigo);
    QFETCH(QString, nombre_enviado);

    Nuevo nuevo;
    auto* lista_tipos = control<QComboBox>(&nuevo, "Combo_nuevo_indicador");
    QCOMPARE(items(lista_tipos), QStringList({TIPO_PRINCIPAL, TIPO_DEPARTAMENTAL}));
    QCOMPARE(lista_tipos->currentText(), QString());
    teclear(control<QLineEdit>(&nuevo, "Text_nuevo_indicador"), nombre);
    if (elegido >= 0)
        lista_tipos->setCurrentIndex(elegido);
    else
        teclear(lista_tipos->lineEdit(), tipo);
    enviados_.clear();
    pulsar(&nuevo, "Command1");

    QCOMPARE(enviados_, QStringList{"Exec Nuevo_Indicador '" + nombre_enviado + "','" + QString::number(codigo) + "'"});
    QCOMPARE(mensajes_->textos(), QStringList{kGuardado});
    QCOMPARE(mensajes_->mensajes.first().titulo, QStringLiteral("Mensajes"));
    QCOMPARE(control<QLineEdit>(&nuevo, "Text_nuevo_indicador")->text(), QString());
    QCOMPARE(lista_tipos->currentText(), QString());
    QCOMPARE(lista_tipos->count(), 2);
    QCOMPARE(tipo_guardado(nombre), codigo);

    Eliminar eliminar;
    auto* lista = control<QComboBox>(&eliminar, "Combo_indicador");
    const int cuantos = lista->count();
    QCOMPARE(cuantos, indicadores());
    QCOMPARE(lista->currentText(), QString());
    const int posicion = lista->findText(nombre);
    QVERIFY(posicion >= 0); // the bare name, no blanks added
    lista->setCurrentIndex(posicion);
    mensajes_->limpiar();
    enviados_.clear();
    pulsar(&eliminar, "Command1");

    QCOMPARE(enviados_.first(), "Exec eliminar '" + nombre_enviado + "'");
    QCOMPARE(enviados_.mid(1), QStringList{"select * from Indicadores "}); // the list rebuilt
    QCOMPARE(mensajes_->textos(), QStringList{kEliminado});
    QCOMPARE(tipo_guardado(nombre), -1);
    QCOMPARE(lista->count(), cuantos - 1);
    QCOMPARE(lista->findText(nombre), -1);
    QCOMPARE(lista->currentText(), QString());
}

void TstIndicadores::nuevo_rechazado_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("respuesta");
    QTest::newRow("nombre repetido") << "Margen operativo" << "Ya existe un indicador con ese nombre";
    QTest::newRow("nombre de blancos") << "   " << "Falta el nombre del indicador";
    QTest::newRow("nombre largo") << QString(71, u'x') << "El nombre del indicador no puede pasar de 70 caracteres";
}

// The database's own text, no success message, nothing stored, the boxes
// kept for correction.
void TstIndicadores::nuevo_rechazado()
{
    QFETCH(QString, nombre);
    QFETCH(QString, respuesta);
    Nuevo v;
    const int antes = indicadores();
    teclear(control<QLineEdit>(&v, "Text_nuevo_indicador"), nombre);
    control<QComboBox>(&v, "Combo_nuevo_indicador")->setCurrentIndex(1);
    pulsar(&v, "Command1");
    QCOMPARE(mensajes_->textos(), QStringList{respuesta});
    QCOMPARE(mensajes_->mensajes.first().titulo, QStringLiteral("Mensajes"));
    QCOMPARE(indicadores(), antes);
    QCOMPARE(control<QLineEdit>(&v, "Text_nuevo_indicador")->text(), nombre);
    QCOMPARE(control<QComboBox>(&v, "Combo_nuevo_indicador")->currentText(), TIPO_DEPARTAMENTAL);
}

void TstIndicadores::eliminar_rechazado_data()
{
    QTest::addColumn<QString>("guardado"); // put straight into the table first, if any
    QTest::addColumn<QString>("escrito");  // typed into the list, or "" to pick `guardado`
    QTest::addColumn<QString>("enviado");
    QTest::newRow("escrito y desconocido") << "" << "No es un KPI" << "No es un KPI";
    // A name past 70 characters is there only where the engine does not
    // hold the column to its length (SQLite).
    const QString largo = QString(60, u'a') + QStringLiteral("bcdefghijklmnop");
    if (!en_postgres())
        QTest::newRow("listado cortado a 70") << largo << "" << largo.left(70);
}

void TstIndicadores::eliminar_rechazado()
{
    QFETCH(QString, guardado);
    QFETCH(QString, escrito);
    QFETCH(QString, enviado);
    if (!guardado.isEmpty())
        Conexion().ejecutar(QStringLiteral("INSERT INTO indicador (nombre, id_tipo, id_desempeno, id_unidad) "
                                           "VALUES (%1, 1, 1, 1)")
                                .arg(entre_comillas(guardado)));
    Eliminar v;
    auto* lista = control<QComboBox>(&v, "Combo_indicador");
    const QStringList antes = items(lista);
    const int cuantos = indicadores();
    if (escrito.isEmpty())
        lista->setCurrentIndex(lista->findText(enviado));
    else
        teclear(lista->lineEdit(), escrito);
    QCOMPARE(lista->currentText(), enviado);
    enviados_.clear();
    pulsar(&v, "Command1");
    QCOMPARE(enviados_, QStringList{comando_exec("eliminar", {enviado})});
    QCOMPARE(mensajes_->textos(), QStringList{"No existe el indicador"});
    QCOMPARE(mensajes_->mensajes.first().titulo, QStringLiteral("Mensajes"));
    QCOMPARE(indicadores(), cuantos);
    QCOMPARE(items(lista), antes);
    QCOMPARE(lista->currentText(), enviado);
}

void TstIndicadores::capturas()
{
    Nuevo nuevo;
    QCOMPARE(nuevo.windowTitle(), QStringLiteral("Nuevo Indicador"));
    nuevo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&nuevo));
    guardar_captura(&nuevo, QStringLiteral("Nuevo"));
    Eliminar eliminar;
    QCOMPARE(eliminar.windowTitle(), QStringLiteral("Eliminar Indicador"));
    eliminar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&eliminar));
    guardar_captura(&eliminar, QStringLiteral("Eliminar"));
}

QTEST_MAIN(TstIndicadores)
#include "tst_indicadores.moc"
