#pragma once

#include <QString>
#include <stdexcept>

// A failure of the database or of the connection. Unless the operation in
// progress catches it, it ends the program after a message with its number
// and text.
class ErrorBaseDatos : public std::runtime_error {
public:
    ErrorBaseDatos(QString numero, QString texto, QString estado = {});

    const QString& numero() const { return numero_; }
    const QString& texto() const { return texto_; }
    // SQLSTATE reported by the driver, empty when the error is our own.
    const QString& estado() const { return estado_; }
    // "number - text", the form the messages show.
    QString mensaje() const;

private:
    QString numero_;
    QString texto_;
    QString estado_;
};

// The database refused the data it was given (a value that is not a number,
// a name that already exists, an unknown record...). Storing screens catch
// this one, show its text and go on; nothing was stored.
class RechazoDatos final : public ErrorBaseDatos {
public:
    using ErrorBaseDatos::ErrorBaseDatos;
};
