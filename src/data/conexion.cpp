// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/conexion.h"

#include "data/archivo_sqlite.h"
#include "data/cadena_conexion.h"
#include "data/comandos.h"
#include "data/diagnostico.h"
#include "data/errores.h"
#include "data/errores_odbc.h"
#include "data/locale_c.h"
#include "data/origen_datos.h"
#include "data/procedimientos_sqlite.h"
#include "data/sentencias.h"
#include "data/sockets_servidor.h"
#include "data/version_base.h"
#include "data/vigia.h"

#include <QCoreApplication>
#include <QDebug>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>

#include <sql.h>
#include <sqlext.h>

#include <mutex>
#include <vector>

namespace velmora {

namespace {

// Said once in the program's log (its standard error) when the watch over
// calls to the server cannot work: only the server's own limits apply then.
void sin_vigilancia(const QString& motivo)
{
    static std::once_flag una_vez;
    std::call_once(una_vez, [&motivo] {
        qWarning().noquote() << QStringLiteral("velmora: no se pueden vigilar las esperas al servidor de base de datos "
                                               "(%1); un servidor que deje de responder solo lo cortan los límites "
                                               "del propio servidor.")
                                    .arg(motivo);
    });
}

} // namespace

struct ConexionBD::Impl final : Sentencias {
    QString dbms;
    std::function<void(const QString&)> observador;
    QStringList sesion; // commands to run again on a new connection
    QString cadena;     // the data source it was opened with
    bool en_transaccion = false;
    bool perdida = false;            // a reconnection failed: the next press tries again
    std::vector<SocketServidor> sockets; // the connection's own, cut when a call outlasts its limit
    std::vector<int> antes;              // the process's sockets before it connected
    int puerto = 0;                      // the data source's port (0: the default)
    LimitesTiempo limites;
    bool comprobada = false;         // seen alive during this press
    std::unique_ptr<QObject> testigo; // told when the press is over
    ProcedimientosSqlite procedimientos{*this};
    QString aviso;                   // for the user, after opening
    QHash<QString, bool> escriben;   // PostgreSQL functions by name: may they write?

    // Whether a PostgreSQL function may write (anything but STABLE or
    // IMMUTABLE, or one the server does not know).
    bool escribe(const QString& nombre)
    {
        const auto it = escriben.constFind(nombre);
        if (it != escriben.constEnd())
            return *it;
        const Filas f = filas_y_cierre(preparar(
            QStringLiteral("SELECT count(*) AS n FROM pg_proc WHERE proname = ? AND provolatile <> 'v'"), {nombre}));
        const bool escribe = f.valores.empty() || f.valores.front().value(0).toInt() == 0;
        escriben.insert(nombre, escribe);
        return escribe;
    }

    // Until control goes back to the event loop, the connection counts as
    // seen alive: the press that follows checks it again.
    void marcar_comprobada()
    {
        comprobada = true;
        if (!QCoreApplication::instance())
            return;
        if (!testigo)
            testigo = std::make_unique<QObject>();
        QMetaObject::invokeMethod(testigo.get(), [this] { comprobada = false; }, Qt::QueuedConnection);
    }

    // A transaction's step: SQLite's own statement (BEGIN IMMEDIATE: see
    // iniciar_transaccion), the driver's call on the other engines.
    void paso_transaccion(const QString& sqlite, bool (QSqlDatabase::*paso)())
    {
        if (dialecto == Dialecto::SQLite) {
            orden(sqlite);
            return;
        }
        const Vigilada vigilada;
        QSqlDatabase base = db();
        if (!(base.*paso)())
            lanzar(nullptr, base.lastError());
    }
};

ConexionBD::ConexionBD() : d(std::make_unique<Impl>()) {}

ConexionBD::~ConexionBD()
{
    cerrar();
}

void ConexionBD::abrir(const QString& cadena_conexion)
{
    cerrar();
    // Whatever locale the process was started with, texts reach the driver
    // intact. Once: other threads may be reading the locale by the time the
    // connection is made again.
    static std::once_flag locale;
    std::call_once(locale, fijar_locale_c);
    const OrigenDatos origen = resolver_cadena(cadena_conexion);
    d->clave = origen.clave;
    d->aviso.clear();
    const bool sqlite = cadena_sqlite(origen.cadena);
    d->archivo = valor_de(origen.cadena, QStringLiteral("Database"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), kNombreConexion);
        if (!db.isValid()) {
            throw ErrorBaseDatos(kErrorSinControlador,
                                 QStringLiteral("No está disponible el controlador ODBC de Qt"));
        }
        exigir_base_sqlite(origen.cadena);
        db.setDatabaseName(con_limites(origen.cadena, d->limites));
        const std::vector<int> antes = sockets_abiertos();
        d->puerto = puerto_de(origen.cadena);
        // The driver's own statements on a new connection wait on the server
        // too: the connect limit covers the whole open.
        if (!sqlite)
            Vigia::instancia().vigilar_apertura(antes, d->puerto, d->limites.conectar_s * 1000);
        bool abierta = false;
        {
            const Vigilada vigilada;
            abierta = db.open(QString(), QString());
        }
        if (!abierta) {
            const QSqlError error = db.lastError();
            const bool cortada = Vigia::instancia().vencida();
            Vigia::instancia().olvidar();
            try {
                // libpq's connect_timeout ran out (a server that takes the
                // connection and never answers), or the watch cut the open.
                if (cortada || error.text().contains(QStringLiteral("timeout expired"), Qt::CaseInsensitive))
                    throw ErrorBaseDatos(kErrorSinRespuesta, sin_respuesta_al_conectar(d->limites.conectar_s),
                                         kErrorSinRespuesta);
                d->lanzar(nullptr, error);
            } catch (...) {
                db = QSqlDatabase();
                QSqlDatabase::removeDatabase(kNombreConexion);
                throw;
            }
        }
        SQLCHAR nombre[256] = {};
        SQLSMALLINT largo = 0;
        const SQLRETURN r = SQLGetInfo(handle_de(db.driver()->handle()), SQL_DBMS_NAME, nombre,
                                       sizeof nombre, &largo);
        d->dbms = SQL_SUCCEEDED(r) ? QString::fromUtf8(reinterpret_cast<const char*>(nombre))
                                   : QString();
        d->antes = antes;
    }
    // Commands built for one engine must never go to another one.
    const std::optional<Dialecto> dialecto = dialecto_de(d->dbms);
    if (!dialecto) {
        cerrar();
        throw ErrorBaseDatos(
            kErrorMotorNoAdmitido,
            d->dbms.isEmpty()
                ? QStringLiteral("El controlador ODBC no informa qué motor de base de datos usa")
                : QStringLiteral("El motor de base de datos \"%1\" no está admitido").arg(d->dbms));
    }
    d->dialecto = *dialecto;
    d->abierta = true;
    d->perdida = false;
    d->cadena = cadena_conexion;
    d->en_transaccion = false;
    d->marcar_comprobada();
    try {
        if (d->dialecto != Dialecto::SQLite)
            preparar_servidor();
        // SQLite's default 2 MiB page cache is smaller than what one report
        // press reads on a large database, so every press read its pages
        // again from the file; 16 MiB keeps them, and stays small beside the
        // program.
        if (d->dialecto == Dialecto::SQLite) {
            d->orden(QStringLiteral("PRAGMA cache_size = -16384"));
            d->aviso = preparar_base_sqlite(*d, d->procedimientos, d->archivo);
        }
    } catch (...) {
        cerrar();
        throw;
    }
}

// The watch over this connection's calls, and the server's own limits.
void ConexionBD::preparar_servidor()
{
    // A Unix socket is known by its name, TCP by the data source's port;
    // failing that (a port given elsewhere), by the one the server says it
    // listens on.
    d->sockets = sockets_nuevos(d->antes, d->puerto);
    if (d->sockets.empty() && d->dialecto == Dialecto::PostgreSQL) {
        const Filas f = d->filas_y_cierre(d->directo(QStringLiteral("SELECT inet_server_port() AS p")));
        const int puerto = f.valores.empty() ? 0 : f.valores.front().value(0).toInt();
        if (puerto > 0 && puerto != d->puerto) {
            d->puerto = puerto;
            d->sockets = sockets_nuevos(d->antes, d->puerto);
        }
    }
    Vigia::instancia().vigilar(d->sockets, d->puerto, d->limites.sentencia_s * 1000);
    if (d->sockets.empty()) {
#ifdef __linux__
        sin_vigilancia(QStringLiteral("no se encontró la conexión al puerto %1 entre los sockets del programa")
                           .arg(d->puerto));
#else
        sin_vigilancia(QStringLiteral("solo se puede en Linux"));
#endif
    }
    // The server's own limits, for this session: a statement that runs too
    // long and a lock held too long by another user end cleanly.
    if (d->dialecto == Dialecto::PostgreSQL) {
        d->orden(QStringLiteral("SET statement_timeout = %1").arg(limite_servidor_ms(d->limites)));
        d->orden(QStringLiteral("SET lock_timeout = %1").arg(d->limites.bloqueo_ms));
        revisar_version_postgres(*d, d->archivo);
    }
}

QString ConexionBD::aviso() const
{
    return d->aviso;
}

void ConexionBD::cerrar()
{
    d->procedimientos.olvidar();
    d->escriben.clear();
    d->sesion.clear();
    d->perdida = false;
    if (!d->abierta && !QSqlDatabase::contains(kNombreConexion))
        return;
    // No socket of it may be cut once it is closed (its number may be reused).
    Vigia::instancia().olvidar();
    d->sockets.clear();
    d->abierta = false;
    {
        QSqlDatabase db = QSqlDatabase::database(kNombreConexion, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(kNombreConexion);
}

bool ConexionBD::abierta() const
{
    return d->abierta;
}

Dialecto ConexionBD::dialecto() const
{
    return d->dialecto;
}

QString ConexionBD::nombre_dbms() const
{
    return d->dbms;
}

void ConexionBD::observar(std::function<void(const QString&)> observador)
{
    d->observador = std::move(observador);
}

void ConexionBD::fijar_limites(const LimitesTiempo& limites)
{
    d->limites = limites;
}

Resultado ConexionBD::ejecutar(const QString& comando)
{
    if (!d->abierta)
        throw ErrorBaseDatos(QString::number(kErrorConexionCerrada), QStringLiteral("La conexión no está abierta"));
    asegurar_conexion();
    if (d->observador)
        d->observador(comando);
    // The drivers end a text at its first NUL: "a\0b" would be stored as "a".
    if (comando.contains(QChar(u'\0')))
        throw RechazoDatos(kErrorCaracterNulo, QStringLiteral("Los textos no pueden tener el carácter nulo"));
    const ComandoMotor motor = traducir(d->dialecto, comando);
    switch (motor.forma) {
    case ComandoMotor::Forma::Texto:
        if (d->dialecto == Dialecto::SQLite)
            d->procedimientos.ver_comando(comando);
        return d->en_vivo(d->directo(motor.sql));
    case ComandoMotor::Forma::Parametros:
        // Outside a transaction the driver commits a function's work only
        // when the result's cursor is closed, where a failure is never seen:
        // one that may write runs in a transaction of its own instead, its
        // rows read and its commit checked before the caller hears of it.
        if (d->dialecto == Dialecto::PostgreSQL && !d->en_transaccion) {
            const std::optional<LlamadaExec> llamada = analizar_exec(comando);
            if (llamada && d->escribe(llamada->nombre)) {
                Transaccion transaccion(*this);
                Resultado r = en_memoria(d->filas_y_cierre(d->preparar(motor.sql, motor.argumentos)));
                transaccion.confirmar();
                return r;
            }
        }
        return d->en_vivo(d->preparar(motor.sql, motor.argumentos));
    case ComandoMotor::Forma::Procedimiento:
        break;
    }
    return d->procedimientos.ejecutar({motor.sql, motor.argumentos});
}

// A connection lost while the program was idle (a server restart, a network
// drop) is made anew with the same data source before a press runs
// anything, its session set up again. Once the press has begun, or inside
// a transaction, a lost connection stays the failure it is: a message, and
// the next press connects again. A SQLite file has no connection to lose.
void ConexionBD::asegurar_conexion()
{
    if (!d->abierta || d->en_transaccion || d->dialecto == Dialecto::SQLite)
        return;
    if (d->perdida) {
        reconectar();
        return;
    }
    if (d->comprobada)
        return;
    // The watch cut the connection during an earlier press: it is dead, and
    // connecting again is what tells whether the server answers now.
    if (Vigia::instancia().vencida()) {
        reconectar();
        return;
    }
    try {
        d->orden(QStringLiteral("SELECT 1"));
    } catch (const ErrorBaseDatos& e) {
        // A server that does not answer will not answer a new connection
        // either: the user hears it now, not after another wait.
        if (e.numero() == kErrorSinRespuesta) {
            d->perdida = true;
            throw;
        }
        reconectar();
        return;
    }
    d->marcar_comprobada();
}

void ConexionBD::reconectar()
{
    const QStringList sesion = d->sesion;
    const QString cadena = d->cadena;
    const Dialecto dialecto = d->dialecto;
    try {
        abrir(cadena);
        for (const QString& comando : sesion)
            fijar_sesion(comando);
    } catch (const ErrorBaseDatos& e) {
        // Kept as it was, to try again on the next press.
        cerrar();
        d->abierta = true;
        d->perdida = true;
        d->cadena = cadena;
        d->sesion = sesion;
        d->dialecto = dialecto;
        if (e.numero() == kErrorSinRespuesta)
            throw RechazoDatos(e.numero(), e.texto(), e.estado(), RechazoDatos::Causa::Servicio);
        throw RechazoDatos(kErrorConexionPerdida, sin_servidor(e.texto()), e.estado(), RechazoDatos::Causa::Servicio);
    }
}

bool ConexionBD::fijar_sesion(const QString& comando)
{
    try {
        ejecutar(comando);
    } catch (const ErrorBaseDatos& e) {
        // A database that keeps no history has no session procedure.
        if (clasificar_error(d->dialecto, e.estado(), e.numero().toInt()) == ClaseError::SinProcedimiento)
            return false;
        throw;
    }
    d->sesion.removeAll(comando);
    d->sesion << comando;
    return true;
}

void ConexionBD::iniciar_transaccion()
{
    asegurar_conexion();
    if (d->dialecto == Dialecto::SQLite)
        d->procedimientos.cargar_todos();
    // On SQLite a writer from the start: the write lock is taken (or waited
    // for) before anything is read, so two saves queue instead of deadlocking.
    d->paso_transaccion(QStringLiteral("BEGIN IMMEDIATE"), &QSqlDatabase::transaction);
    d->en_transaccion = true;
}

void ConexionBD::confirmar()
{
    try {
        d->paso_transaccion(QStringLiteral("COMMIT"), &QSqlDatabase::commit);
    } catch (const RechazoDatos& e) {
        // The commit may have landed before the connection went: the user
        // must look again rather than believe nothing was stored.
        if (e.numero() == kErrorConexionPerdida || e.numero() == kErrorSinRespuesta)
            throw RechazoDatos(kErrorConfirmacionIncierta, confirmacion_perdida(), e.estado(),
                               RechazoDatos::Causa::Servicio);
        throw;
    }
    d->en_transaccion = false;
}

void ConexionBD::deshacer()
{
    d->en_transaccion = false;
    if (d->dialecto == Dialecto::SQLite) {
        d->intentar(QStringLiteral("ROLLBACK"));
        return;
    }
    const Vigilada vigilada;
    QSqlDatabase db = d->db();
    db.rollback();
}

ConexionBD& Conexion()
{
    // Never destroyed: it must outlive every static of the SQL module.
    static ConexionBD* conexion = new ConexionBD;
    return *conexion;
}

void abrir_conexion()
{
    Conexion().abrir(QStringLiteral("FILEDSN=") + ruta_origen_datos());
}

Transaccion::Transaccion(ConexionBD& conexion) : conexion_(conexion)
{
    conexion_.iniciar_transaccion();
}

Transaccion::~Transaccion()
{
    if (activa_)
        conexion_.deshacer();
}

void Transaccion::confirmar()
{
    conexion_.confirmar();
    activa_ = false;
}

} // namespace velmora
