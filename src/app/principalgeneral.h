// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QPushButton;

namespace velmora {

// The general user's menu: the reports and the trend screen only.
class Principalgeneral final : public QWidget {
    Q_OBJECT
public:
    explicit Principalgeneral(QWidget* padre = nullptr);

private:
    void cmd_reportes_Click();
    void cmd_tende_Click();
    void Command1_Click();

    QPushButton* cmd_reportes;
    QPushButton* cmd_tende;
    QPushButton* Command1;
};

} // namespace velmora
