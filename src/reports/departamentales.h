// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/reporte_estado.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace velmora {

class Grilla;
class ModeloGrilla;

// Status report of the departmental indicators of one department.
class Departamentales final : public QWidget {
    Q_OBJECT
public:
    explicit Departamentales(QWidget* padre = nullptr);

private:
    void Form_Load();
    void Button_Cargar_ReporteSocial_Click();

    QLabel* Label_Departamento;
    QComboBox* Cmb_Departamentos_Reporte;
    QLabel* Label_Año;
    QComboBox* Cmb_Año_Reporte;
    QLabel* Label_Mes;
    QComboBox* Cmb_Trimestre_ReporteSocial;
    QPushButton* Button_Cargar_ReporteSocial;
    Grilla* Flex31;
    ModeloGrilla* Flex41; // work grid, never shown
    ReporteMostrado mostrado; // what the shown report was fetched for
};

} // namespace velmora
