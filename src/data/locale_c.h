// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// Puts the C library's locale where the program's libraries need it, keeping
// the user's language for everything else: numbers with a point (the
// spreadsheet writer prints them with printf) and text in UTF-8 (the ODBC
// driver manager converts texts for narrow drivers with the character set
// of LC_CTYPE; any other set mangles accented table and field names), and
// the database client's messages in English (the program reads them).
// Qt itself formats with QLocale and translates with its own catalogues, and
// is not affected.
void fijar_locale_c();

} // namespace velmora
