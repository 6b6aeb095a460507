// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QPushButton;

namespace velmora {

// The report chooser: opens a report and steps aside.
class Reportes final : public QWidget {
    Q_OBJECT
public:
    explicit Reportes(QWidget* padre = nullptr);

private:
    void cmd_principales_Click();
    void cmd_departamentales_Click();
    void cmd_salir_reporte_Click();

    QPushButton* cmd_principales;
    QPushButton* cmd_departamentales;
    QPushButton* cmd_salir_reporte;
};

} // namespace velmora
