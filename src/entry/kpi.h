// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class Grilla;
class ModeloGrilla;

// One monthly record of one indicator, fetched by "Aceptar", and its
// baseline, value and target overwritten by "Guardar".
class KPI final : public QWidget {
    Q_OBJECT
public:
    explicit KPI(QWidget* padre = nullptr);

private:
    void Form_Load();
    void Cmb_KPI_KPI_Click();
    void button_Consultar_KPI_Click();
    void Button_Guardar_KPI_Click();
    void Button_Nuevo_KPI_Click();
    void olvidar_registro();

    QComboBox* Cmb_KPI_KPI;
    QComboBox* Cmb_Año_KPI;
    QComboBox* Cmb_Trimestre_KPI;
    QLabel* Label7;
    QComboBox* Cmb_KPI_Departamento;
    QPushButton* button_Consultar_KPI;
    Grilla* Flex6;
    QLineEdit* Caja_valor;
    QLineEdit* Caja_Meta;
    QLineEdit* Caja_Linea_Base;
    QPushButton* Button_Nuevo_KPI;
    QPushButton* Button_Guardar_KPI;
    // Work table nobody sees: the picked indicator's type in (0, 1), the
    // fetched record's identifier in (0, 0), its value, target and baseline
    // as fetched in (1, 0), (1, 1) and (1, 2), and the indicator, year and
    // month it was fetched for in (2, 0), (2, 1) and (2, 2).
    ModeloGrilla* Flex7;
};

} // namespace velmora
