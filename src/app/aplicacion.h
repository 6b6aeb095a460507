// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace velmora {

// The application object. A database error that the operation in progress
// does not catch reaches notify(): it is shown with its number and text and
// the program ends.
class AplicacionVelmora final : public QApplication {
    Q_OBJECT
public:
    AplicacionVelmora(int& argc, char** argv);
    bool notify(QObject* receptor, QEvent* evento) override;
};

// Start-up: the administrator menu is loaded hidden, the connection opened,
// the login window shown. False (after the error message) when the
// connection cannot be opened.
bool iniciar();

// iniciar(), then the event loop; the process's exit code.
int arrancar(QApplication& aplicacion);

} // namespace velmora
