// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QPushButton;

namespace velmora {

// The administrator menu.
class Principal final : public QWidget {
    Q_OBJECT
public:
    explicit Principal(QWidget* padre = nullptr);

private:
    void boton_nuevo_Click();
    void boton_modificar_Click();
    void boton_reporte_Click();
    void cmd_exportar_Click();
    void cmd_tende_Click();
    void cmd_kpi_Click();
    void cmd_historial_Click();
    void cmd_salir_Click();

    QPushButton* boton_nuevo;
    QPushButton* boton_modificar;
    QPushButton* boton_reporte;
    QPushButton* cmd_exportar;
    QPushButton* cmd_tende;
    QPushButton* cmd_kpi;
    QPushButton* cmd_historial;
    QPushButton* cmd_salir;
};

} // namespace velmora
