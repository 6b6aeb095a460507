// SPDX-License-Identifier: GPL-3.0-or-later
// A user of the random test in a process of its own, pressing the entry
// screens' buttons as a person does; and the parent's handle on it.
#include "usuario.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"
#include "entry/eliminar.h"
#include "entry/historial.h"
#include "entry/kpi.h"
#include "entry/modificar.h"
#include "entry/nuevo.h"
#include "entry/nuevo_registro.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>

#include <iostream>
#include <stdexcept>
#include <string>

namespace modelo {

std::unique_ptr<QWidget> activa(std::unique_ptr<QWidget> v)
{
    v->show();
    v->activateWindow();
    if (!QTest::qWaitForWindowActive(v.get()))
        throw std::runtime_error("la ventana no se activó");
    return v;
}

void escoger(const QWidget* ventana, const QString& lista, const QString& nombre)
{
    auto* l = control<QComboBox>(ventana, lista);
    QString item;
    for (int i = 0; i < l->count() && item.isNull(); ++i)
        if (l->itemText(i).trimmed() == nombre.trimmed())
            item = l->itemText(i);
    if (item.isNull())
        throw std::runtime_error(QStringLiteral("%1 no tiene «%2»").arg(lista, nombre).toStdString());
    elegir(l, item);
    if (l->currentText() != item)
        throw std::runtime_error(QStringLiteral("%1: no se eligió «%2»").arg(lista, nombre).toStdString());
}

namespace {

// What a user types into a box: over whatever it held.
void escribir(QLineEdit* caja, const QString& texto)
{
    caja->setFocus();
    QTest::keyClick(caja, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(caja, Qt::Key_Delete);
    teclear(caja, texto);
}

class Pantallas final {
public:
    explicit Pantallas(int numero) : numero_(numero) {}

    void atender(const QJsonObject& o)
    {
        const QString op = o.value(QStringLiteral("op")).toString();
        const auto t = [&o](const char* campo) { return o.value(QLatin1String(campo)).toString(); };
        if (op == QStringLiteral("abrir")) {
            cerrar();
            Conexion().abrir(QStringLiteral("FILEDSN=") + t("dsn"));
            Conexion().fijar_sesion(comando_exec(QStringLiteral("Sesion_programa"),
                                                 {QStringLiteral("Administrador"), QStringLiteral("modelo%1").arg(numero_)}));
        } else if (op == QStringLiteral("cerrar")) {
            cerrar();
        } else if (op == QStringLiteral("crear")) {
            auto v = abrir<Nuevo>();
            teclear(control<QLineEdit>(v.get(), QStringLiteral("Text_nuevo_indicador")), t("nombre"));
            escoger(v.get(), QStringLiteral("Combo_nuevo_indicador"), t("tipo"));
            pulsar(v.get(), QStringLiteral("Command1"));
        } else if (op == QStringLiteral("eliminar")) {
            auto v = abrir<Eliminar>();
            escoger(v.get(), QStringLiteral("Combo_indicador"), t("nombre"));
            pulsar(v.get(), QStringLiteral("Command1"));
        } else if (op == QStringLiteral("restaurar")) {
            auto v = abrir<Historial>();
            escoger(v.get(), QStringLiteral("Combo_indicador"), t("nombre"));
            pulsar(v.get(), QStringLiteral("boton_restaurar"));
        } else if (op == QStringLiteral("consultar_modificar")) {
            // Opened again: its lists as the database is now.
            modificar_.reset();
            modificar_ = abrir<Modificar>();
            escoger(modificar_.get(), QStringLiteral("Combo_kpi"), t("indicador"));
            escoger(modificar_.get(), QStringLiteral("Combo_año"), t("anio"));
            pulsar(modificar_.get(), QStringLiteral("boton_consulta"));
        } else if (op == QStringLiteral("guardar_modificar")) {
            if (!modificar_)
                modificar_ = abrir<Modificar>();
            for (const QJsonValue c : o.value(QStringLiteral("celdas")).toArray()) {
                const QJsonArray a = c.toArray();
                teclear_celda(a.at(0).toInt(), a.at(1).toInt(), a.at(2).toString());
            }
            pulsar(modificar_.get(), QStringLiteral("boton_guardar"));
        } else if (op == QStringLiteral("consultar_kpi")) {
            kpi_.reset();
            kpi_ = abrir<KPI>();
            escoger(kpi_.get(), QStringLiteral("Cmb_KPI_KPI"), t("indicador"));
            escoger(kpi_.get(), QStringLiteral("Cmb_Año_KPI"), t("anio"));
            escoger(kpi_.get(), QStringLiteral("Cmb_Trimestre_KPI"), t("mes"));
            if (!t("departamento").isEmpty())
                escoger(kpi_.get(), QStringLiteral("Cmb_KPI_Departamento"), t("departamento"));
            pulsar(kpi_.get(), QStringLiteral("button_Consultar_KPI"));
        } else if (op == QStringLiteral("guardar_kpi")) {
            if (!kpi_)
                kpi_ = abrir<KPI>();
            escribir(control<QLineEdit>(kpi_.get(), QStringLiteral("Caja_valor")), t("valor"));
            escribir(control<QLineEdit>(kpi_.get(), QStringLiteral("Caja_Meta")), t("meta"));
            escribir(control<QLineEdit>(kpi_.get(), QStringLiteral("Caja_Linea_Base")), t("base"));
            pulsar(kpi_.get(), QStringLiteral("Button_Guardar_KPI"));
        } else if (op == QStringLiteral("nuevo_registro")) {
            auto v = abrir<Nuevo_Registro>();
            escoger(v.get(), QStringLiteral("Combo_indicador"), t("indicador"));
            escoger(v.get(), QStringLiteral("Combo_desempeño"), t("desempeno"));
            escoger(v.get(), QStringLiteral("Combo_perspectiva"), t("perspectiva"));
            escoger(v.get(), QStringLiteral("Combo_unidad"), t("unidad"));
            escribir(control<QLineEdit>(v.get(), QStringLiteral("Text_nivel")), t("base"));
            escribir(control<QLineEdit>(v.get(), QStringLiteral("Text_meta")), t("meta"));
            escribir(control<QLineEdit>(v.get(), QStringLiteral("Text3_valor")), t("valor"));
            escoger(v.get(), QStringLiteral("Combo_año"), t("anio"));
            escoger(v.get(), QStringLiteral("Cmb_mes_Reporte"), t("mes"));
            pulsar(v.get(), QStringLiteral("Command1"));
        } else {
            throw std::runtime_error("orden desconocida: " + op.toStdString());
        }
    }

private:
    void cerrar()
    {
        modificar_.reset();
        kpi_.reset();
        Conexion().cerrar();
    }

    // The grid's floating editor: shown by a click on the current cell,
    // moved with the arrow keys, the cell's text replaced.
    void teclear_celda(int fila, int columna, const QString& texto)
    {
        auto* grilla = control<Grilla>(modificar_.get(), QStringLiteral("MSFlexGrid1"));
        auto* editor = control<QLineEdit>(modificar_.get(), QStringLiteral("Text1"));
        if (editor->isHidden()) {
            const QRect actual = grilla->rectangulo_celda().translated(-grilla->viewport()->pos());
            QTest::mouseClick(grilla->viewport(), Qt::LeftButton, {}, actual.center());
        }
        if (!editor->isVisible())
            throw std::runtime_error("el editor de la grilla no se abrió");
        for (int i = 0; i < 40 && grilla->Row() != fila; ++i)
            QTest::keyClick(editor, grilla->Row() < fila ? Qt::Key_Down : Qt::Key_Up);
        for (int i = 0; i < 40 && grilla->Col() != columna; ++i)
            QTest::keyClick(editor, grilla->Col() < columna ? Qt::Key_Right : Qt::Key_Left);
        if (grilla->Row() != fila || grilla->Col() != columna)
            throw std::runtime_error("el editor no llegó a la celda");
        escribir(editor, texto);
    }

    int numero_;
    std::unique_ptr<Modificar> modificar_;
    std::unique_ptr<KPI> kpi_;
};

} // namespace

int correr_usuario(int numero)
{
    // The driver's and the platform's warnings say nothing the answers do not.
    qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
        if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
            std::cerr << texto.toStdString() << std::endl;
    });
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    RegistroMensajes mensajes;
    Pantallas pantallas(numero);
    std::string linea;
    while (std::getline(std::cin, linea)) {
        mensajes.limpiar();
        QJsonObject respuesta;
        try {
            pantallas.atender(QJsonDocument::fromJson(QByteArray::fromStdString(linea)).object());
        } catch (const ErrorBaseDatos& e) {
            respuesta.insert(QStringLiteral("error"), e.mensaje());
        } catch (const std::exception& e) {
            respuesta.insert(QStringLiteral("error"), QString::fromStdString(e.what()));
        }
        QCoreApplication::processEvents();
        respuesta.insert(QStringLiteral("mensajes"), QJsonArray::fromStringList(mensajes.textos()));
        std::cout << QJsonDocument(respuesta).toJson(QJsonDocument::Compact).toStdString() << std::endl;
    }
    return 0;
}

ProcesoUsuario::ProcesoUsuario(const QString& programa, int numero) : proceso_(std::make_unique<QProcess>()), numero_(numero)
{
    proceso_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    proceso_->start(programa, {QStringLiteral("--usuario"), QString::number(numero)});
    if (!proceso_->waitForStarted())
        throw std::runtime_error("el proceso del usuario no arrancó");
}

ProcesoUsuario::~ProcesoUsuario()
{
    proceso_->closeWriteChannel();
    if (!proceso_->waitForFinished(10000))
        proceso_->kill();
    proceso_->waitForFinished();
}

QJsonObject ProcesoUsuario::pedir(const QJsonObject& orden)
{
    proceso_->write(QJsonDocument(orden).toJson(QJsonDocument::Compact) + '\n');
    proceso_->waitForBytesWritten();
    while (!proceso_->canReadLine()) {
        if (proceso_->state() != QProcess::Running || !proceso_->waitForReadyRead(120000))
            throw std::runtime_error(QStringLiteral("el usuario %1 no contestó (terminó: %2)")
                                         .arg(numero_)
                                         .arg(proceso_->state() != QProcess::Running)
                                         .toStdString());
    }
    return QJsonDocument::fromJson(proceso_->readLine()).object();
}

} // namespace modelo
