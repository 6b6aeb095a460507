// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/locale_c.h"

#include <clocale>
#include <cstring>
#include <langinfo.h>

namespace velmora {

void fijar_locale_c()
{
    std::setlocale(LC_NUMERIC, "C");
    // libpq's words for a lost or silent server are recognised in English.
    std::setlocale(LC_MESSAGES, "C");
    const char* juego = nl_langinfo(CODESET);
    if (juego && std::strcmp(juego, "UTF-8") == 0)
        return;
    // The user's own language in UTF-8 would be best, but "C.UTF-8" is the
    // one that every glibc system has.
    if (!std::setlocale(LC_CTYPE, "C.UTF-8"))
        std::setlocale(LC_CTYPE, "C.utf8");
}

} // namespace velmora
