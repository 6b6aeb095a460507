#pragma once

#include <QString>

namespace velmora {

// The data source file: on Windows the installation path; elsewhere
// "conexion.dsn" in the program's own folder when there is one, else
// $XDG_CONFIG_HOME/velmora/conexion.dsn (~/.config/velmora/).
QString ruta_origen_datos();

// The default spreadsheet file: on Windows the installation's Exportar
// folder; elsewhere Datos.xlsx in the user's documents folder, which is
// created when missing.
QString ruta_exportar_por_defecto();

// The keywords of a file data source, as the driver manager would read them.
struct OrigenDatos {
    QString cadena;  // "DRIVER={...};Database=...;" ready for the driver
    QString clave;   // the password, so that error texts can hide it
};

// Reads the [ODBC] section of a file data source. A missing or unreadable
// file, a file without that section or without DRIVER is an ErrorBaseDatos.
// A file that holds a password is made readable by its owner only.
OrigenDatos leer_origen_datos(const QString& ruta);

// Turns "FILEDSN=path" into the driver's connection string; other
// connection strings pass unchanged.
OrigenDatos resolver_cadena(const QString& cadena_conexion);

// The text with the password hidden where it stands as a keyword's value
// (PWD=..., Password=...).
QString ocultar_clave(QString texto, const QString& clave);

} // namespace velmora
