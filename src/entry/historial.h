// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace velmora {

class Grilla;

// The changes of one indicator, newest first: who, when, which value and
// what it was before. A deleted indicator can be brought back from here.
class Historial final : public QWidget {
    Q_OBJECT
public:
    explicit Historial(QWidget* padre = nullptr);

private:
    void Form_Load();
    void boton_consulta_Click();
    void boton_copiar_Click();
    void boton_restaurar_Click();
    void consultar(const QString& indicador);

    QLabel* Label1;
    QComboBox* Combo_indicador;
    QPushButton* boton_consulta;
    Grilla* Flex_historial;
    QPushButton* boton_copiar;
    QPushButton* boton_restaurar;
};

} // namespace velmora
