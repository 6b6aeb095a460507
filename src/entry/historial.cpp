// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/historial.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "ui/controles.h"
#include "ui/grid/grilla.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "ui/mensajes.h"
#include "ui/twips.h"
#include "ui/atender.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

const QStringList& encabezados()
{
    static const QStringList e = {
        QStringLiteral("Fecha"), QStringLiteral("Usuario"), QStringLiteral("Tipo de usuario"),
        QStringLiteral("Departamento"), QStringLiteral("Año"), QStringLiteral("Mes"),
        QStringLiteral("Campo"), QStringLiteral("Antes"), QStringLiteral("Después")};
    return e;
}

// An indicator's field holds a code; the database names it.
QString valor_mostrado(const Resultado& r, const QString& campo)
{
    const QString nombre = r.texto(campo + QStringLiteral("_nombre"));
    return nombre.isEmpty() ? r.texto(campo) : nombre;
}

} // namespace

Historial::Historial(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Historial"));
    setWindowTitle(QStringLiteral("Historial"));
    fijar_fondo(this, QStringLiteral("menu"));

    Label1 = etiqueta(this, QStringLiteral("Label1"), QStringLiteral("K P I :"));
    Combo_indicador = lista_en_capa(this, QStringLiteral("Combo_indicador"), 40);
    Label1->setBuddy(Combo_indicador);
    boton_consulta = boton(this, QStringLiteral("boton_consulta"), QStringLiteral("Aceptar"),
                                    QStringLiteral("aceptar"));
    boton_consulta->setDefault(true); // Enter shows the history
    Flex_historial = new Grilla(this);
    Flex_historial->setObjectName(QStringLiteral("Flex_historial"));
    boton_copiar = boton(this, QStringLiteral("boton_copiar"), QStringLiteral("Copiar"),
                                  QStringLiteral("copiar"));
    boton_restaurar = boton(this, QStringLiteral("boton_restaurar"), QStringLiteral("Restaurar"),
                                     QStringLiteral("restaurar"));

    const int margen = twips_a_px(360, this);
    auto* capa = new QVBoxLayout(this);
    capa->setContentsMargins(margen, margen, margen, margen);
    capa->setSpacing(twips_a_px(200, this));
    auto* arriba = new QHBoxLayout;
    arriba->setSpacing(twips_a_px(150, this));
    arriba->addWidget(Label1);
    arriba->addWidget(Combo_indicador, 1);
    arriba->addSpacing(twips_a_px(300, this));
    arriba->addWidget(boton_consulta);
    capa->addLayout(arriba);
    capa->addWidget(Flex_historial, 1);
    auto* abajo = new QHBoxLayout;
    abajo->addStretch(1);
    abajo->addWidget(boton_copiar);
    abajo->addWidget(boton_restaurar);
    capa->addLayout(abajo);
    fijar_area_cliente(this, 14100, 6600);

    connect(boton_consulta, &QPushButton::clicked, this, atendido(this, &Historial::boton_consulta_Click));
    connect(boton_copiar, &QPushButton::clicked, this, atendido(this, &Historial::boton_copiar_Click));
    connect(boton_restaurar, &QPushButton::clicked, this, atendido(this, &Historial::boton_restaurar_Click));
    Form_Load();
}

void Historial::Form_Load()
{
    Flex_historial->setFixedCols(0);
    Flex_historial->setCols(static_cast<int>(encabezados().size()));
    Flex_historial->setFixedRows(1);
    Flex_historial->setRows(1);
    const QList<int> anchos = {2200, 1100, 1600, 2100, 700, 1300, 1400, 1300, 1300};
    for (int c = 0; c < Flex_historial->Cols(); ++c) {
        Flex_historial->setColWidth(c, anchos[c]);
        Flex_historial->setTextMatrix(0, c, encabezados()[c]);
    }
    // Deleted indicators too: their history is what brings them back.
    llenar_lista(Combo_indicador, comando_exec(QStringLiteral("Indicadores_historial")),
                 QStringLiteral("Indicador"), 70, FormaItem::Cortada);
}

void Historial::consultar(const QString& indicador)
{
    Flex_historial->setRows(1);
    QList<QStringList> filas;
    const bool leido = sin_rechazo([&] {
        Resultado r = Conexion().ejecutar(comando_exec(QStringLiteral("Consulta_historial"), {indicador}));
        for (; !r.eof(); r.siguiente()) {
            QStringList fila;
            for (const QString& campo : encabezados().mid(0, 7))
                fila << r.texto(campo);
            fila << valor_mostrado(r, QStringLiteral("Antes")) << valor_mostrado(r, QStringLiteral("Después"));
            filas << fila;
        }
    });
    if (!leido)
        return;
    if (filas.isEmpty()) {
        mensaje(QStringLiteral("No hay cambios registrados de ese indicador"));
        return;
    }
    ModeloGrilla::Lote lote(*Flex_historial->modelo());
    Flex_historial->setRows(static_cast<int>(filas.size()) + 1);
    for (int f = 0; f < filas.size(); ++f)
        for (int c = 0; c < filas[f].size(); ++c)
            Flex_historial->setTextMatrix(f + 1, c, filas[f][c]);
}

void Historial::boton_consulta_Click()
{
    if (Combo_indicador->currentText().isEmpty()) {
        mensaje(QStringLiteral("Selecciona el Indicador"));
        return;
    }
    consultar(Combo_indicador->currentText());
}

void Historial::boton_copiar_Click()
{
    // Tab-separated with the headings, as a spreadsheet pastes it.
    QStringList lineas;
    for (int f = 0; f < Flex_historial->Rows(); ++f) {
        QStringList celdas;
        for (int c = 0; c < Flex_historial->Cols(); ++c)
            celdas << Flex_historial->TextMatrix(f, c);
        lineas << celdas.join(u'\t');
    }
    QGuiApplication::clipboard()->setText(lineas.join(u'\n') + u'\n');
}

void Historial::boton_restaurar_Click()
{
    const QString indicador = Combo_indicador->currentText();
    if (indicador.isEmpty()) {
        mensaje(QStringLiteral("Selecciona el Indicador a Restaurar"));
        return;
    }
    if (!sin_rechazo([&] { Conexion().ejecutar(comando_exec(QStringLiteral("Restaurar_indicador"), {indicador})); }))
        return;
    mensaje(QStringLiteral("Indicador Restaurado Exitosamente"));
    // The restore is itself a change: show it on top.
    consultar(indicador);
}

} // namespace velmora
