// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The system's error number (errno) in Spanish, whatever the locale.
QString texto_error_sistema(int numero);

// Whether a failed write failed for want of room: a full disk, a file past
// the largest size, a used-up disk quota.
bool falta_espacio(int numero);

// Whether the disk of `carpeta` is as good as full (under 1 MiB left): the
// likely reason for a write that failed without saying why.
bool disco_casi_lleno(const QString& carpeta);

} // namespace velmora
