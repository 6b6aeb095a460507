// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/kpi.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/textos.h"
#include "entry/cambios_ajenos.h"
#include "reglas/campos.h"
#include "ui/controles.h"
#include "ui/cursor_espera.h"
#include "ui/grid/grilla.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "ui/mensajes.h"
#include "ui/twips.h"
#include "ui/atender.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

// Headings of the result table, one per field of campos_kpi.
const QStringList& encabezados_kpi()
{
    static const QStringList encabezados = {
        QStringLiteral("Tipo_Indicador"), QStringLiteral("Unidad"), QStringLiteral("Linea Base"),
        QStringLiteral("Valor"),          QStringLiteral("Meta"),   QStringLiteral("Año"),
    };
    return encabezados;
}

void vaciar_texto(QComboBox* lista)
{
    lista->setCurrentIndex(-1);
    lista->clearEditText();
}

// Hidden controls keep their place, so the rest of the window does not move.
void guardar_lugar(QWidget* control)
{
    QSizePolicy p = control->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    control->setSizePolicy(p);
}

} // namespace

KPI::KPI(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("KPI"));
    setWindowTitle(QStringLiteral("Modificar2"));
    // The title is the design's; a screen reader also hears what the window is.
    setAccessibleDescription(QStringLiteral(
        "Consulta KPI: un registro mensual de un indicador, su línea base, su valor y su meta, para consultarlo y "
        "corregirlo"));
    fijar_fondo(this, QStringLiteral("menu"));

    Cmb_KPI_KPI = lista_en_capa(this, QStringLiteral("Cmb_KPI_KPI"), 30);
    Cmb_Año_KPI = lista_en_capa(this, QStringLiteral("Cmb_Año_KPI"));
    Cmb_Trimestre_KPI = lista_en_capa(this, QStringLiteral("Cmb_Trimestre_KPI"));
    llenar_meses(Cmb_Trimestre_KPI);
    Label7 = etiqueta(this, QStringLiteral("Label7"), QStringLiteral("Departamento:"));
    Cmb_KPI_Departamento = lista_en_capa(this, QStringLiteral("Cmb_KPI_Departamento"));
    Label7->setBuddy(Cmb_KPI_Departamento);
    guardar_lugar(Label7);
    guardar_lugar(Cmb_KPI_Departamento);
    Label7->hide();
    Cmb_KPI_Departamento->hide();
    button_Consultar_KPI = boton(this, QStringLiteral("button_Consultar_KPI"), QStringLiteral("Aceptar"),
                                 QStringLiteral("aceptar"));
    button_Consultar_KPI->setDefault(true);
    Flex6 = new Grilla(this);
    Flex6->setObjectName(QStringLiteral("Flex6"));
    Caja_valor = nombrado<QLineEdit>(this, QStringLiteral("Caja_valor"));
    Caja_Meta = nombrado<QLineEdit>(this, QStringLiteral("Caja_Meta"));
    Caja_Linea_Base = nombrado<QLineEdit>(this, QStringLiteral("Caja_Linea_Base"));
    Button_Nuevo_KPI = boton(this, QStringLiteral("Button_Nuevo_KPI"), QStringLiteral("Nueva Consulta"),
                             QStringLiteral("nuevo"));
    Button_Guardar_KPI = boton(this, QStringLiteral("Button_Guardar_KPI"), QStringLiteral("Guardar"),
                               QStringLiteral("guardar"));
    Flex7 = new ModeloGrilla(this);
    Flex7->setObjectName(QStringLiteral("Flex7"));

    const int margen = twips_a_px(360, this);
    auto* capa = new QVBoxLayout(this);
    capa->setContentsMargins(margen, margen, margen, margen);
    capa->setSpacing(twips_a_px(200, this));

    auto* arriba = new QGridLayout;
    arriba->setHorizontalSpacing(twips_a_px(150, this));
    arriba->addWidget(etiqueta_de(this, QStringLiteral("K P I:"), Cmb_KPI_KPI), 0, 0);
    arriba->addWidget(Cmb_KPI_KPI, 0, 1);
    arriba->addWidget(etiqueta_de(this, QStringLiteral("Año :"), Cmb_Año_KPI), 0, 2);
    arriba->addWidget(Cmb_Año_KPI, 0, 3);
    arriba->addWidget(etiqueta_de(this, QStringLiteral("Mes :"), Cmb_Trimestre_KPI), 1, 0);
    arriba->addWidget(Cmb_Trimestre_KPI, 1, 1);
    arriba->addWidget(Label7, 1, 2);
    arriba->addWidget(Cmb_KPI_Departamento, 1, 3);
    arriba->setColumnStretch(1, 3);
    arriba->setColumnStretch(3, 2);
    arriba->setColumnMinimumWidth(4, twips_a_px(300, this));
    arriba->addWidget(button_Consultar_KPI, 0, 5, 2, 1);
    capa->addLayout(arriba);

    capa->addWidget(Flex6, 1);

    auto* cajas = new QHBoxLayout;
    cajas->setSpacing(twips_a_px(150, this));
    const QList<std::pair<QString, QLineEdit*>> valores = {
        {QStringLiteral("Valor:"), Caja_valor},
        {QStringLiteral("Meta:"), Caja_Meta},
        {QStringLiteral("Linea Base:"), Caja_Linea_Base},
    };
    for (const auto& [texto, control] : valores) {
        cajas->addWidget(etiqueta_de(this, texto, control));
        cajas->addWidget(control, 1);
    }
    capa->addLayout(cajas);

    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(Button_Nuevo_KPI);
    botones->addWidget(Button_Guardar_KPI);
    capa->addLayout(botones);
    fijar_area_cliente(this, 11655, 6795);

    // Picking another indicator, month, year or department forgets the
    // fetched record, so "Guardar" never writes into one no longer asked for.
    al_elegir(Cmb_KPI_KPI, this, [this] {
        olvidar_registro();
        atender([this] { Cmb_KPI_KPI_Click(); });
    });
    for (QComboBox* lista : {Cmb_Año_KPI, Cmb_Trimestre_KPI, Cmb_KPI_Departamento})
        al_elegir(lista, this, [this] { olvidar_registro(); });
    connect(button_Consultar_KPI, &QPushButton::clicked, this, atendido(this, &KPI::button_Consultar_KPI_Click));
    connect(Button_Guardar_KPI, &QPushButton::clicked, this, atendido(this, &KPI::Button_Guardar_KPI_Click));
    connect(Button_Nuevo_KPI, &QPushButton::clicked, this, atendido(this, &KPI::Button_Nuevo_KPI_Click));
    Form_Load();
}

void KPI::Form_Load()
{
    Flex6->setFixedCols(0);
    Flex6->setCols(6);
    Flex6->setFixedRows(1);
    Flex6->setRows(3);
    Flex7->setFixedCols(0);
    Flex7->setCols(3);
    Flex7->setFixedRows(0);
    Flex7->setRows(3);
    for (int c : {0, 2, 3, 4, 5})
        Flex6->setColWidth(c, 1500);
    for (int c = 0; c < 6; ++c)
        Flex6->setTextMatrix(0, c, encabezados_kpi()[c]);

    llenar_lista(Cmb_KPI_KPI, comando_consulta(QStringLiteral("Indicadores")), QStringLiteral("Indicador"), 80);
    llenar_lista(Cmb_Año_KPI, comando_consulta(QStringLiteral("Año")), QStringLiteral("año"), 15);
}

void KPI::Cmb_KPI_KPI_Click()
{
    Cmb_KPI_Departamento->clear();
    vaciar_texto(Cmb_KPI_Departamento);
    vaciar_texto(Cmb_Año_KPI);
    vaciar_texto(Cmb_Trimestre_KPI);
    // With month and year empty the procedure tells the indicator's type.
    const QStringList argumentos = {Cmb_KPI_KPI->currentText(), Cmb_Trimestre_KPI->currentText(),
                                    Cmb_Año_KPI->currentText()};
    sin_rechazo([&] {
        for (Resultado r = Conexion().ejecutar(comando_exec(QStringLiteral("Consulta_KPI"), argumentos));
             !r.eof(); r.siguiente())
            Flex7->setTextMatrix(0, 1, texto_celda(r.texto(CAMPO_TIPO_INDICADOR_DEPARTAMENTO), 15));

        const bool departamental = Flex7->TextMatrix(0, 1) == TIPO_DEPARTAMENTAL;
        Label7->setVisible(departamental);
        Cmb_KPI_Departamento->setVisible(departamental);
        if (departamental) {
            llenar_lista(Cmb_KPI_Departamento, comando_exec(QStringLiteral("Consulta_KPI_2"), argumentos),
                         CAMPO_NOMBRE1, 100);
            vaciar_texto(Cmb_KPI_Departamento);
        }
    });
}

void KPI::button_Consultar_KPI_Click()
{
    const QString indicador = Cmb_KPI_KPI->currentText();
    const QString mes = Cmb_Trimestre_KPI->currentText();
    const QString anio = Cmb_Año_KPI->currentText();
    const QString departamento = Cmb_KPI_Departamento->currentText();
    const bool departamental = Flex7->TextMatrix(0, 1) == TIPO_DEPARTAMENTAL;
    if (mes.isEmpty() || anio.isEmpty() || indicador.isEmpty() || (departamental && departamento.isEmpty())) {
        mensaje(QStringLiteral("Tiene que llenar Todos los Parametros"));
        return;
    }

    // Nothing of an earlier record may stay on screen, nor be saved into.
    Flex6->setRows(3);
    for (int fila = 1; fila < 3; ++fila) {
        for (int c = 0; c < 6; ++c)
            Flex6->setTextMatrix(fila, c, QString());
    }
    Flex7->setTextMatrix(0, 0, QString());

    const CamposKPI& campos = campos_kpi(departamental);
    const QString comando =
        departamental ? comando_exec(QStringLiteral("Consulta_KPI_DEPARTAMENTOS"), {indicador, mes, anio, departamento})
                      : comando_exec(QStringLiteral("Consulta_KPI"), {indicador, mes, anio});
    sin_rechazo([&] {
        Resultado r = Conexion().ejecutar(comando);
        for (int fila = 1; !r.eof(); r.siguiente(), ++fila) {
            if (fila >= Flex6->Rows())
                Flex6->setRows(fila + 1);
            for (int c = 0; c < 6; ++c)
                Flex6->setTextMatrix(fila, c, texto_celda(r.texto(campos.columnas[c]), 15));
            Flex7->setTextMatrix(0, 0, texto_celda(r.texto(campos.id), 15));
            // In full, to see at the save whether someone changed the record.
            Flex7->setTextMatrix(1, 0, r.texto(campos.columnas[3]));
            Flex7->setTextMatrix(1, 1, r.texto(campos.columnas[4]));
            Flex7->setTextMatrix(1, 2, r.texto(campos.columnas[2]));
        }
        // What the record is of, to know it again at the save.
        Flex7->setTextMatrix(2, 0, indicador);
        Flex7->setTextMatrix(2, 1, anio);
        Flex7->setTextMatrix(2, 2, mes);
    });
}

void KPI::olvidar_registro()
{
    for (int fila = 1; fila < Flex6->Rows(); ++fila)
        for (int c = 0; c < 6; ++c)
            Flex6->setTextMatrix(fila, c, QString());
    Flex7->setTextMatrix(0, 0, QString());
}

void KPI::Button_Guardar_KPI_Click()
{
    const QString id = Flex7->TextMatrix(0, 0);
    if (id.trimmed().isEmpty()) {
        mensaje(QStringLiteral("Tienes que realizar primero la consulta"));
        return;
    }
    // An empty box would erase the stored number.
    for (const QLineEdit* caja : {Caja_Linea_Base, Caja_valor, Caja_Meta}) {
        if (caja->text().trimmed().isEmpty()) {
            mensaje(QStringLiteral("Tiene que llenar Todos los Parametros"));
            return;
        }
    }
    QString cambios;
    const bool guardado = sin_rechazo([&] {
        const CursorEspera espera;
        Transaccion transaccion(Conexion());
        cambios = cambios_ajenos({{Flex7->TextMatrix(2, 2), id, Flex7->TextMatrix(1, 0), Flex7->TextMatrix(1, 1),
                                   Flex7->TextMatrix(1, 2), Flex7->TextMatrix(2, 0), Flex7->TextMatrix(2, 1)}},
                                 button_Consultar_KPI->text());
        if (cambios.isEmpty()) {
            Conexion().ejecutar(comando_modificar(Caja_Linea_Base->text(), Caja_valor->text(), Caja_Meta->text(), id));
            transaccion.confirmar();
        }
    });
    if (!guardado)
        return;
    // What was saved is what the next save compares with.
    if (cambios.isEmpty()) {
        Flex7->setTextMatrix(1, 0, texto_guardado(Caja_valor->text()));
        Flex7->setTextMatrix(1, 1, texto_guardado(Caja_Meta->text()));
        Flex7->setTextMatrix(1, 2, texto_guardado(Caja_Linea_Base->text()));
    }
    mensaje(cambios.isEmpty() ? QStringLiteral("Datos Guardados Exitosamente") : cambios);
}

void KPI::Button_Nuevo_KPI_Click()
{
    Caja_valor->clear();
    Caja_Meta->clear();
    Caja_Linea_Base->clear();
    Cmb_KPI_Departamento->hide();
    Label7->hide();
    vaciar_texto(Cmb_KPI_KPI);
    vaciar_texto(Cmb_Año_KPI);
    vaciar_texto(Cmb_Trimestre_KPI);
    for (int c = 0; c < 6; ++c)
        Flex6->setTextMatrix(1, c, QString());
    // The record is no longer shown, so "Guardar" must not write into it.
    Flex7->setTextMatrix(0, 0, QString());
}

} // namespace velmora
