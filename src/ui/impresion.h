// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/documento_impreso.h"

#include <QString>

#include <functional>

class QPushButton;
class QWidget;

namespace velmora {

// What a screen's "Imprimir" button offers: printing on paper, a preview and
// a PDF, each through its dialog, all drawn by pintar_documento
// (ui/maqueta.h) on the page of disposicion_pagina() (ui/pagina_impresion.h).

using FuenteDocumento = std::function<DocumentoImpreso()>;

// The "Imprimir" button of a screen, with a menu of "Imprimir...", "Vista
// previa..." and "Guardar como PDF..."; the window also answers Ctrl+P and
// Ctrl+Shift+P. `documento` builds what is printed at the moment of printing.
QPushButton* boton_imprimir(QWidget* ventana, const QString& nombre, FuenteDocumento documento);

// Qt's print dialog, then the document on the chosen printer; the page
// chosen there is kept for next time.
void imprimir_documento(QWidget* ventana, const FuenteDocumento& documento);
// Qt's print preview dialog (QPrintPreviewDialog), drawing the same pages.
void vista_previa_documento(QWidget* ventana, const FuenteDocumento& documento);
// Asks where (a save dialog in the documents folder) and writes the PDF; a
// failure is a message.
void pdf_de_documento(QWidget* ventana, const FuenteDocumento& documento);

} // namespace velmora
