// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace velmora {

class ModeloGrilla;

// Writes the listing of a grid into a spreadsheet file (.xlsx). Sheet row 1 gets the heading row 0; grid row r (r >= 2)
// goes to sheet row r and grid column c to sheet column c + 1. Grid row 1 is
// the listing's blank row under the headings and is not written.
//
// In the numeric columns a cell that reads as a number (a_numero, the
// program's one reading, alike in every locale) is written as a number;
// every other cell is text exactly as it stands (a name "007" or "1e5"
// stays that text). Padding blanks at the end are dropped.
//
// The path is used as typed when it ends in ".xlsx"; ".xls" becomes ".xlsx"
// and any other name gets ".xlsx" appended, since the content is always
// .xlsx. A relative path is taken from the default export folder. An existing
// file is replaced only once the new one is complete: the routine writes a
// temporary file in the same folder and moves it over the target, which
// keeps its permissions; a read-only target is refused. A symbolic link is
// followed: the file it names is the one replaced.
//
// Nothing here talks to the user: the outcome says what happened and the
// caller tells it. On a failure nothing is left behind and an existing file
// stays as it was.
struct ResultadoExportacion {
    enum class Estado {
        Escrito, // the file is written
        SinRuta, // the path is empty
        Fallo,   // a step failed: numero and descripcion say which and why
    };
    Estado estado = Estado::Escrito;
    QString archivo;     // Escrito: the file written (absolute, with .xlsx)
    long numero = 0;     // Fallo: the system's or libxlsxwriter's error number
    QString descripcion; // Fallo: the reason, in Spanish (never the C library's English)

    bool escrito() const { return estado == Estado::Escrito; }
};

// Progress of the writing: called once with Escribiendo and hecho 0 before
// the first row, after each grid row with the row reached (of total, the
// grid's rows), and once with Guardando when every row is in and the file is
// being closed. There is no cancelling: a half-written workbook is no use.
enum class EtapaExportacion { Escribiendo, Guardando };
using AvanceExportacion = std::function<void(EtapaExportacion etapa, qint64 hecho, qint64 total)>;

// The file that exportar_excel(ruta, ...) writes, absolute: ".xlsx" added as
// above, a relative name in the default export folder, a link followed. Empty
// when the path names no file (blank). The replace question is about it.
QString archivo_exportado(const QString& ruta);

ResultadoExportacion exportar_excel(const QString& ruta, const ModeloGrilla& grilla,
                                    const QList<int>& columnas_numericas = {},
                                    const AvanceExportacion& avance = {});

} // namespace velmora
