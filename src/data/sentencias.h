// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Inside data/ only (Qt Sql is private to the library): the statements run
// over the program's one ODBC connection and the rows they give, shared by
// the connection and the embedded engine's procedure runner.

#include "data/conexion.h"
#include "data/dialectos.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <vector>

namespace velmora {

// The name Qt knows the program's one connection by.
inline const QString kNombreConexion = QStringLiteral("velmora");

// Rows read into memory, with their field names.
struct Filas {
    QStringList nombres;
    std::vector<QVariantList> valores;
};

// A result walked from memory.
Resultado en_memoria(Filas filas);

class Sentencias {
public:
    bool abierta = false;
    Dialecto dialecto = Dialecto::SqlServer;
    QString clave;   // the data source's password, hidden from every error text
    QString archivo; // the data source's Database (on SQLite its file), named in messages

    QSqlDatabase db() const;

    // The driver's failure as an ErrorBaseDatos, or a RechazoDatos when the
    // data was refused or another program holds the database.
    [[noreturn]] void lanzar(const QSqlQuery* consulta, const QSqlError& error) const;

    QSqlQuery directo(const QString& sql) const;
    QSqlQuery preparar(const QString& sql, const QStringList& argumentos) const;
    // Runs sql and lets it fail: the way back after a failure.
    void intentar(const QString& sql) const;
    // Runs a statement that gives no rows the caller wants, closed at once.
    void orden(const QString& sql) const;
    // Closes a statement's cursor, which may wait on a server, under the
    // watch; its failure is not the caller's (the rows were read).
    static void soltar(QSqlQuery& q);

    // The rows of a statement that ran, walked as the caller reads them.
    Resultado en_vivo(QSqlQuery q) const;
    // Every row of a statement that ran, read now.
    Filas filas(const QSqlQuery& q) const;
    // Every row, read now, and the statement closed.
    Filas filas_y_cierre(QSqlQuery q) const;
};

} // namespace velmora
