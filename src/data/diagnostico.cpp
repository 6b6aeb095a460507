// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/diagnostico.h"

#include "data/errores.h"

#include <QLatin1StringView>
#include <QRegularExpression>
#include <QSqlError>

#include <sql.h>
#include <sqlext.h>

namespace velmora {

namespace {

// SQLite's primary result codes, as the SQLite ODBC driver reports them.
constexpr int kSqliteOcupada = 5;      // SQLITE_BUSY: another connection holds the lock
constexpr int kSqliteBloqueada = 6;    // SQLITE_LOCKED: a table in use blocks the write
constexpr int kSqliteRestriccion = 19; // SQLITE_CONSTRAINT, also what RAISE(ABORT, ...) gives
constexpr int kSqliteSoloLectura = 8;  // SQLITE_READONLY: the file (or its folder) cannot be written
constexpr int kSqliteLlena = 13;       // SQLITE_FULL: no room on the disk
constexpr int kSqliteSinAbrir = 14;    // SQLITE_CANTOPEN: on a write, the journal cannot be made

// SQL Server keeps the numbers below this one for itself: from here on they
// are the database's own RAISERROR messages, written for the user.
constexpr int kSqlServerMensajesPropios = 50000;

// PostgreSQL's SQLSTATEs.
constexpr QLatin1StringView kPostgresBloqueo{"55P03"};    // lock_not_available (lock timeout)
constexpr QLatin1StringView kPostgresSinFuncion{"42883"}; // undefined_function
constexpr QLatin1StringView kPostgresCancelada{"57014"};  // query_canceled (statement_timeout)
constexpr QLatin1StringView kPostgresParada{"57P0"};      // admin_shutdown, crash_shutdown, cannot_connect_now
constexpr QLatin1StringView kClaseConexion{"08"};         // connection exception
constexpr QLatin1StringView kTiempoVencido{"HYT0"};       // ODBC: timeout expired, connection timeout

// SQLSTATE classes that refuse the data given rather than fail.
constexpr QLatin1StringView kClaseDatos{"22"};       // data exception: not a number, too long...
constexpr QLatin1StringView kClaseRestriccion{"23"}; // integrity constraint violation
constexpr QLatin1StringView kClasePlpgsql{"P0"};     // a PL/pgSQL procedure's RAISE EXCEPTION

bool es_bloqueo(Dialecto dialecto, const QString& estado, int nativo)
{
    if (dialecto == Dialecto::SQLite)
        return nativo == kSqliteOcupada || nativo == kSqliteBloqueada;
    return estado == kPostgresBloqueo;
}

bool es_rechazo(Dialecto dialecto, const QString& estado, int nativo)
{
    if (estado.startsWith(kClaseDatos) || estado.startsWith(kClaseRestriccion)
        || estado.startsWith(kClasePlpgsql))
        return true;
    switch (dialecto) {
    case Dialecto::SQLite:
        return nativo == kSqliteRestriccion;
    case Dialecto::SqlServer:
        return nativo >= kSqlServerMensajesPropios;
    case Dialecto::PostgreSQL:
        // The server refuses what the account's group may not do.
        return estado == kErrorSinPermiso;
    }
    return false;
}

// psqlODBC reports some losses of the server under a general SQLSTATE
// (HY000, or none); libpq's words for them, and the server's own.
bool texto_de_conexion_perdida(const QString& texto)
{
    static const QRegularExpression perdida(
        QStringLiteral("terminating connection|server closed the connection|connection (is )?dead|"
                       "no connection to the server|could not receive data from server|"
                       "could not send data to server|the database system is (shutting down|starting up)|"
                       "connection has been lost|lost synchronization with server"),
        QRegularExpression::CaseInsensitiveOption);
    return !texto.isEmpty() && perdida.match(texto).hasMatch();
}

} // namespace

bool es_clave_duplicada_del_servidor(const QString& texto)
{
    static const QRegularExpression duplicada(
        QStringLiteral("duplicate key value violates unique constraint|"
                       "llave duplicada viola restricci[oó]n de unicidad|UNIQUE constraint failed"),
        QRegularExpression::CaseInsensitiveOption);
    return duplicada.match(texto).hasMatch();
}

ClaseError clasificar_error(Dialecto dialecto, const QString& estado, int nativo, const QString& texto)
{
    // SQL Server's number, which the embedded engine's runner gives too;
    // whatever the engine, a database that lacks a procedure says so.
    if (nativo == kErrorSinProcedimiento || estado == kPostgresSinFuncion)
        return ClaseError::SinProcedimiento;
    if (es_bloqueo(dialecto, estado, nativo))
        return ClaseError::Bloqueo;
    if (dialecto == Dialecto::SQLite) {
        // An extended result code keeps the primary one in its low byte.
        switch (nativo & 0xff) {
        case kSqliteLlena:
            return ClaseError::SinEspacio;
        case kSqliteSoloLectura:
        case kSqliteSinAbrir:
            return ClaseError::SoloLectura;
        default:
            break;
        }
    }
    if (dialecto != Dialecto::SQLite) {
        if (estado.startsWith(kClaseConexion) || estado.startsWith(kPostgresParada)
            || texto_de_conexion_perdida(texto))
            return ClaseError::Conexion;
        if (estado == kPostgresCancelada || estado.startsWith(kTiempoVencido))
            return ClaseError::Tiempo;
    }
    if (es_rechazo(dialecto, estado, nativo))
        return ClaseError::Rechazo;
    return ClaseError::Otra;
}

void* handle_de(const QVariant& v)
{
    // Qt 6.4 hands the handle over as void*, later versions as SQLHANDLE.
    if (!v.isValid()
        || (qstrcmp(v.typeName(), "SQLHANDLE") != 0 && qstrcmp(v.typeName(), "void*") != 0))
        return nullptr;
    return *static_cast<const SQLHANDLE*>(v.constData());
}

std::optional<Diagnostico> leer_diagnostico(TipoHandle tipo, const QVariant& handle_qt)
{
    const SQLHANDLE handle = handle_de(handle_qt);
    if (!handle)
        return std::nullopt;
    const SQLSMALLINT tipo_odbc = tipo == TipoHandle::Sentencia ? SQL_HANDLE_STMT : SQL_HANDLE_DBC;
    Diagnostico d;
    bool alguno = false;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR estado[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER nativo = 0;
        SQLWCHAR mensaje[SQL_MAX_MESSAGE_LENGTH + 1] = {};
        SQLSMALLINT largo = 0;
        const SQLRETURN r = SQLGetDiagRecW(tipo_odbc, handle, i, estado, &nativo, mensaje,
                                           SQL_MAX_MESSAGE_LENGTH, &largo);
        if (!SQL_SUCCEEDED(r))
            break;
        const QString texto = QString::fromUtf16(reinterpret_cast<const char16_t*>(mensaje),
                                                 qMin<qsizetype>(largo, SQL_MAX_MESSAGE_LENGTH));
        if (!alguno) {
            d.estado = QString::fromUtf16(reinterpret_cast<const char16_t*>(estado));
            d.nativo = nativo;
            alguno = true;
            d.texto = texto;
        } else if (!texto.isEmpty() && !d.texto.contains(texto)) {
            d.texto += u'\n' + texto;
        }
    }
    if (!alguno)
        return std::nullopt;
    d.numero = d.nativo != 0 ? QString::number(d.nativo) : d.estado;
    return d;
}

Diagnostico diagnostico_de(const QSqlError& error)
{
    Diagnostico d;
    d.numero = error.nativeErrorCode().section(u';', 0, 0);
    if (d.numero.isEmpty())
        d.numero = QStringLiteral("-1");
    d.texto = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    d.nativo = d.numero.toInt();
    return d;
}

QString limpiar_texto(QString texto)
{
    // Driver prefixes such as "[unixODBC][SQLite]" tell the user nothing.
    static const QRegularExpression prefijos(QStringLiteral("^(\\[[^\\]]*\\])+\\s*"));
    texto.remove(prefijos);
    static const QRegularExpression codigo_final(QStringLiteral("\\s*\\(\\d+\\)$"));
    texto.remove(codigo_final);
    // psqlODBC wraps the server's text: "ERROR: text;\nError while executing the query".
    static const QRegularExpression postgres(
        QStringLiteral("^ERROR:\\s*|;?\\s*Error while executing the query\\s*$"));
    texto.remove(postgres);
    return texto.trimmed();
}

} // namespace velmora
