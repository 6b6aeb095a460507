#pragma once

#include <QString>

namespace velmora {

// The system's error number (errno) in Spanish, whatever the locale.
QString texto_error_sistema(int numero);

// Whether a failed write failed for want of room: a full disk, a file past
// the largest size, a used-up disk quota.
bool falta_espacio(int numero);

} // namespace velmora
