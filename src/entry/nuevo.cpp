// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/nuevo.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "reglas/codigos.h"
#include "reglas/nombres.h"
#include "ui/controles.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "ui/mensajes.h"
#include "ui/twips.h"
#include "ui/atender.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmora {

Nuevo::Nuevo(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Nuevo"));
    setWindowTitle(QStringLiteral("Nuevo Indicador"));
    fijar_area_cliente(this, 7545, 3015);
    fijar_fondo(this, QStringLiteral("menu"));

    Label1 = etiqueta(this, QStringLiteral("Label1"), QStringLiteral("K P I:"));
    ubicar(Label1, 360, 555, 1800, 315);
    Text_nuevo_indicador = nombrado<QLineEdit>(this, QStringLiteral("Text_nuevo_indicador"));
    ubicar(Text_nuevo_indicador, 2160, 480, 4995, 375);
    Label2 = etiqueta(this, QStringLiteral("Label2"), QStringLiteral("Tipo Indicador :"));
    ubicar(Label2, 360, 1275, 1800, 315);
    Combo_nuevo_indicador = lista_larga(this, QStringLiteral("Combo_nuevo_indicador"));
    ubicar(Combo_nuevo_indicador, 2160, 1200, 2535, 375);
    Command1 = boton(this, QStringLiteral("Command1"), QStringLiteral("Guardar"), QStringLiteral("guardar"));
    ubicar(Command1, 5400, 2160, 1755, 615);
    Command1->setDefault(true);
    Label1->setBuddy(Text_nuevo_indicador);
    Label2->setBuddy(Combo_nuevo_indicador);

    connect(Command1, &QPushButton::clicked, this, atendido(this, &Nuevo::Command1_Click));
    Form_Load();
}

void Nuevo::Form_Load()
{
    llenar_lista(Combo_nuevo_indicador, comando_consulta(QStringLiteral("Tipo Indicador")),
                 QStringLiteral("Tipo Indicador"), 15);
}

void Nuevo::Command1_Click()
{
    // Names that look the same are one name: stored in NFC.
    const QString nombre = nombre_nfc(Text_nuevo_indicador->text());
    const QString tipo = Combo_nuevo_indicador->currentText();
    if (tipo.isEmpty() || nombre.isEmpty()) {
        mensaje(QStringLiteral("Tiene que llenar Todos los Datos"));
        return;
    }
    if (const QString rechazo = revisar_nombre(nombre); !rechazo.isEmpty()) {
        mensaje(rechazo);
        return;
    }
    // On a refusal the boxes keep what was typed, for correction.
    if (!sin_rechazo([&] {
            Conexion().ejecutar(comando_exec(QStringLiteral("Nuevo_Indicador"), {nombre, QString::number(codigo_tipo(tipo))}));
        }))
        return;
    mensaje(QStringLiteral("Indicador Guardado Exitosamente"));
    Text_nuevo_indicador->clear();
    Combo_nuevo_indicador->setEditText(QString());
}

} // namespace velmora
