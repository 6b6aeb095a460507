#pragma once

#include <QString>

// The fixed place of the data source file: "conexion.dsn" in the program's
// own folder (the Windows installation path on Windows).
QString ruta_origen_datos();

// The default spreadsheet file: Exportar/Datos.xlsx beside the program's folder.
QString ruta_exportar_por_defecto();

// The keywords of a file data source, as the driver manager would read them.
struct OrigenDatos {
    QString cadena;  // "DRIVER={...};Database=...;" ready for the driver
    QString clave;   // the password, so that error texts can hide it
};

// Reads the [ODBC] section of a file data source. A missing or unreadable
// file, a file without that section or without DRIVER is an ErrorBaseDatos.
OrigenDatos leer_origen_datos(const QString& ruta);

// Turns "FILEDSN=path" into the driver's connection string; other
// connection strings pass unchanged.
OrigenDatos resolver_cadena(const QString& cadena_conexion);

// The text with every appearance of the password hidden.
QString ocultar_clave(QString texto, const QString& clave);
