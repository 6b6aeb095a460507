#include "reports/ventana_reporte.h"

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

void disponer_reporte(QWidget* ventana, const QList<QPair<QLabel*, QComboBox*>>& listas,
                      QPushButton* ver, Grilla* grilla)
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
    arriba->addWidget(boton_imprimir(ventana, QStringLiteral("cmd_imprimir")), 1, c + 2);

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
