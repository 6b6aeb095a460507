// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class Class1;
class Grilla;
class ModeloGrilla;

// Corrects one indicator's value, target and baseline for the twelve months
// of one year, in an editable grid.
class Modificar final : public QWidget {
    Q_OBJECT
public:
    explicit Modificar(QWidget* padre = nullptr);
    ~Modificar() override;

private:
    void Form_Load();
    void boton_consulta_Click();
    void boton_guardar_Click();
    void vaciar_meses();
    QString a_guardar(int fila, int mes) const;

    QLabel* Label1;
    QComboBox* Combo_kpi;
    QLabel* Label2;
    QComboBox* Combo_año;
    QPushButton* boton_consulta;
    Grilla* MSFlexGrid1;
    ModeloGrilla* MSFlexGrid2; // the record identifiers; never shown
    // Each fetched value in full, where MSFlexGrid1 has the same cells; never
    // shown. A cell the user left as fetched is saved with this value. Row 0
    // holds the indicator and year fetched, (0, 0) and (0, 1).
    ModeloGrilla* valores_leidos;
    QLineEdit* Text1;
    QPushButton* boton_guardar;
    std::unique_ptr<Class1> editor;
};

} // namespace velmora
