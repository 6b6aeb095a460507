// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace velmora {

// Deletes an indicator chosen from the list of all indicators.
class Eliminar final : public QWidget {
    Q_OBJECT
public:
    explicit Eliminar(QWidget* padre = nullptr);

private:
    void Form_Load();
    void Command1_Click();

    QLabel* Label1;
    QComboBox* Combo_indicador;
    QPushButton* Command1;
};

} // namespace velmora
