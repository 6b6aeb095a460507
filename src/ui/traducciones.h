// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

class QCoreApplication;

namespace velmora {

// Loads Qt's own Spanish texts (standard buttons, context menus, dialogs).
// The program speaks Spanish whatever the user's locale: a Spanish locale
// picks its own variant, any other gets plain Spanish. False when Qt's
// translations are not installed (the texts then stay in English).
bool instalar_traducciones(QCoreApplication& aplicacion, const QLocale& local = QLocale::system());

// The Spanish the program speaks in the given locale: the locale itself when
// it is a Spanish one, plain Spanish otherwise.
QLocale idioma_programa(const QLocale& local = QLocale());

} // namespace velmora
