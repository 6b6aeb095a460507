// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

// A PDF read back as a reader shows it, with poppler's tools (pdftotext,
// pdftoppm from poppler-utils): its words with their boxes, and its pages
// rendered into pictures.

struct PalabraPdf {
    int pagina = 0;  // from 0
    QRectF caja;     // in points from the page's top left corner
    QString texto;
};

// The tools' names when one is missing, empty when all are there.
QString faltan_herramientas_pdf();

// Every word of every page, in reading order; the number of pages in `paginas`.
QList<PalabraPdf> palabras_pdf(const QString& ruta, int* paginas = nullptr);

// The size of the first page, in points.
QSizeF tamano_pagina_pdf(const QString& ruta);

// The words of one page, or of all, joined by blanks.
QStringList textos_pdf(const QList<PalabraPdf>& palabras, int pagina = -1);

// Page `pagina` (from 0) rendered at `ppp` pixels per inch; also written as
// <screenshots>/<nombre>.png when a name is given, to look at.
QImage pagina_pdf(const QString& ruta, int pagina, int ppp, const QString& nombre = {});

// Share (0 to 1) of the pixels of a region, given in points, that are not
// white: text, lines or pictures drawn there.
double tinta(const QImage& pagina, const QRectF& puntos, int ppp);

class QWidget;

// Saves the window's PDF as a user does: Ctrl+Shift+P, then the file name
// typed into the save dialog. Returns the folder the dialog opened in.
QString pdf_por_teclado(QWidget* ventana, const QString& ruta);
