// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/menu.h"

#include "ui/twips.h"

#include <QGridLayout>
#include <QPushButton>

#include <algorithm>

namespace velmora {

void disponer_menu(QWidget* ventana, const QList<QList<QPushButton*>>& columnas, QPushButton* salir,
                   int ancho_twips, int alto_twips)
{
    auto* capa = new QGridLayout(ventana);
    const int margen = twips_a_px(450, ventana);
    capa->setContentsMargins(margen, margen, margen, margen);
    capa->setHorizontalSpacing(twips_a_px(300, ventana));
    const auto poner = [ventana, capa](QPushButton* boton, qsizetype fila, qsizetype columna) {
        // Blanks that place a text beside its picture are not read out
        // (nor the access key's '&', as Qt's own name leaves it out).
        if (const QString texto = boton->text(); texto != texto.trimmed()) {
            QString nombre;
            for (qsizetype i = 0; i < texto.size(); ++i) {
                if (texto[i] == u'&' && i + 1 < texto.size())
                    ++i;
                nombre += texto[i];
            }
            boton->setAccessibleName(nombre.trimmed());
        }
        boton->setMinimumHeight(twips_a_px(645, ventana));
        boton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        capa->addWidget(boton, int(fila), int(columna));
    };
    qsizetype filas = 0;
    for (qsizetype c = 0; c < columnas.size(); ++c) {
        for (qsizetype f = 0; f < columnas[c].size(); ++f)
            poner(columnas[c][f], f, c);
        filas = std::max(filas, columnas[c].size());
    }
    capa->setRowStretch(int(filas), 1);
    poner(salir, filas + 1, columnas.size() - 1);
    // Tab goes down each column, then on to the next, and ends at `salir`,
    // as the buttons stand, whatever order they were made in.
    QWidget* anterior = nullptr;
    for (const QList<QPushButton*>& columna : columnas)
        for (QPushButton* boton : columna) {
            if (anterior)
                QWidget::setTabOrder(anterior, boton);
            anterior = boton;
        }
    if (anterior)
        QWidget::setTabOrder(anterior, salir);
    fijar_area_cliente(ventana, ancho_twips, alto_twips);
}

} // namespace velmora
