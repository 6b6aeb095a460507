// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageLayout>

namespace velmora {

// The page printing starts from, kept in the settings (velmora.conf).

// The page the user chose last in a print dialog or preview: its size,
// orientation and margins. With nothing chosen, A4 portrait (Letter in a
// locale that uses it) with 15 mm margins.
QPageLayout disposicion_pagina();
void guardar_disposicion_pagina(const QPageLayout& disposicion);

} // namespace velmora
