// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/documento_impreso.h"

class QPagedPaintDevice;

namespace velmora {

// The page layout of a printed document: a title with the choices the data
// were fetched for, every row of every table (headings repeated on each
// page, columns that do not fit the page width continue in a band below),
// the chart, the pictures' legend, the date and the page numbers. Paper,
// preview and PDF get this same drawing.

// Draws the document on the device, one page after another; returns the
// number of pages (0 when the device cannot be painted on).
int pintar_documento(const DocumentoImpreso& documento, QPagedPaintDevice& dispositivo);

} // namespace velmora
