#pragma once

#include <QList>
#include <QString>

class ModeloGrilla;

// Writes the listing of a grid into a spreadsheet file (.xlsx) and says
// whether it did. Sheet row 1 gets the heading row 0; grid row r (r >= 2)
// goes to sheet row r and grid column c to sheet column c + 1. Grid row 1 is
// the listing's blank row under the headings and is not written.
//
// In the numeric columns a cell that reads as a number (in the user's
// locale) is written as a number; every other cell is text exactly as it
// stands (a name "007" or "1e5" stays that text). Padding blanks at the end
// are dropped.
//
// The path is used as typed when it ends in ".xlsx"; ".xls" becomes ".xlsx"
// and any other name gets ".xlsx" appended, since the content is always
// .xlsx. A relative path is taken from the default export folder. An existing
// file is replaced only once the new one is complete: the routine writes a
// temporary file in the same folder and moves it over the target, which
// keeps its permissions; a read-only target is refused. A symbolic link is
// followed: the file it names is the one replaced.
//
// An empty path and every failure of its own steps are reported here, with
// a message box, and give false; nothing is left behind and an existing file
// stays as it was.
bool exportar_excel(const QString& ruta, const ModeloGrilla& grilla, const QList<int>& columnas_numericas = {});
