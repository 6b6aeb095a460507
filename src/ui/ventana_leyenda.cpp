// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ventana_leyenda.h"

#include "ui/imagenes.h"
#include "ui/leyenda.h"

#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace velmora {

QWidget* mostrar_leyenda(QWidget* ventana)
{
    auto* leyenda = ventana->findChild<QDialog*>(QStringLiteral("Leyenda"), Qt::FindDirectChildrenOnly);
    if (!leyenda) {
        leyenda = new QDialog(ventana);
        leyenda->setObjectName(QStringLiteral("Leyenda"));
        leyenda->setWindowTitle(QStringLiteral("Leyenda"));
        auto* capa = new QGridLayout(leyenda);
        int fila = 0;
        for (const QString& nombre : imagenes_leyenda()) {
            auto* imagen = new QLabel(leyenda);
            imagen->setPixmap(pixmap_imagen(nombre, QSize(28, 28)));
            auto* texto = new QLabel(significado_imagen(nombre), leyenda);
            texto->setObjectName(QStringLiteral("leyenda_") + nombre);
            imagen->setAccessibleName(significado_imagen(nombre));
            capa->addWidget(imagen, fila, 0);
            capa->addWidget(texto, fila, 1);
            ++fila;
        }
    }
    leyenda->show();
    leyenda->raise();
    leyenda->activateWindow();
    return leyenda;
}

QPushButton* boton_leyenda(QWidget* ventana, const QString& nombre)
{
    auto* boton = new QPushButton(QStringLiteral("Leyenda"), ventana);
    boton->setObjectName(nombre);
    boton->setToolTip(QStringLiteral("Qué significa cada figura"));
    QObject::connect(boton, &QPushButton::clicked, ventana, [ventana] { mostrar_leyenda(ventana); });
    return boton;
}

} // namespace velmora
