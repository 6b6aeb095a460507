// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The first sheet of an .xlsx file, read back from its XML parts with unzip.
struct LibroLeido {
    struct Celda {
        bool numero = false;
        QString valor;
    };

    bool ok = false;
    QString error;
    QStringList hojas;           // sheet names, in order
    QMap<QString, Celda> celdas; // by reference: "A1", "I2"...
    int ultima_fila = 0;         // highest row that holds a cell

    bool tiene(const QString& referencia) const { return celdas.contains(referencia); }
    Celda celda(const QString& referencia) const { return celdas.value(referencia); }
    // Texts of row f, columns A to I (empty where there is no cell).
    QStringList fila(int f, int columnas = 9) const;
};

LibroLeido leer_libro(const QString& archivo);
