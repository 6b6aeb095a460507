// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace velmora {

class Grilla;

// Lists every record of the database and writes the listing to a
// spreadsheet file.
class Exportar final : public QWidget {
    Q_OBJECT
public:
    explicit Exportar(QWidget* padre = nullptr);

private:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void cmd_examinar_Click();

    QLineEdit* Text1;
    QPushButton* cmd_examinar;
    Grilla* MSHFlexGrid;
    QPushButton* Command2;
    QPushButton* Command1;
    // The last "Llenar" failed part-way: its listing is not exported.
    bool listado_incompleto = false;
};

} // namespace velmora
