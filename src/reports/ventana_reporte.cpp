#include "reports/ventana_reporte.h"

#include "ui/grid/grilla.h"
#include "ui/imagenes.h"
#include "ui/impresion.h"
#include "ui/listas.h"
#include "ui/twips.h"
#include "ui/ventana_leyenda.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QLabel* etiqueta_reporte(QWidget* ventana, const QString& nombre, const QString& texto)
{
    auto* etiqueta = new QLabel(texto, ventana);
    etiqueta->setObjectName(nombre);
    return etiqueta;
}

QComboBox* lista_reporte(QWidget* ventana, const QString& nombre, int ancho_twips)
{
    QComboBox* lista = lista_editable(ventana, nombre);
    lista->setMinimumWidth(twips_a_px(ancho_twips, ventana));
    return lista;
}

QPushButton* boton_ver(QWidget* ventana, const QString& nombre)
{
    auto* boton = new QPushButton(QStringLiteral("Ver"), ventana);
    boton->setObjectName(nombre);
    boton->setIcon(icono_boton(QStringLiteral("ver")));
    boton->setIconSize(QSize(48, 48));
    boton->setDefault(true); // Enter shows the report
    return boton;
}

Grilla* grilla_reporte(QWidget* ventana, const QString& nombre)
{
    auto* grilla = new Grilla(ventana);
    grilla->setObjectName(nombre);
    return grilla;
}

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
