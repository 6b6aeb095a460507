// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/ventana_reporte.h"

#include "reports/reporte_estado.h"
#include "ui/controles.h"
#include "ui/grid/grilla.h"
#include "ui/impresion.h"
#include "ui/twips.h"
#include "ui/ventana_leyenda.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

DocumentoImpreso documento_reporte(const QWidget* ventana, const QList<QLabel*>& etiquetas, const Grilla& grilla,
                                   const ReporteMostrado& mostrado)
{
    DocumentoImpreso documento;
    documento.titulo = ventana->windowTitle();
    // The choices the shown report was fetched for, not what the lists hold now.
    const QStringList& elegido = mostrado.seleccion;
    for (int i = 0; i < etiquetas.size() && i < elegido.size(); ++i) {
        documento.seleccion << nombre_de_etiqueta(etiquetas[i]->text()) + QStringLiteral(": ") + elegido[i].trimmed();
    }
    TablaImpresa tabla = tabla_impresa(*grilla.modelo());
    // The indicator's name heads its row: on every band of a wide page, and
    // wrapped when long.
    tabla.columnas_fijas = 1;
    documento.tablas << tabla;
    return documento;
}

void disponer_reporte(QWidget* ventana, const QList<QPair<QLabel*, QComboBox*>>& listas,
                      QPushButton* ver, Grilla* grilla, const ReporteMostrado& mostrado)
{
    // Each label above its list, "Ver" at the right end of the row.
    auto* arriba = new QGridLayout;
    arriba->setHorizontalSpacing(twips_a_px(240, ventana));
    arriba->setVerticalSpacing(0);
    int c = 0;
    for (const auto& [etiqueta, lista] : listas) {
        etiqueta->setBuddy(lista);
        arriba->addWidget(etiqueta, 0, c);
        arriba->addWidget(lista, 1, c);
        ++c;
    }
    arriba->setColumnStretch(c, 1);
    ver->setIconSize(QSize(48, 48)); // it spans both rows
    ver->setDefault(true);
    arriba->addWidget(ver, 0, c + 1, 2, 1);
    arriba->addWidget(boton_leyenda(ventana, QStringLiteral("cmd_leyenda")), 0, c + 2);
    QList<QLabel*> etiquetas;
    for (const auto& par : listas)
        etiquetas << par.first;
    arriba->addWidget(boton_imprimir(ventana, QStringLiteral("cmd_imprimir"),
                                     [ventana, etiquetas, grilla, visto = &mostrado] {
                                         return documento_reporte(ventana, etiquetas, *grilla, *visto);
                                     }),
                      1, c + 2);
    // Wider windows widen the report's columns; a taller one shows no blank
    // rows below the indicators (the printed report has none either).
    grilla->setEnsanchar(true);
    grilla->setOcultarVacias(true);

    auto* marco = new QFrame(ventana);
    marco->setObjectName(QStringLiteral("marco"));
    marco->setFrameShape(QFrame::Box);
    auto* dentro = new QVBoxLayout(marco);
    const int borde = twips_a_px(120, ventana);
    dentro->setContentsMargins(borde, borde, borde, borde);
    dentro->addWidget(grilla);

    auto* capa = new QVBoxLayout(ventana);
    const int margen = twips_a_px(240, ventana);
    capa->setContentsMargins(margen, margen, margen, margen);
    capa->setSpacing(margen);
    capa->addLayout(arriba);
    capa->addWidget(marco, 1);
    fijar_area_cliente(ventana, kAnchoReporte, kAltoReporte);
}

} // namespace velmora
