// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/nuevo_registro.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "reglas/codigos.h"
#include "ui/controles.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "ui/mensajes.h"
#include "ui/twips.h"
#include "ui/atender.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmora {

Nuevo_Registro::Nuevo_Registro(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Nuevo_Registro"));
    setWindowTitle(QStringLiteral("Nuevo Registro"));
    fijar_fondo(this, QStringLiteral("menu"));

    Combo_indicador = lista_en_capa(this, QStringLiteral("Combo_indicador"));
    Combo_desempeño = lista_en_capa(this, QStringLiteral("Combo_desempeño"));
    Combo_perspectiva = lista_en_capa(this, QStringLiteral("Combo_perspectiva"));
    Combo_unidad = lista_en_capa(this, QStringLiteral("Combo_unidad"));
    Text_nivel = nombrado<QLineEdit>(this, QStringLiteral("Text_nivel"));
    Text_meta = nombrado<QLineEdit>(this, QStringLiteral("Text_meta"));
    Text3_valor = nombrado<QLineEdit>(this, QStringLiteral("Text3_valor"));
    Combo_año = lista_en_capa(this, QStringLiteral("Combo_año"));
    Cmb_mes_Reporte = lista_en_capa(this, QStringLiteral("Cmb_mes_Reporte"));
    llenar_meses(Cmb_mes_Reporte);
    Command1 = boton(this, QStringLiteral("Command1"), QStringLiteral("Guardar"), QStringLiteral("guardar"));
    Command1->setDefault(true);

    auto* capa = new QGridLayout(this);
    const int margen = twips_a_px(360, this);
    capa->setContentsMargins(margen, margen, margen, margen);
    capa->setHorizontalSpacing(twips_a_px(150, this));
    capa->setColumnMinimumWidth(2, twips_a_px(300, this));
    const QList<std::pair<QString, QWidget*>> izquierda = {
        {QStringLiteral("K P I :"), Combo_indicador},
        {QStringLiteral("Desempeño :"), Combo_desempeño},
        {QStringLiteral("Perspeciva :"), Combo_perspectiva},
        {QStringLiteral("Unidad :"), Combo_unidad},
        {QStringLiteral("Nivel Base :"), Text_nivel},
        {QStringLiteral("Meta :"), Text_meta},
        {QStringLiteral("Valor :"), Text3_valor},
    };
    for (int fila = 0; fila < izquierda.size(); ++fila) {
        capa->addWidget(etiqueta_de(this, izquierda[fila].first, izquierda[fila].second), fila, 0);
        capa->addWidget(izquierda[fila].second, fila, 1);
    }
    capa->addWidget(etiqueta_de(this, QStringLiteral("Año :"), Combo_año), 0, 3);
    capa->addWidget(Combo_año, 0, 4);
    capa->addWidget(etiqueta_de(this, QStringLiteral("Mes :"), Cmb_mes_Reporte), 1, 3);
    capa->addWidget(Cmb_mes_Reporte, 1, 4);
    capa->addWidget(Command1, 3, 4, 2, 1);
    capa->setColumnStretch(1, 3);
    capa->setColumnStretch(4, 2);
    fijar_area_cliente(this, 8865, 4620);

    connect(Command1, &QPushButton::clicked, this, atendido(this, &Nuevo_Registro::Command1_Click));
    Form_Load();
}

void Nuevo_Registro::Form_Load()
{
    const auto llenar = [](QComboBox* lista, const QString& tabla, const QString& campo, int ancho) {
        llenar_lista(lista, comando_consulta(tabla), campo, ancho);
    };
    llenar(Combo_indicador, QStringLiteral("Indicadores"), QStringLiteral("Indicador"), 80);
    llenar(Combo_desempeño, QStringLiteral("Desempeño"), QStringLiteral("desempeño"), 80);
    llenar(Combo_perspectiva, QStringLiteral("Perspectivas"), QStringLiteral("perspectiva"), 80);
    llenar(Combo_unidad, QStringLiteral("Tipo Unidad"), QStringLiteral("unidad"), 80);
    llenar(Combo_año, QStringLiteral("Año"), QStringLiteral("año"), 15);
}

void Nuevo_Registro::Command1_Click()
{
    // Three blank boxes would erase the month's numbers.
    if (Text_nivel->text().trimmed().isEmpty() && Text_meta->text().trimmed().isEmpty()
        && Text3_valor->text().trimmed().isEmpty()) {
        mensaje(QStringLiteral("Tiene que llenar Todos los Parametros"));
        return;
    }
    const QString texto = comando_exec(
        QStringLiteral("Nuevo_registro"),
        {
            QString::number(codigo_anio(Combo_año->currentText())),
            Cmb_mes_Reporte->currentText(),
            Combo_indicador->currentText(),
            QString::number(codigo_desempeno(Combo_desempeño->currentText())),
            QString::number(codigo_perspectiva(Combo_perspectiva->currentText())),
            QStringLiteral("1"),
            QString::number(codigo_unidad(Combo_unidad->currentText())),
            Text_nivel->text(),
            Text_meta->text(),
            Text3_valor->text(),
        });
    if (!sin_rechazo([&] { Conexion().ejecutar(texto); }))
        return;
    mensaje(QStringLiteral("Registro Guardado Exitosamente"));
}

} // namespace velmora
