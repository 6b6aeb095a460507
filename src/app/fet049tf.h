// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

// The login window: the user type and its password choose the menu.
class FET049TF final : public QWidget {
    Q_OBJECT
public:
    explicit FET049TF(QWidget* padre = nullptr);

private:
    void cargar_Click();
    void cancelar_Click();

    QLabel* lbl_usuario;
    QComboBox* usuario;
    QLabel* lbl_contraseña;
    QLineEdit* contraseña;
    QPushButton* cargar;
    QPushButton* cancelar;
};

} // namespace velmora
