// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/eliminar.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "ui/controles.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "ui/mensajes.h"
#include "ui/twips.h"
#include "ui/atender.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace velmora {

Eliminar::Eliminar(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Eliminar"));
    setWindowTitle(QStringLiteral("Eliminar Indicador"));
    fijar_area_cliente(this, 8685, 2910);
    fijar_fondo(this, QStringLiteral("menu"));

    Label1 = etiqueta(this, QStringLiteral("Label1"), QStringLiteral("K P I :"));
    ubicar(Label1, 360, 735, 900, 315);
    Combo_indicador = lista_larga(this, QStringLiteral("Combo_indicador"));
    ubicar(Combo_indicador, 1260, 660, 7035, 375);
    Label1->setBuddy(Combo_indicador);
    Command1 = boton(this, QStringLiteral("Command1"), QStringLiteral("Eliminar"), QStringLiteral("eliminar"));
    ubicar(Command1, 6540, 1920, 1755, 615);

    connect(Command1, &QPushButton::clicked, this, atendido(this, &Eliminar::Command1_Click));
    Form_Load();
}

void Eliminar::Form_Load()
{
    llenar_lista(Combo_indicador, comando_consulta(QStringLiteral("Indicadores")), QStringLiteral("Indicador"), 70,
                 FormaItem::Cortada);
}

void Eliminar::Command1_Click()
{
    const QString indicador = Combo_indicador->currentText();
    if (indicador.isEmpty()) {
        mensaje(QStringLiteral("Selecciona el Indicador a Eliminar"));
        return;
    }
    if (!sin_rechazo([&] { Conexion().ejecutar(comando_exec(QStringLiteral("eliminar"), {indicador})); }))
        return;
    Combo_indicador->setEditText(QString());
    mensaje(QStringLiteral("Indicador Eliminado Exitosamente"));
    // The catalogue as the database now holds it.
    Combo_indicador->clear();
    Form_Load();
}

} // namespace velmora
