// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Turns a fuzzer's bytes into texts: UTF-8 (invalid sequences become
// replacement characters), cut into fields at each 0x01 byte.

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

inline QStringList campos(const std::uint8_t* datos, std::size_t largo)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(datos), static_cast<qsizetype>(largo))
        .split(u'\x01');
}

// A broken property stops the run with the inputs that broke it.
#define EXIGIR(condicion)                                                                      \
    do {                                                                                       \
        if (!(condicion)) {                                                                    \
            std::fprintf(stderr, "no se cumple: %s\n", #condicion);                            \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)
