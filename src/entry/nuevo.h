// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

// Creates an indicator from a name and a type.
class Nuevo final : public QWidget {
    Q_OBJECT
public:
    explicit Nuevo(QWidget* padre = nullptr);

private:
    void Form_Load();
    void Command1_Click();

    QLabel* Label1;
    QLineEdit* Text_nuevo_indicador;
    QLabel* Label2;
    QComboBox* Combo_nuevo_indicador;
    QPushButton* Command1;
};

} // namespace velmora
