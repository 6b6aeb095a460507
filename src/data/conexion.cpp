// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/conexion.h"

#include "data/comandos.h"
#include "data/diagnostico.h"
#include "data/errores.h"
#include "data/lector_odbc.h"
#include "data/locale_c.h"
#include "data/origen_datos.h"
#include "data/procedimientos_sqlite.h"
#include "data/sentencias.h"
#include "data/textos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#ifdef __linux__
#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#endif

namespace velmora {

namespace {

const QString kNombreConexion = QStringLiteral("velmora");

const QString kBaseOcupada =
    QStringLiteral("La base de datos está ocupada por otro usuario; intente de nuevo");

const QString kSinPermiso = QStringLiteral(
    "La base de datos no permite esto a esta cuenta, que solo puede consultar; no se guardó nada. "
    "Para cambiar datos, pida al administrador de la base de datos el grupo velmora_edicion");

QString sin_respuesta(int segundos)
{
    return QStringLiteral("El servidor de base de datos no respondió en %1 segundos; se dejó de esperar "
                          "y no se guardó nada. Intente de nuevo cuando el servidor responda")
        .arg(segundos);
}

QString sin_respuesta_al_conectar(int segundos)
{
    return QStringLiteral("El servidor de base de datos no respondió en %1 segundos al conectar. "
                          "Intente de nuevo cuando el servidor responda")
        .arg(segundos);
}

const QString kConexionPerdida =
    QStringLiteral("Se perdió la conexión con el servidor de base de datos (se reinició o se detuvo); "
                   "no se guardó nada de esta operación. Intente de nuevo");

const QString kConfirmacionPerdida =
    QStringLiteral("Se perdió la conexión con el servidor de base de datos mientras confirmaba el guardado: "
                   "puede que se haya guardado o no. Consulte de nuevo para ver los valores actuales");

const QString kClaveDuplicada =
    QStringLiteral("Otro usuario acaba de guardar el mismo dato; no se guardó nada. "
                   "Consulte de nuevo para ver los valores actuales");

QString tiempo_agotado(int segundos)
{
    return QStringLiteral("La operación tardó más de %1 segundos y se canceló; no se guardó nada").arg(segundos);
}

QString sin_servidor(const QString& detalle)
{
    return QStringLiteral("No se pudo conectar con el servidor de base de datos; no se guardó nada. "
                          "Intente de nuevo cuando vuelva a estar disponible (%1)")
        .arg(detalle);
}

// The server cancels a statement itself a little before the program stops
// waiting, so a slow but living server ends it cleanly.
int limite_servidor_ms(const LimitesTiempo& limites)
{
    return qMax(500, limites.sentencia_s * 1000 - 1000);
}

// The SQLite driver waits for another program's lock up to its Timeout
// (100 s by default, with the window frozen): a few seconds instead, then
// the user hears that someone else holds the database. The first value of a
// keyword counts, so this one goes before the data source's own.
// PostgreSQL's driver hands libpq's own options over in pqopt: a time limit
// on connecting (a stalled server accepts the socket and never answers) and
// keepalives that find a dead peer over TCP. A data source that sets pqopt
// itself keeps its own.
QString con_limites(const QString& cadena, const LimitesTiempo& limites)
{
    static const QRegularExpression sqlite(QStringLiteral("^DRIVER=\\{?[^;}]*sqlite[^;}]*\\}?;"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression postgres(QStringLiteral("^DRIVER=\\{?[^;}]*postgres"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression pqopt(QStringLiteral("(?:^|;)\\s*pqopt\\s*="),
                                          QRegularExpression::CaseInsensitiveOption);
    QString resultado = cadena;
    const QRegularExpressionMatch m = sqlite.match(cadena);
    if (m.hasMatch()) {
        resultado.insert(m.capturedEnd(), QStringLiteral("Timeout=%1;").arg(limites.bloqueo_ms));
    } else if (postgres.match(cadena).hasMatch() && !pqopt.match(cadena).hasMatch()) {
        if (!resultado.endsWith(u';'))
            resultado += u';';
        resultado += QStringLiteral("pqopt={connect_timeout=%1 keepalives=1 keepalives_idle=10 "
                                    "keepalives_interval=5 keepalives_count=3 tcp_user_timeout=%2}")
                         .arg(limites.conectar_s)
                         .arg(limites.sentencia_s * 1000);
    }
    return resultado;
}

// A socket of the connection: its number and its peer's address.
struct SocketServidor {
    int fd;
    QByteArray par;
};

// The peer's address of a socket that leads to a database server: a
// PostgreSQL Unix socket, or TCP to the port of the data source (PostgreSQL's
// or SQL Server's by default). Empty for any other one: another thread of
// the program (D-Bus, accessibility) may open a socket at the same moment.
QByteArray par_del_servidor(int fd, int puerto)
{
#ifdef __linux__
    sockaddr_storage direccion {};
    socklen_t largo = sizeof direccion;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&direccion), &largo) != 0)
        return {};
    const QByteArray par(reinterpret_cast<const char*>(&direccion), int(largo));
    int puerto_par = 0;
    switch (direccion.ss_family) {
    case AF_UNIX: {
        const auto* local = reinterpret_cast<const sockaddr_un*>(&direccion);
        const QByteArray ruta(local->sun_path, int(qstrnlen(local->sun_path, sizeof local->sun_path)));
        return ruta.contains(".s.PGSQL.") ? par : QByteArray();
    }
    case AF_INET:
        puerto_par = ntohs(reinterpret_cast<const sockaddr_in*>(&direccion)->sin_port);
        break;
    case AF_INET6:
        puerto_par = ntohs(reinterpret_cast<const sockaddr_in6*>(&direccion)->sin6_port);
        break;
    default:
        return {};
    }
    const bool servidor = puerto > 0 ? puerto_par == puerto : (puerto_par == 5432 || puerto_par == 1433);
    return servidor ? par : QByteArray();
#else
    Q_UNUSED(fd);
    Q_UNUSED(puerto);
    return {};
#endif
}

// The port a data source names (0: the driver's default).
int puerto_de(const QString& cadena)
{
    static const QRegularExpression puerto(QStringLiteral("(?:^|;)\\s*port\\s*=\\s*(\\d+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    return puerto.match(cadena).captured(1).toInt();
}

// The sockets the process holds, to tell which ones a new connection made.
std::vector<int> sockets_abiertos()
{
    std::vector<int> sockets;
#ifdef __linux__
    DIR* carpeta = opendir("/proc/self/fd");
    if (!carpeta)
        return sockets;
    while (const dirent* entrada = readdir(carpeta)) {
        bool ok = false;
        const int fd = QByteArray(entrada->d_name).toInt(&ok);
        struct stat datos {};
        if (ok && fd != dirfd(carpeta) && fstat(fd, &datos) == 0 && S_ISSOCK(datos.st_mode))
            sockets.push_back(fd);
    }
    closedir(carpeta);
#endif
    return sockets;
}

// Watches the calls that wait on a database server. A call still waiting
// past the statement limit has its connection's sockets shut down: the
// driver's wait ends at once with a failure, where a stalled server (its
// processes stopped, a machine that hangs) would keep the window frozen
// until it came back. The server sees the connection end and rolls back
// whatever it had not committed.
class Vigia final {
public:
    static Vigia& instancia()
    {
        // Never destroyed: its thread runs until the process ends.
        static Vigia* vigia = new Vigia;
        return *vigia;
    }

    void vigilar(std::vector<SocketServidor> sockets, int puerto, int limite_ms)
    {
        const std::lock_guard cerrojo(mutex_);
        sockets_ = std::move(sockets);
        puerto_ = puerto;
        limite_ms_ = limite_ms;
        activa_.store(!sockets_.empty(), std::memory_order_relaxed);
        if (activa_.load(std::memory_order_relaxed) && !hilo_) {
            hilo_ = true;
            std::thread([this] { vigilar_siempre(); }).detach();
        }
        aviso_.notify_all();
    }

    void olvidar() { vigilar({}, 0, 0); }

    bool activa() const { return activa_.load(std::memory_order_relaxed); }

    void armar()
    {
        vencida_.store(false, std::memory_order_relaxed);
        inicio_.store(ahora_ms(), std::memory_order_release);
    }

    void desarmar() { inicio_.store(0, std::memory_order_release); }

    // The last watched call ended because the limit passed.
    bool vencida() const { return vencida_.load(std::memory_order_acquire); }
    int limite_s() const
    {
        const std::lock_guard cerrojo(mutex_);
        return (limite_ms_ + 999) / 1000;
    }

private:
    static qint64 ahora_ms()
    {
        using namespace std::chrono;
        // Never 0, which means "not armed".
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() + 1;
    }

    void vigilar_siempre()
    {
        std::unique_lock cerrojo(mutex_);
        for (;;) {
            const int paso = limite_ms_ > 0 ? qBound(50, limite_ms_ / 10, 1000) : 1000;
            aviso_.wait_for(cerrojo, std::chrono::milliseconds(paso));
            qint64 inicio = inicio_.load(std::memory_order_acquire);
            if (inicio == 0 || sockets_.empty() || limite_ms_ <= 0 || ahora_ms() - inicio < limite_ms_)
                continue;
            // Only the call that was armed then: one that began since runs on.
            if (!inicio_.compare_exchange_strong(inicio, 0, std::memory_order_acq_rel))
                continue;
            vencida_.store(true, std::memory_order_release);
            for (const SocketServidor& socket : sockets_) {
                // The driver may have closed it on a lost connection and
                // its number gone to another socket since.
                if (par_del_servidor(socket.fd, puerto_) != socket.par)
                    continue;
#ifdef __linux__
                ::shutdown(socket.fd, SHUT_RDWR);
#endif
            }
        }
    }

    mutable std::mutex mutex_;
    std::condition_variable aviso_;
    std::vector<SocketServidor> sockets_;
    int puerto_ = 0;
    int limite_ms_ = 0;
    bool hilo_ = false;
    std::atomic<bool> activa_{false};
    std::atomic<bool> vencida_{false};
    std::atomic<qint64> inicio_{0};
};

// One call that waits on the server, watched while it lasts (the outermost
// one when calls nest).
class Vigilada final {
public:
    Vigilada()
    {
        if (profundidad_++ == 0 && Vigia::instancia().activa())
            Vigia::instancia().armar();
    }
    ~Vigilada()
    {
        if (--profundidad_ == 0)
            Vigia::instancia().desarmar();
    }
    Vigilada(const Vigilada&) = delete;
    Vigilada& operator=(const Vigilada&) = delete;

private:
    static thread_local int profundidad_;
};

thread_local int Vigilada::profundidad_ = 0;

// The SQLite driver creates a missing database file: the user could log in
// to an empty database and the first screen would fail. Refused instead.
void exigir_base_sqlite(const QString& cadena)
{
    static const QRegularExpression base(QStringLiteral("(?:^|;)\\s*Database\\s*=\\s*(\\{(?:[^}]|\\}\\})*\\}|[^;]*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (!cadena_sqlite(cadena))
        return;
    const QRegularExpressionMatch m = base.match(cadena);
    QString archivo = m.hasMatch() ? m.captured(1).trimmed() : QString();
    if (archivo.startsWith(u'{') && archivo.endsWith(u'}'))
        archivo = archivo.mid(1, archivo.size() - 2).replace(QStringLiteral("}}"), QStringLiteral("}"));
    if (archivo.isEmpty() || archivo == QStringLiteral(":memory:") || QFileInfo(archivo).isFile())
        return;
    throw ErrorBaseDatos(kErrorSinOrigen,
                         QStringLiteral("No existe la base de datos \"%1\"").arg(QDir::toNativeSeparators(archivo)));
}

} // namespace

// ---------------------------------------------------------------------------

struct Resultado::Impl {
    std::optional<QSqlQuery> consulta; // walked live, its rows read by lector
    std::optional<LectorOdbc> lector;
    std::vector<QVariantList> filas;   // or held in memory (multi-step procedures)
    size_t posicion = 0;
    bool en_memoria = false;
    bool hay_fila = false;
    QStringList nombres;
    QHash<QString, int> indices;
    // Raises the error of a failed fetch; a failure is never the end of the rows.
    std::function<void(const QSqlQuery&)> fallo;

    void poner_nombres(QStringList campos)
    {
        nombres = std::move(campos);
        indices.clear();
        for (int i = 0; i < nombres.size(); ++i) {
            // The first of two equal names wins, as field lookup by name does.
            if (!indices.contains(nombres[i]))
                indices.insert(nombres[i], i);
        }
    }
};

Resultado::Resultado(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
Resultado::Resultado(Resultado&&) noexcept = default;
Resultado& Resultado::operator=(Resultado&&) noexcept = default;
Resultado::~Resultado() = default;

bool Resultado::eof() const
{
    return !d->hay_fila;
}

void Resultado::siguiente()
{
    if (!d->hay_fila)
        return;
    if (d->en_memoria) {
        ++d->posicion;
        d->hay_fila = d->posicion < d->filas.size();
    } else {
        const Vigilada vigilada;
        const LectorOdbc::Paso paso = d->lector->siguiente();
        d->hay_fila = paso == LectorOdbc::Paso::Fila;
        if (paso == LectorOdbc::Paso::Fallo)
            d->fallo(*d->consulta);
    }
}

int Resultado::indice(const QString& nombre) const
{
    const auto it = d->indices.constFind(nombre);
    if (it == d->indices.constEnd()) {
        throw ErrorBaseDatos(QString::number(kErrorCampoDesconocido),
                             QStringLiteral("El resultado no tiene el campo \"%1\"").arg(nombre));
    }
    return *it;
}

QVariant Resultado::campo(int indice) const
{
    if (!d->hay_fila) {
        throw ErrorBaseDatos(QString::number(kErrorSinFila),
                             QStringLiteral("No hay fila actual para leer el campo \"%1\"")
                                 .arg(d->nombres.value(indice)));
    }
    if (d->en_memoria)
        return d->filas[d->posicion].at(indice);
    return d->lector->valor(indice);
}

QVariant Resultado::campo(const QString& nombre) const
{
    return campo(indice(nombre));
}

QString Resultado::texto(const QString& nombre) const
{
    return texto_valor(campo(nombre));
}

QString Resultado::texto(int indice) const
{
    return texto_valor(campo(indice));
}

QStringList Resultado::campos() const
{
    return d->nombres;
}

// ---------------------------------------------------------------------------

namespace {

QSqlError error_lectura()
{
    return QSqlError(QStringLiteral("No se pudieron leer las filas del resultado"), QString(),
                     QSqlError::StatementError);
}

QStringList nombres_de(const QSqlRecord& registro)
{
    QStringList nombres;
    for (int i = 0; i < registro.count(); ++i)
        nombres << registro.fieldName(i);
    return nombres;
}

// The next row, telling a failed fetch from the end of the rows.
bool siguiente(const Sentencias& sentencias, LectorOdbc& lector, const QSqlQuery& q)
{
    const Vigilada vigilada;
    switch (lector.siguiente()) {
    case LectorOdbc::Paso::Fila:
        return true;
    case LectorOdbc::Paso::Fin:
        return false;
    case LectorOdbc::Paso::Fallo:
        break;
    }
    sentencias.lanzar(&q, error_lectura());
}

} // namespace

Resultado en_memoria(Filas filas)
{
    auto r = std::make_unique<Resultado::Impl>();
    r->en_memoria = true;
    r->poner_nombres(std::move(filas.nombres));
    r->filas = std::move(filas.valores);
    r->hay_fila = !r->filas.empty();
    return Resultado(std::move(r));
}

QSqlDatabase Sentencias::db() const
{
    return QSqlDatabase::database(kNombreConexion, false);
}

void Sentencias::lanzar(const QSqlQuery* consulta, const QSqlError& error) const
{
    std::optional<Diagnostico> diag;
    if (consulta && consulta->result())
        diag = leer_diagnostico(TipoHandle::Sentencia, consulta->result()->handle());
    if (!diag && db().driver())
        diag = leer_diagnostico(TipoHandle::Conexion, db().driver()->handle());
    const Diagnostico final_ = diag ? *diag : diagnostico_de(error);
    QString texto = ocultar_clave(limpiar_texto(final_.texto), clave);
    if (texto.isEmpty())
        texto = ocultar_clave(error.text(), clave);
    // The watch cut a call the server left waiting: whatever the driver
    // says of the cut connection, this is what happened.
    if (abierta && Vigia::instancia().activa() && Vigia::instancia().vencida())
        throw RechazoDatos(kErrorSinRespuesta, sin_respuesta(Vigia::instancia().limite_s()), kErrorSinRespuesta,
                           RechazoDatos::Causa::Servicio);
    if (abierta) {
        switch (clasificar_error(dialecto, final_.estado, final_.nativo, final_.texto + u'\n' + error.text())) {
        case ClaseError::Bloqueo:
            // Nothing was stored and trying again later may work: the
            // user is told so and goes on.
            throw RechazoDatos(final_.numero, kBaseOcupada, final_.estado, RechazoDatos::Causa::Servicio);
        case ClaseError::Conexion:
            // The server rolled back what this connection had not
            // committed; the next press connects again.
            throw RechazoDatos(kErrorConexionPerdida, kConexionPerdida, final_.estado, RechazoDatos::Causa::Servicio);
        case ClaseError::Tiempo:
            throw RechazoDatos(final_.numero, tiempo_agotado(Vigia::instancia().limite_s()), final_.estado,
                               RechazoDatos::Causa::Servicio);
        case ClaseError::Rechazo:
            // The server's words name a function or a table; the user
            // needs to know that the account's group decides.
            if (final_.estado == kErrorSinPermiso)
                throw RechazoDatos(final_.numero, kSinPermiso, final_.estado, RechazoDatos::Causa::Servicio);
            // Two users storing the same key at once: the server's text
            // names a constraint; the user needs to know what happened.
            if (es_clave_duplicada_del_servidor(texto))
                throw RechazoDatos(final_.numero, kClaveDuplicada, final_.estado);
            throw RechazoDatos(final_.numero, texto, final_.estado);
        case ClaseError::SinProcedimiento:
        case ClaseError::Otra:
            break;
        }
    }
    throw ErrorBaseDatos(final_.numero, texto, final_.estado);
}

QSqlQuery Sentencias::preparar(const QString& sql, const QStringList& argumentos) const
{
    const Vigilada vigilada;
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        lanzar(&q, q.lastError());
    for (const QString& a : argumentos)
        q.addBindValue(a);
    if (!q.exec())
        lanzar(&q, q.lastError());
    return q;
}

QSqlQuery Sentencias::directo(const QString& sql) const
{
    const Vigilada vigilada;
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!q.exec(sql))
        lanzar(&q, q.lastError());
    return q;
}

void Sentencias::intentar(const QString& sql) const
{
    const Vigilada vigilada;
    QSqlQuery q(db());
    q.exec(sql);
}

Resultado Sentencias::en_vivo(QSqlQuery q) const
{
    auto r = std::make_unique<Resultado::Impl>();
    if (q.isSelect()) {
        r->poner_nombres(nombres_de(q.record()));
        r->fallo = [this](const QSqlQuery& fallida) { lanzar(&fallida, error_lectura()); };
        r->consulta.emplace(std::move(q));
        r->lector.emplace(*r->consulta);
        r->hay_fila = siguiente(*this, *r->lector, *r->consulta);
    }
    return Resultado(std::move(r));
}

Filas Sentencias::filas(const QSqlQuery& q) const
{
    Filas filas;
    filas.nombres = nombres_de(q.record());
    LectorOdbc lector(q);
    while (siguiente(*this, lector, q)) {
        QVariantList fila;
        fila.reserve(filas.nombres.size());
        for (int i = 0; i < filas.nombres.size(); ++i)
            fila << lector.valor(i);
        filas.valores.push_back(std::move(fila));
    }
    return filas;
}

// ---------------------------------------------------------------------------

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
        std::vector<SocketServidor> nuevos;
        d->puerto = puerto_de(origen.cadena);
        for (const int fd : sockets_abiertos()) {
            if (std::find(antes.begin(), antes.end(), fd) != antes.end())
                continue;
            QByteArray par = par_del_servidor(fd, d->puerto);
            if (!par.isEmpty())
                nuevos.push_back({fd, std::move(par)});
        }
        d->sockets = std::move(nuevos);
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
            throw RechazoDatos(kErrorConfirmacionIncierta, kConfirmacionPerdida, e.estado(),
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
