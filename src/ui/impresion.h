#pragma once

#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <functional>

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QRectF;
class QPushButton;
class QWidget;

namespace velmora {

// Reports and the trend screen print as a document drawn for the page, not
// as a picture of the window: a title with the choices the data were fetched
// for, every row of every table (headings repeated on each page, columns that
// do not fit the page width continue in a band below), the chart, the
// pictures' legend and the date. Paper and PDF get the same drawing.

// One table as printed: its heading row, its rows (text and picture name
// per cell; a picture is drawn from its SVG, never from a screen pixmap) and
// the designed column widths in twips, used as proportions.
struct TablaImpresa {
    QStringList encabezados;
    QList<QStringList> textos;
    QList<QStringList> imagenes; // as many rows as textos, or none
    QList<int> anchos;           // twips, one per column
    int columnas_fijas = 0;      // row headings, repeated in each band
};

struct DocumentoImpreso {
    QString titulo;
    QStringList seleccion; // "Perspectiva: Financiero", "Año: 2009", ...
    QList<TablaImpresa> tablas;
    // Draws the chart into the given rectangle; empty when the screen shows none.
    std::function<void(QPainter&, const QRectF&)> grafica;
};

// Draws the document on the device, one page after another; returns the
// number of pages (0 when the device cannot be painted on).
int pintar_documento(const DocumentoImpreso& documento, QPagedPaintDevice& dispositivo);

// The page the user chose last in a print dialog (size, orientation,
// margins), kept in the settings; A4 portrait when nothing was chosen, Letter
// in a locale that uses it.
QPageLayout disposicion_pagina();
void guardar_disposicion_pagina(const QPageLayout& disposicion);

// Writes the document as a PDF on the page of disposicion_pagina(); false
// when the file cannot be written, with the system's error number (errno)
// in *numero, and no half-written file left.
bool guardar_pdf(const DocumentoImpreso& documento, const QString& ruta, int* numero = nullptr);

using FuenteDocumento = std::function<DocumentoImpreso()>;

// The "Imprimir" button of a screen, with a menu of "Imprimir...", "Vista
// previa..." and "Guardar como PDF..."; the window also answers Ctrl+P and
// Ctrl+Shift+P. `documento` builds what is printed at the moment of printing.
QPushButton* boton_imprimir(QWidget* ventana, const QString& nombre, FuenteDocumento documento);

// Qt's print dialog, then the document on the chosen printer.
void imprimir_documento(QWidget* ventana, const FuenteDocumento& documento);
// Qt's print preview dialog (QPrintPreviewDialog), drawing the same pages.
void vista_previa_documento(QWidget* ventana, const FuenteDocumento& documento);
// Asks where (a save dialog in the documents folder) and writes the PDF; a
// failure is a message.
void pdf_de_documento(QWidget* ventana, const FuenteDocumento& documento);

} // namespace velmora
