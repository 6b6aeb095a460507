#include "data/conexion.h"

#include "data/archivo_sqlite.h"
#include "data/cadena_conexion.h"
#include "data/diagnostico.h"
#include "data/errores.h"
#include "data/errores_odbc.h"
#include "data/locale_c.h"
#include "data/origen_datos.h"
#include "data/procedimientos_sqlite.h"
#include "data/sentencias.h"
#include "data/sockets_servidor.h"
#include "data/vigia.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>

#include <sql.h>
#include <sqlext.h>

#include <vector>

namespace velmora {

struct ConexionBD::Impl final : Sentencias {
    QString dbms;
    std::function<void(const QString&)> observador;
    QStringList sesion; // commands to run again on a new connection
    QString cadena;     // the data source it was opened with
    bool en_transaccion = false;
    bool perdida = false;            // a reconnection failed: the next press tries again
    std::vector<SocketServidor> sockets; // the connection's own, cut when a call outlasts its limit
    int puerto = 0;                      // the data source's port (0: the default)
    LimitesTiempo limites;
    bool comprobada = false;         // seen alive during this press
    std::unique_ptr<QObject> testigo; // told when the press is over
    ProcedimientosSqlite procedimientos{*this};

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
            directo(sqlite);
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
    // Whatever locale the process was started with, texts reach the driver intact.
    fijar_locale_c();
    const OrigenDatos origen = resolver_cadena(cadena_conexion);
    d->clave = origen.clave;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), kNombreConexion);
        if (!db.isValid()) {
            throw ErrorBaseDatos(kErrorSinControlador,
                                 QStringLiteral("No está disponible el controlador ODBC de Qt"));
        }
        exigir_base_sqlite(origen.cadena);
        db.setDatabaseName(con_limites(origen.cadena, d->limites));
        const std::vector<int> antes = sockets_abiertos();
        if (!db.open(QString(), QString())) {
            const QSqlError error = db.lastError();
            try {
                // libpq's connect_timeout ran out: a server that takes
                // the connection and never answers.
                if (error.text().contains(QStringLiteral("timeout expired"), Qt::CaseInsensitive))
                    throw ErrorBaseDatos(kErrorSinRespuesta, sin_respuesta_al_conectar(d->limites.conectar_s),
                                         kErrorSinRespuesta);
                d->lanzar(nullptr, error);
            } catch (...) {
                db = QSqlDatabase();
                QSqlDatabase::removeDatabase(kNombreConexion);
                throw;
            }
        }
        // The sockets this connection opened, for the watch over its calls.
        d->puerto = puerto_de(origen.cadena);
        d->sockets = sockets_nuevos(antes, d->puerto);
        SQLCHAR nombre[256] = {};
        SQLSMALLINT largo = 0;
        const SQLRETURN r = SQLGetInfo(handle_de(db.driver()->handle()), SQL_DBMS_NAME, nombre,
                                       sizeof nombre, &largo);
        d->dbms = SQL_SUCCEEDED(r) ? QString::fromUtf8(reinterpret_cast<const char*>(nombre))
                                   : QString();
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
    if (d->dialecto != Dialecto::SQLite) {
        Vigia::instancia().vigilar(d->sockets, d->puerto, d->limites.sentencia_s * 1000);
        // The server's own limits, for this session: a statement that runs
        // too long and a lock held too long by another user end cleanly.
        if (d->dialecto == Dialecto::PostgreSQL) {
            d->directo(QStringLiteral("SET statement_timeout = %1").arg(limite_servidor_ms(d->limites)));
            d->directo(QStringLiteral("SET lock_timeout = %1").arg(d->limites.bloqueo_ms));
        }
    }
    // SQLite's default 2 MiB page cache is smaller than what one report press
    // reads on a large database, so every press read its pages again from the
    // file; 16 MiB keeps them, and stays small beside the program.
    if (d->dialecto == Dialecto::SQLite) {
        d->directo(QStringLiteral("PRAGMA cache_size = -16384"));
        d->procedimientos.actualizar_base();
    }
}

void ConexionBD::cerrar()
{
    d->procedimientos.olvidar();
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
    try {
        d->directo(QStringLiteral("SELECT 1"));
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
