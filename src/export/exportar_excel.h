#pragma once

#include <QString>

class ModeloGrilla;

// Writes the listing of a grid into a spreadsheet file (.xlsx) and says
// whether it did. Sheet row 1 gets the heading row 0; grid row r (r >= 2)
// goes to sheet row r and grid column c to sheet column c + 1. Grid row 1 is
// the listing's blank row under the headings and is not written.
//
// A cell that reads as a number (in the user's locale) is written as a
// number, any other as text; padding blanks at the end are dropped.
//
// The path is used as typed when it ends in ".xlsx"; ".xls" becomes ".xlsx"
// and any other name gets ".xlsx" appended, since the content is always
// .xlsx. A relative path is taken from the default export folder. An existing
// file is replaced only once the new one is complete: the routine writes a
// temporary file in the same folder and moves it over the target.
//
// An empty path and every failure of its own steps are reported here, with
// a message box, and give false; nothing is left behind and an existing file
// stays as it was.
bool exportar_excel(const QString& ruta, const ModeloGrilla& grilla);
