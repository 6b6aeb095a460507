// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QWidget>

class QChartView;
class QComboBox;
class QLabel;
class QPushButton;

namespace velmora {

class Grilla;
class ModeloGrilla;

// One indicator over one year: target, value, status and trend per month,
// the baselines below, and a chart of the quarter-end months.
class Tendencia_y_Desempeno final : public QWidget {
    Q_OBJECT
public:
    explicit Tendencia_y_Desempeno(QWidget* padre = nullptr);

private:
    void Form_Load();
    void Cmb_Tipo_Indicador_TendenciasyDesempeño_Click();
    void Cmb_KPI_TendenciasyDesempeño_Click();
    void Button_LLenar_TendeciasyDesempeño_Click();
    void Button_Graficar_Click();

    QLabel* Lbl_Tipo_Indicador;
    QLabel* Lbl_Departamento;
    QLabel* Lbl_KPI;
    QLabel* Lbl_Año;
    QComboBox* Cmb_Tipo_Indicador_TendenciasyDesempeño;
    QComboBox* Cmb_Departamento_TendenciasyDesempeño;
    QComboBox* Cmb_KPI_TendenciasyDesempeño;
    QComboBox* Cmb_Año_TendenciasyDesempeño;
    QPushButton* Button_LLenar_TendeciasyDesempeño;
    QPushButton* Button_Graficar;
    Grilla* mshtd;
    Grilla* Flex3;
    ModeloGrilla* Flex2; // work grid, never shown
    QChartView* ChartSpace1;
    QStringList seleccion_mostrada; // what printing names for the table shown
};

// The window's own name.
using Tendencia_y_Desempeño = Tendencia_y_Desempeno;

} // namespace velmora
