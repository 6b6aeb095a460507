// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGuiApplication>

namespace velmora {

// The busy cursor while it lives: the database may keep the user waiting
// (another program holding it) and the window cannot answer meanwhile.
class CursorEspera final {
public:
    CursorEspera() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QGuiApplication::restoreOverrideCursor(); }
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};

} // namespace velmora
