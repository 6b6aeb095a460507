// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace velmora {

// One month of one indicator: value, target and baseline with the
// indicator's direction, perspective and unit, stored by Nuevo_registro.
class Nuevo_Registro final : public QWidget {
    Q_OBJECT
public:
    explicit Nuevo_Registro(QWidget* padre = nullptr);

private:
    void Form_Load();
    void Command1_Click();

    QComboBox* Combo_indicador;
    QComboBox* Combo_desempeño;
    QComboBox* Combo_perspectiva;
    QComboBox* Combo_unidad;
    QLineEdit* Text_nivel;
    QLineEdit* Text_meta;
    QLineEdit* Text3_valor;
    QComboBox* Combo_año;
    QComboBox* Cmb_mes_Reporte;
    QPushButton* Command1;
};

} // namespace velmora
