// SPDX-License-Identifier: GPL-3.0-or-later
#include "trend/tendencia_y_desempeno.h"

#include "data/comandos.h"
#include "data/textos.h"
#include "reglas/campos.h"
#include "trend/disposicion_tendencia.h"
#include "trend/documento_tendencia.h"
#include "trend/grafica_tendencia.h"
#include "trend/tablas_tendencia.h"
#include "ui/grid/grilla.h"
#include "ui/imagenes.h"
#include "ui/impresion.h"
#include "ui/leyenda.h"
#include "ui/ventana_leyenda.h"
#include "ui/listas.h"
#include "ui/mensajes.h"
#include "ui/twips.h"
#include "ui/atender.h"
#include "ui/controles.h"
#include "ui/ventana_escritorio.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace velmora {

namespace {

const QString FALTAN_PARAMETROS = QStringLiteral("Tiene que llenar Todos los Parametros");

} // namespace

Tendencia_y_Desempeno::Tendencia_y_Desempeno(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("Tendencia_y_Desempeño"));
    setWindowTitle(QStringLiteral("Tendencia y Desempeño"));
    fijar_fondo(this, QStringLiteral("menu"));

    Lbl_Tipo_Indicador = etiqueta(this, QStringLiteral("Lbl_Tipo_Indicador"), QStringLiteral("Tipo Indicador :"));
    Lbl_Departamento = etiqueta(this, QStringLiteral("Lbl_Departamento"), QStringLiteral("Departamento :"));
    Lbl_KPI = etiqueta(this, QStringLiteral("Lbl_KPI"), QStringLiteral("K P I :"));
    Lbl_Año = etiqueta(this, QStringLiteral("Lbl_Año"), QStringLiteral("Año :"));
    Cmb_Tipo_Indicador_TendenciasyDesempeño = lista_editable(this, QStringLiteral("Cmb_Tipo_Indicador_TendenciasyDesempeño"));
    Cmb_Departamento_TendenciasyDesempeño = lista_editable(this, QStringLiteral("Cmb_Departamento_TendenciasyDesempeño"));
    Cmb_KPI_TendenciasyDesempeño = lista_editable(this, QStringLiteral("Cmb_KPI_TendenciasyDesempeño"));
    Cmb_Año_TendenciasyDesempeño = lista_editable(this, QStringLiteral("Cmb_Año_TendenciasyDesempeño"));

    Button_LLenar_TendeciasyDesempeño = boton(this, QStringLiteral("Button_LLenar_TendeciasyDesempeño"),
                                              QStringLiteral("Ver"), QStringLiteral("ver"));
    Button_LLenar_TendeciasyDesempeño->setDefault(true);
    Button_Graficar = boton(this, QStringLiteral("Button_Graficar"), QStringLiteral("Graficar"),
                            QStringLiteral("graficar"));

    mshtd = nombrado<Grilla>(this, QStringLiteral("mshtd"));
    Flex3 = nombrado<Grilla>(this, QStringLiteral("Flex3"));
    Flex2 = nombrado<ModeloGrilla>(this, QStringLiteral("Flex2"));
    ChartSpace1 = nombrado<QChartView>(this, QStringLiteral("ChartSpace1"));
    ChartSpace1->setRenderHint(QPainter::Antialiasing);
    ChartSpace1->chart()->setFont(QFont(QStringLiteral("Arial")));

    fijar_area_cliente(this, kAnchoVentanaTendencia, kAltoVentanaTendencia);
    // The frames around the lists, the table, the baselines and the chart;
    // DisposicionTendencia places the last three with what they frame.
    QFrame* marco[4];
    for (int i = 0; i < 4; ++i) {
        marco[i] = nombrado<QFrame>(this, QStringLiteral("Shape%1").arg(i + 1));
        marco[i]->setFrameShape(QFrame::Box);
        marco[i]->lower();
    }
    ubicar(marco[0], 120, 120, 9615, 1695);
    anclar(marco[0], int(Ancla::CrecerAncho));
    ubicar(Lbl_Tipo_Indicador, 240, 270, 1500, 315);
    ubicar(Cmb_Tipo_Indicador_TendenciasyDesempeño, 1800, 240, 2535, 360);
    ubicar(Lbl_Departamento, 4440, 270, 1500, 315);
    ubicar(Cmb_Departamento_TendenciasyDesempeño, 5940, 240, 3555, 360);
    ubicar(Lbl_KPI, 240, 810, 1500, 315);
    ubicar(Cmb_KPI_TendenciasyDesempeño, 1800, 780, 7695, 360);
    ubicar(Lbl_Año, 240, 1350, 1500, 315);
    ubicar(Cmb_Año_TendenciasyDesempeño, 1800, 1320, 1335, 360);
    ubicar(Button_LLenar_TendeciasyDesempeño, 9975, 480, 1935, 975);
    ubicar(Button_Graficar, 12150, 480, 1935, 975);
    // On a screen narrower than the window's design the lists give up room
    // so that both buttons stay in sight; on a wider one they show more.
    anclar(Cmb_KPI_TendenciasyDesempeño, int(Ancla::CrecerAncho));
    anclar(Cmb_Departamento_TendenciasyDesempeño, int(Ancla::CrecerAncho));
    anclar(Button_LLenar_TendeciasyDesempeño, int(Ancla::MoverDerecha));
    anclar(Button_Graficar, int(Ancla::MoverDerecha));
    // Legend and printing under the two buttons.
    QPushButton* leyenda = boton_leyenda(this, QStringLiteral("cmd_leyenda"));
    ubicar(leyenda, 9975, 1500, 1935, 420);
    anclar(leyenda, int(Ancla::MoverDerecha));
    QPushButton* imprimir = boton_imprimir(this, QStringLiteral("cmd_imprimir"), [this] {
        return documento_tendencia(this, seleccion_mostrada, *mshtd, *Flex3, *Flex2, *ChartSpace1);
    });
    ubicar(imprimir, 12150, 1500, 1935, 420);
    anclar(imprimir, int(Ancla::MoverDerecha));
    // The status and trend pictures' tooltips give the numbers behind them.
    mshtd->setAyuda([this](int fila, int columna) -> QString {
        if (columna < 1)
            return {};
        const QString mostrada = mshtd->modelo()->CellPicture(fila, columna);
        const QString V = mshtd->TextMatrix(2, columna);
        if (fila == 4)
            return ayuda_estado(mostrada, V, mshtd->TextMatrix(1, columna), Flex2->TextMatrix(1, columna));
        if (fila == 5)
            return ayuda_tendencia(mostrada, V, columna == 1 ? Flex2->TextMatrix(5, mshtd->Cols() - 1)
                                                             : mshtd->TextMatrix(2, columna - 1));
        return {};
    });
    // A wider window shows more months, then a larger chart.
    mshtd->setEnsanchar(true);
    Flex3->setEnsanchar(true);
    auto* disposicion = new DisposicionTendencia(this, mshtd, Flex3, ChartSpace1, marco[1], marco[2], marco[3]);
    setMinimumSize(disposicion->minimo());
    Lbl_Tipo_Indicador->setBuddy(Cmb_Tipo_Indicador_TendenciasyDesempeño);
    Lbl_Departamento->setBuddy(Cmb_Departamento_TendenciasyDesempeño);
    Lbl_KPI->setBuddy(Cmb_KPI_TendenciasyDesempeño);
    Lbl_Año->setBuddy(Cmb_Año_TendenciasyDesempeño);
    // Shown once a departmental indicator is chosen.
    Lbl_Departamento->setVisible(false);
    Cmb_Departamento_TendenciasyDesempeño->setVisible(false);

    al_elegir(Cmb_Tipo_Indicador_TendenciasyDesempeño, this,
              [this] { atender([this] { Cmb_Tipo_Indicador_TendenciasyDesempeño_Click(); }); });
    al_elegir(Cmb_KPI_TendenciasyDesempeño, this,
              [this] { atender([this] { Cmb_KPI_TendenciasyDesempeño_Click(); }); });
    connect(Button_LLenar_TendeciasyDesempeño, &QPushButton::clicked, this,
            atendido(this, &Tendencia_y_Desempeno::Button_LLenar_TendeciasyDesempeño_Click));
    connect(Button_Graficar, &QPushButton::clicked, this, atendido(this, &Tendencia_y_Desempeno::Button_Graficar_Click));

    Form_Load();
}

void Tendencia_y_Desempeno::Form_Load()
{
    const QStringList& meses = nombres_meses();

    mshtd->setFixedCols(1);
    mshtd->setCols(13);
    mshtd->setFixedRows(1);
    mshtd->setRows(6);
    // Tall enough for a trend picture (435) and a little air.
    mshtd->setRowHeightMin(435 + px_a_twips(2, this));

    Flex2->setFixedCols(1);
    Flex2->setCols(30);
    Flex2->setFixedRows(1);
    Flex2->setRows(6);

    for (int k = 1; k <= 12; ++k)
        mshtd->setColWidth(k, 1250);
    mshtd->setTextMatrix(0, 0, QStringLiteral("Meses"));
    for (int k = 1; k <= 12; ++k)
        mshtd->setTextMatrix(0, k, meses[k - 1]);
    mshtd->setTextMatrix(1, 0, QStringLiteral("Meta"));
    mshtd->setTextMatrix(2, 0, QStringLiteral("Valor"));
    mshtd->setTextMatrix(4, 0, QStringLiteral("Desempeño"));
    mshtd->setTextMatrix(5, 0, QStringLiteral("Tendencia"));

    Flex3->setFixedCols(1);
    Flex3->setCols(13);
    Flex3->setFixedRows(1);
    Flex3->setRows(2);
    for (int k = 1; k <= 4; ++k)
        Flex3->setColWidth(k, 1000);
    Flex3->setTextMatrix(0, 0, QStringLiteral("Meses"));
    for (int k = 1; k <= 12; ++k)
        Flex3->setTextMatrix(0, k, meses[k - 1]);
    Flex3->setTextMatrix(1, 0, QStringLiteral("Nivel Base"));

    llenar_lista(Cmb_Tipo_Indicador_TendenciasyDesempeño, comando_consulta(QStringLiteral("Tipo Indicador")),
                 QStringLiteral("Tipo Indicador"), 15);
    llenar_lista(Cmb_Año_TendenciasyDesempeño, comando_consulta(QStringLiteral("Año")), QStringLiteral("año"), 5);
}

void Tendencia_y_Desempeno::Cmb_Tipo_Indicador_TendenciasyDesempeño_Click()
{
    const QString T = Cmb_Tipo_Indicador_TendenciasyDesempeño->currentText();
    Cmb_KPI_TendenciasyDesempeño->clear();
    if (T == TIPO_DEPARTAMENTAL) {
        llenar_lista(Cmb_KPI_TendenciasyDesempeño,
                     comando_exec(QStringLiteral("Principales_o_Departametnales"), {QStringLiteral("2")}),
                     CAMPO_NOMBRE, 100);
    } else if (T == TIPO_PRINCIPAL) {
        Cmb_Departamento_TendenciasyDesempeño->setVisible(false);
        Lbl_Departamento->setVisible(false);
        llenar_lista(Cmb_KPI_TendenciasyDesempeño,
                     comando_exec(QStringLiteral("Principales_o_Departametnales"), {QStringLiteral("1")}),
                     CAMPO_INDICADOR, 100);
    } else {
        return;
    }
    Cmb_KPI_TendenciasyDesempeño->setVisible(true);
    Lbl_KPI->setVisible(true);
}

void Tendencia_y_Desempeno::Cmb_KPI_TendenciasyDesempeño_Click()
{
    const QString T = Cmb_Tipo_Indicador_TendenciasyDesempeño->currentText();
    Cmb_Departamento_TendenciasyDesempeño->clear();
    if (T != TIPO_DEPARTAMENTAL)
        return;
    llenar_lista(Cmb_Departamento_TendenciasyDesempeño,
                 comando_exec_tendencia(QStringLiteral("Ten_Des_1_2"),
                                        {T, Cmb_Año_TendenciasyDesempeño->currentText(),
                                         Cmb_KPI_TendenciasyDesempeño->currentText(),
                                         QStringLiteral("Primer Trimestre")}),
                 CAMPO_NOMBRE1, 100);
    Cmb_Departamento_TendenciasyDesempeño->setVisible(true);
    Lbl_Departamento->setVisible(true);
}

void Tendencia_y_Desempeno::Button_LLenar_TendeciasyDesempeño_Click()
{
    const ConsultaTendencia consulta{Cmb_Tipo_Indicador_TendenciasyDesempeño->currentText(),
                                     Cmb_KPI_TendenciasyDesempeño->currentText(),
                                     Cmb_Año_TendenciasyDesempeño->currentText(),
                                     Cmb_Departamento_TendenciasyDesempeño->currentText()};
    // Each missing part is told apart, so the message may come twice.
    bool falta = false;
    if (consulta.indicador.isEmpty() || consulta.anio.isEmpty()) {
        mensaje(FALTAN_PARAMETROS);
        falta = true;
    }
    if (consulta.tipo == TIPO_DEPARTAMENTAL && consulta.departamento.isEmpty()) {
        mensaje(FALTAN_PARAMETROS);
        falta = true;
    }
    if (falta)
        return;
    if (consulta.tipo != TIPO_PRINCIPAL && consulta.tipo != TIPO_DEPARTAMENTAL) {
        mensaje(FALTAN_PARAMETROS); // a typed type names no procedure
        return;
    }
    mshtd->setVisible(true);
    Flex3->setVisible(true);
    seleccion_mostrada.clear();
    llenar_tablas_tendencia(consulta, *mshtd->modelo(), *Flex3->modelo(), *Flex2);
    seleccion_mostrada = seleccion_tendencia(consulta);
}

void Tendencia_y_Desempeno::Button_Graficar_Click()
{
    // The value of the first month is written by every accepted "Ver".
    if (mshtd->TextMatrix(2, 1).isEmpty()) {
        mensaje(QStringLiteral("Tienes que realizar primero la consulta"));
        return;
    }
    poner_grafica(ChartSpace1, crear_grafica_tendencia(*mshtd->modelo(), *Flex2));
}

} // namespace velmora
