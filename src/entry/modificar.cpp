// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/modificar.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"
#include "data/textos.h"
#include "entry/cambios_ajenos.h"
#include "reglas/campos.h"
#include "ui/controles.h"
#include "ui/cursor_espera.h"
#include "ui/grid/class1.h"
#include "ui/grid/grilla.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "ui/mensajes.h"
#include "ui/twips.h"
#include "ui/atender.h"
#include "ui/ventana_escritorio.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace velmora {

namespace {
constexpr int kMeses = 12;
constexpr int kAncho = 15; // characters kept of each fetched value
} // namespace

Modificar::Modificar(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Modificar"));
    setWindowTitle(QStringLiteral("Modificar"));
    fijar_area_cliente(this, 11385, 4815);
    fijar_fondo(this, QStringLiteral("menu"));

    Label1 = etiqueta(this, QStringLiteral("Label1"), QStringLiteral("K P I:"));
    ubicar(Label1, 360, 555, 900, 315);
    Combo_kpi = lista_larga(this, QStringLiteral("Combo_kpi"));
    ubicar(Combo_kpi, 1260, 480, 5415, 375);
    Label2 = etiqueta(this, QStringLiteral("Label2"), QStringLiteral("Año :"));
    ubicar(Label2, 6960, 555, 720, 315);
    Combo_año = lista_larga(this, QStringLiteral("Combo_año"));
    ubicar(Combo_año, 7680, 480, 1455, 375);
    boton_consulta = boton(this, QStringLiteral("boton_consulta"), QStringLiteral("Aceptar"),
                                    QStringLiteral("aceptar"));
    ubicar(boton_consulta, 9300, 360, 1755, 615);
    boton_consulta->setDefault(true);
    Label1->setBuddy(Combo_kpi);
    Label2->setBuddy(Combo_año);

    MSFlexGrid1 = new Grilla(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    ubicar(MSFlexGrid1, 360, 1440, 10695, 1815);
    MSFlexGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MSFlexGrid2 = new ModeloGrilla(this);
    MSFlexGrid2->setObjectName(QStringLiteral("MSFlexGrid2"));
    valores_leidos = new ModeloGrilla(this);
    valores_leidos->setObjectName(QStringLiteral("valores_leidos"));

    // Created after the grid, so it floats above it.
    Text1 = nombrado<QLineEdit>(this, QStringLiteral("Text1"));
    Text1->setFrame(false);
    QPalette verde = Text1->palette();
    verde.setColor(QPalette::Base, QColor(0xC0, 0xFF, 0xC0));
    Text1->setPalette(verde);
    Text1->hide();

    boton_guardar = boton(this, QStringLiteral("boton_guardar"), QStringLiteral("Guardar"),
                                   QStringLiteral("guardar"));
    ubicar(boton_guardar, 9300, 3720, 1755, 615);
    // A wider window shows more of the twelve months.
    anclar(MSFlexGrid1, int(Ancla::CrecerAncho));
    anclar(boton_consulta, int(Ancla::MoverDerecha));
    anclar(boton_guardar, int(Ancla::MoverDerecha));

    connect(boton_consulta, &QPushButton::clicked, this, atendido(this, &Modificar::boton_consulta_Click));
    connect(boton_guardar, &QPushButton::clicked, this, atendido(this, &Modificar::boton_guardar_Click));
    // Typed and not saved: ending the program asks first.
    connect(Text1, &QLineEdit::textEdited, this, [this] { marcar_sin_guardar(this, true); });
    Form_Load();
}

Modificar::~Modificar() = default;

void Modificar::Form_Load()
{
    editor = std::make_unique<Class1>();
    editor->Iniciar(MSFlexGrid1, Text1);

    MSFlexGrid1->setFixedCols(1);
    MSFlexGrid1->setCols(kMeses + 1);
    MSFlexGrid1->setFixedRows(1);
    MSFlexGrid1->setRows(4);
    MSFlexGrid2->setFixedCols(1);
    MSFlexGrid2->setCols(kMeses + 1);
    MSFlexGrid2->setFixedRows(1);
    MSFlexGrid2->setRows(2);
    valores_leidos->setCols(kMeses + 1);
    valores_leidos->setRows(4);
    MSFlexGrid1->setColWidth(0, 1215); // room for "Nivel Base"
    for (int m = 1; m <= kMeses; ++m)
        MSFlexGrid1->setColWidth(m, 1500);
    // Exactly the four rows tall, above its scroll bar.
    MSFlexGrid1->setFixedHeight(4 * MSFlexGrid1->alto_fila() + 2 * MSFlexGrid1->frameWidth()
                                + MSFlexGrid1->horizontalScrollBar()->sizeHint().height());
    for (int m = 1; m <= kMeses; ++m)
        MSFlexGrid1->setTextMatrix(0, m, nombres_meses().at(m - 1));
    MSFlexGrid1->setTextMatrix(1, 0, QStringLiteral("Valor"));
    MSFlexGrid1->setTextMatrix(2, 0, QStringLiteral("Meta"));
    MSFlexGrid1->setTextMatrix(3, 0, QStringLiteral("Nivel Base"));
    MSFlexGrid2->setTextMatrix(1, 0, QStringLiteral("Id"));

    llenar_lista(Combo_kpi, comando_consulta(QStringLiteral("Indicadores")), QStringLiteral("Indicador"), 80);
    llenar_lista(Combo_año, comando_consulta(QStringLiteral("Año")), QStringLiteral("año"), 15);
}

void Modificar::vaciar_meses()
{
    for (int m = 1; m <= kMeses; ++m) {
        for (int fila = 1; fila <= 3; ++fila) {
            MSFlexGrid1->setTextMatrix(fila, m, QString());
            valores_leidos->setTextMatrix(fila, m, QString());
        }
        MSFlexGrid2->setTextMatrix(1, m, QString());
    }
    valores_leidos->setTextMatrix(0, 0, QString());
    valores_leidos->setTextMatrix(0, 1, QString());
}

void Modificar::boton_consulta_Click()
{
    // Nothing of an earlier fetch may stay behind to be saved under its old
    // identifiers.
    vaciar_meses();
    try {
        Resultado r = Conexion().ejecutar(
            comando_exec(QStringLiteral("Consulta_modificar"), {Combo_kpi->currentText(), Combo_año->currentText()}));
        // What the records are of, to know them again at the save.
        valores_leidos->setTextMatrix(0, 0, Combo_kpi->currentText());
        valores_leidos->setTextMatrix(0, 1, Combo_año->currentText());
        // A row per month; anything past the twelfth has no column.
        const QStringList campos = {CAMPO_VALOR, CAMPO_META, CAMPO_NIVEL_BASE};
        for (int m = 1; m <= kMeses && !r.eof(); ++m, r.siguiente()) {
            for (int fila = 1; fila <= 3; ++fila) {
                const QString valor = r.texto(campos[fila - 1]);
                valores_leidos->setTextMatrix(fila, m, valor);
                MSFlexGrid1->setTextMatrix(fila, m, texto_celda(valor, kAncho));
            }
            MSFlexGrid2->setTextMatrix(1, m, texto_celda(r.texto(CAMPO_ID1), kAncho));
        }
    } catch (const RechazoDatos& e) {
        vaciar_meses();
        mensaje(e.texto());
    }
    // The hidden editor would otherwise write an older text over a fresh value.
    editor->refrescar();
    marcar_sin_guardar(this, false);
}

QString Modificar::a_guardar(int fila, int mes) const
{
    // A value too long for its cell is shown shortened; unless the user
    // typed over it, it goes back as it was fetched.
    const QString celda = MSFlexGrid1->TextMatrix(fila, mes);
    const QString leido = valores_leidos->TextMatrix(fila, mes);
    if (largo(leido) > kAncho && celda == texto_celda(leido, kAncho))
        return leido;
    return celda;
}

void Modificar::boton_guardar_Click()
{
    // A value still open in the editor counts as typed.
    editor->escribir_edicion();
    QList<int> meses;
    for (int m = 1; m <= kMeses; ++m)
        if (!MSFlexGrid2->TextMatrix(1, m).trimmed().isEmpty())
            meses << m;
    if (meses.isEmpty()) {
        // The same words the KPI screen uses for a save before any fetch.
        mensaje(QStringLiteral("Tienes que realizar primero la consulta"));
        return;
    }
    int mes = 0;
    QString cambios;
    try {
        const CursorEspera espera;
        Transaccion transaccion(Conexion());
        // Every month is written back, so a change by anyone else since the
        // fetch, in any month, would be undone silently.
        QList<RegistroLeido> leidos;
        for (int m : meses)
            leidos.append({nombres_meses().at(m - 1), MSFlexGrid2->TextMatrix(1, m), valores_leidos->TextMatrix(1, m),
                           valores_leidos->TextMatrix(2, m), valores_leidos->TextMatrix(3, m),
                           valores_leidos->TextMatrix(0, 0), valores_leidos->TextMatrix(0, 1)});
        cambios = cambios_ajenos(leidos, boton_consulta->text());
        if (cambios.isEmpty()) {
            for (int m : meses) {
                mes = m;
                Conexion().ejecutar(comando_modificar(a_guardar(3, m), a_guardar(1, m), a_guardar(2, m),
                                                      MSFlexGrid2->TextMatrix(1, m)));
            }
            transaccion.confirmar();
        }
    } catch (const RechazoDatos& e) {
        // None of the months was stored; the grid keeps the edits for
        // correction, and the user learns which month to correct.
        mensaje(mes > 0 && e.por_los_datos() ? e.texto() + QStringLiteral(" (") + nombres_meses().at(mes - 1) + QStringLiteral(")")
                        : e.texto());
        return;
    }
    // What was saved is what the next save compares with.
    if (cambios.isEmpty()) {
        marcar_sin_guardar(this, false);
        for (int m : meses)
            for (int fila = 1; fila <= 3; ++fila)
                valores_leidos->setTextMatrix(fila, m, texto_guardado(a_guardar(fila, m)));
    }
    // Shown after the transaction let go of its lock.
    mensaje(cambios.isEmpty() ? QStringLiteral("Datos Guardados Exitosamente") : cambios);
}

} // namespace velmora
