// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

struct DocumentoImpreso;

// Writes the document as a PDF file on the page of disposicion_pagina();
// false when the file cannot be written, with the system's error number
// (errno) in *numero, and no half-written file left.
bool guardar_pdf(const DocumentoImpreso& documento, const QString& ruta, int* numero = nullptr);

} // namespace velmora
