#pragma once

#include <QString>

class QPagedPaintDevice;
class QPushButton;
class QWidget;

namespace velmora {

// Print or save as PDF what a screen shows, its grids and chart included.

// The "Imprimir" button of a screen, with a menu of "Imprimir..." and
// "Guardar como PDF..."; the window also answers Ctrl+P and Ctrl+Shift+P.
QPushButton* boton_imprimir(QWidget* ventana, const QString& nombre);

// Draws the window, scaled to fit, on one landscape page.
void pintar_pagina(QWidget* ventana, QPagedPaintDevice& pagina);

// Writes the window as a one-page PDF; false when the file cannot be written.
bool guardar_pdf(QWidget* ventana, const QString& ruta);

// Opens Qt's print dialog and prints the window when the user accepts.
void imprimir_ventana(QWidget* ventana);

// Asks where (a save dialog) and writes the PDF; a failure is a message.
void pdf_de_ventana(QWidget* ventana);

} // namespace velmora
