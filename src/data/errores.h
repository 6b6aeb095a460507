// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLatin1StringView>
#include <QString>
#include <stdexcept>
#include <utility>

namespace velmora {

// The program's own error numbers. The numeric ones are those the program's
// first data layer gave (ADO, SQL Server), the numbers its users know; the
// others are ODBC SQLSTATEs that say what went wrong.
inline constexpr int kErrorSinProcedimiento = 2812; // SQL Server: no such stored procedure
inline constexpr int kErrorSinFila = 3021;          // ADO: no current row
inline constexpr int kErrorCampoDesconocido = 3265; // ADO: no such item in the collection
inline constexpr int kErrorConexionCerrada = 3704;  // ADO: not allowed while closed
inline constexpr QLatin1StringView kErrorMotorNoAdmitido{"IM001"}; // driver lacks what we need
inline constexpr QLatin1StringView kErrorSinOrigen{"IM002"};       // no data source (or database file)
inline constexpr QLatin1StringView kErrorSinControlador{"IM003"};  // driver could not be loaded
inline constexpr QLatin1StringView kErrorCaracterNulo{"22021"};    // character not in repertoire
inline constexpr QLatin1StringView kErrorSinRespuesta{"HYT00"};    // the server did not answer in time
inline constexpr QLatin1StringView kErrorConexionPerdida{"08S01"}; // the connection to the server was lost
inline constexpr QLatin1StringView kErrorConfirmacionIncierta{"40003"}; // commit sent, outcome unknown
inline constexpr QLatin1StringView kErrorSinPermiso{"42501"};      // the account may not do this
inline constexpr QLatin1StringView kErrorBaseAjena{"3D000"};    // not this program's database
inline constexpr QLatin1StringView kErrorVersionNueva{"0A000"}; // a database of a newer version
inline constexpr QLatin1StringView kErrorSinEspacio{"53100"};   // no room left on the database's disk
inline constexpr QLatin1StringView kErrorSoloLectura{"25006"};  // the user may only read the database

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
// a name that already exists, an unknown record...), or could not serve the
// press now (another user holds it, the server restarted or does not
// answer). Storing screens catch this one, show its text and go on; nothing
// was stored. Any other press shows it and goes on too.
class RechazoDatos final : public ErrorBaseDatos {
public:
    // Servicio: the database could not serve the press now; the data were fine.
    enum class Causa { Datos, Servicio };

    RechazoDatos(QString numero, QString texto, QString estado = {}, Causa causa = Causa::Datos)
        : ErrorBaseDatos(std::move(numero), std::move(texto), std::move(estado)), causa_(causa)
    {
    }

    // The data given caused it, so a message may name the value to correct.
    bool por_los_datos() const { return causa_ == Causa::Datos; }

private:
    Causa causa_;
};

} // namespace velmora
