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

// Status report of the principal indicators of one perspective.
class Principales final : public QWidget {
    Q_OBJECT
public:
    explicit Principales(QWidget* padre = nullptr);

private:
    void Form_Load();
    void Button_Cargar_ReporteSocial_Click();

    QLabel* Label_Perspectiva;
    QComboBox* Cmb_Perspectiva_Reporte;
    QLabel* Label_Año;
    QComboBox* Cmb_Año_Reporte;
    QLabel* Label_Mes;
    QComboBox* Cmb_mes_Reporte;
    QPushButton* Button_Cargar_ReporteSocial;
    Grilla* Flex3;
    ModeloGrilla* Flex4; // work grid, never shown
    ReporteMostrado mostrado; // what the shown report was fetched for
};

} // namespace velmora
