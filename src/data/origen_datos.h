// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The data source file: on Windows the installation path; elsewhere
// "conexion.dsn" in the program's own folder when there is one, else
// $XDG_CONFIG_HOME/velmora/conexion.dsn (~/.config/velmora/).
QString ruta_origen_datos();

// The user's documents folder (the home folder when there is none), created
// when missing.
QString carpeta_documentos();

// The default spreadsheet file: on Windows the installation's Exportar
// folder; elsewhere Datos.xlsx in carpeta_documentos().
QString ruta_exportar_por_defecto();

// The keywords of a file data source, as the driver manager would read them.
struct OrigenDatos {
    QString cadena;  // "DRIVER={...};Database=...;" ready for the driver
    QString clave;   // the password, so that error texts can hide it
};

// A data source holds a few lines: a larger file is not one (a database
// picked by mistake would take seconds and gigabytes to read).
inline constexpr qint64 kTamanoMaximoOrigen = 64 * 1024;

// Reads the [ODBC] section of a file data source. A missing, unreadable or
// oversized file, a folder, a pipe or a broken link, a file without that
// section, with two of them or without DRIVER is an ErrorBaseDatos whose
// Spanish text names the file and says what to do. For the SQLite driver a
// value holding braces or ';' and the database ":memory:" are refused too.
// A file that holds a password is made readable by its owner only.
OrigenDatos leer_origen_datos(const QString& ruta);

// A failure to open the connection of the data source at `ruta` in words the
// user can act on: a driver that cannot be loaded, a file that is not a
// database (naming it). Any other error is returned as it is.
class ErrorBaseDatos;
ErrorBaseDatos explicar_apertura(const ErrorBaseDatos& error, const QString& ruta);

// Turns "FILEDSN=path" into the driver's connection string; other
// connection strings pass unchanged.
OrigenDatos resolver_cadena(const QString& cadena_conexion);

// The text with the password hidden where it stands as a keyword's value
// (PWD=..., Password=...).
QString ocultar_clave(QString texto, const QString& clave);

} // namespace velmora
