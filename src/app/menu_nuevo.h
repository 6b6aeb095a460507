// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QPushButton;

namespace velmora {

// The create-and-delete menu: opens one screen and unloads itself, so each
// visit starts afresh.
class Menu_Nuevo final : public QWidget {
    Q_OBJECT
public:
    explicit Menu_Nuevo(QWidget* padre = nullptr);

private:
    void cmd_n_indicador_Click();
    void cmd_n_registro_Click();
    void cmd_nuevo_registro_Click();
    void cmd_salir_reporte_Click();

    QPushButton* cmd_n_indicador;
    QPushButton* cmd_n_registro;
    QPushButton* cmd_nuevo_registro;
    QPushButton* cmd_salir_reporte;
};

} // namespace velmora
