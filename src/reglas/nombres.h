// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// An indicator's name as it is stored: Unicode NFC, so that "Café" typed
// with a precomposed é and with an e and a combining accent is one name.
QString nombre_nfc(const QString& nombre);

// Characters that make a name look like another one or reorder what a list
// shows: bidirectional controls and marks, line and paragraph separators,
// zero-width characters and the byte-order mark.
bool caracter_invisible(char32_t c);

// The refusal of a name holding such a character, or an empty text.
QString revisar_nombre(const QString& nombre);

} // namespace velmora
