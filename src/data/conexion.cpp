#include "data/conexion.h"

#include "data/comandos.h"
#include "data/diagnostico.h"
#include "data/errores.h"
#include "data/locale_c.h"
#include "data/origen_datos.h"
#include "data/textos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <sql.h>
#include <sqlext.h>

#include <iterator>
#include <optional>
#include <vector>

namespace {

const QString kNombreConexion = QStringLiteral("velmora");

// How long a command waits for another program's lock before giving up.
constexpr int kEsperaBloqueoMs = 3000;

const QString kBaseOcupada =
    QStringLiteral("La base de datos está ocupada por otro usuario; intente de nuevo");

// The SQLite driver waits for another program's lock up to its Timeout
// (100 s by default, with the window frozen): a few seconds instead, then
// the user hears that someone else holds the database. The first value of a
// keyword counts, so this one goes before the data source's own.
QString con_espera_corta(const QString& cadena)
{
    static const QRegularExpression sqlite(QStringLiteral("^DRIVER=\\{?[^;}]*sqlite[^;}]*\\}?;"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = sqlite.match(cadena);
    if (!m.hasMatch())
        return cadena;
    QString resultado = cadena;
    resultado.insert(m.capturedEnd(), QStringLiteral("Timeout=%1;").arg(kEsperaBloqueoMs));
    return resultado;
}

// The SQLite driver creates a missing database file: the user could log in
// to an empty database and the first screen would fail. Refused instead.
void exigir_base_sqlite(const QString& cadena)
{
    static const QRegularExpression sqlite(QStringLiteral("^DRIVER=\\{?[^;}]*sqlite"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression base(QStringLiteral("(?:^|;)\\s*Database\\s*=\\s*(\\{(?:[^}]|\\}\\})*\\}|[^;]*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (!sqlite.match(cadena).hasMatch())
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

// Rows read straight from the statement handle the Qt driver executed: each
// field once, into a buffer of its own type, with the types the Qt driver
// gave the record (no empty-buffer probe, no per-cell work of the driver).
class LectorOdbc final {
public:
    enum class Paso { Fila, Fin, Fallo };

    explicit LectorOdbc(const QSqlQuery& consulta)
        : stmt_(handle_de(consulta.result()->handle())),
          texto_doble_(consulta.numericalPrecisionPolicy() == QSql::HighPrecision)
    {
        const QSqlRecord registro = consulta.record();
        for (int i = 0; i < registro.count(); ++i)
            tipos_.push_back(registro.field(i).metaType());
        fila_.resize(tipos_.size());
    }

    Paso siguiente()
    {
        const SQLRETURN r = SQLFetch(stmt_);
        if (r == SQL_NO_DATA)
            return Paso::Fin;
        if (!SQL_SUCCEEDED(r))
            return Paso::Fallo;
        for (size_t i = 0; i < tipos_.size(); ++i)
            if (!leer(SQLUSMALLINT(i + 1), tipos_[i], fila_[i]))
                return Paso::Fallo;
        return Paso::Fila;
    }

    const QVariant& valor(int i) const { return fila_[size_t(i)]; }
    int columnas() const { return int(fila_.size()); }

private:
    template <typename T>
    bool fijo(SQLUSMALLINT columna, SQLSMALLINT tipo_c, QMetaType tipo, QVariant& valor)
    {
        T dato{};
        SQLLEN indicador = 0;
        if (!SQL_SUCCEEDED(SQLGetData(stmt_, columna, tipo_c, &dato, sizeof dato, &indicador)))
            return false;
        valor = indicador == SQL_NULL_DATA ? QVariant(tipo) : QVariant::fromValue(dato);
        return true;
    }

    // Text in pieces of the buffer's size until the driver has no more.
    bool texto(SQLUSMALLINT columna, QVariant& valor, QMetaType tipo_nulo)
    {
        QString texto;
        for (;;) {
            SQLLEN indicador = 0;
            const SQLRETURN r = SQLGetData(stmt_, columna, SQL_C_WCHAR, buffer_, sizeof buffer_, &indicador);
            if (r == SQL_NO_DATA)
                break;
            if (!SQL_SUCCEEDED(r))
                return false;
            if (indicador == SQL_NULL_DATA) {
                valor = QVariant(tipo_nulo);
                return true;
            }
            const bool cortado = r == SQL_SUCCESS_WITH_INFO
                                 && (indicador == SQL_NO_TOTAL || indicador >= SQLLEN(sizeof buffer_));
            const qsizetype n = cortado ? qsizetype(std::size(buffer_)) - 1
                                        : qsizetype(indicador / SQLLEN(sizeof(SQLWCHAR)));
            texto.append(QStringView(reinterpret_cast<const char16_t*>(buffer_), n));
            if (!cortado)
                break;
        }
        if (texto.isNull())
            texto = QStringLiteral("");
        valor = texto;
        return true;
    }

    bool binario(SQLUSMALLINT columna, QVariant& valor)
    {
        QByteArray datos;
        char trozo[4096];
        for (;;) {
            SQLLEN indicador = 0;
            const SQLRETURN r = SQLGetData(stmt_, columna, SQL_C_BINARY, trozo, sizeof trozo, &indicador);
            if (r == SQL_NO_DATA)
                break;
            if (!SQL_SUCCEEDED(r))
                return false;
            if (indicador == SQL_NULL_DATA) {
                valor = QVariant(QMetaType::fromType<QByteArray>());
                return true;
            }
            const bool cortado = r == SQL_SUCCESS_WITH_INFO
                                 && (indicador == SQL_NO_TOTAL || indicador > SQLLEN(sizeof trozo));
            datos.append(trozo, cortado ? qsizetype(sizeof trozo) : qsizetype(indicador));
            if (!cortado)
                break;
        }
        valor = datos;
        return true;
    }

    bool leer(SQLUSMALLINT columna, QMetaType tipo, QVariant& valor)
    {
        switch (tipo.id()) {
        case QMetaType::Int:
            return fijo<qint32>(columna, SQL_C_SLONG, tipo, valor);
        case QMetaType::UInt:
            return fijo<quint32>(columna, SQL_C_ULONG, tipo, valor);
        case QMetaType::LongLong:
            return fijo<qint64>(columna, SQL_C_SBIGINT, tipo, valor);
        case QMetaType::ULongLong:
            return fijo<quint64>(columna, SQL_C_UBIGINT, tipo, valor);
        case QMetaType::Double:
            if (texto_doble_) // the exact digits, as the Qt driver gives them then
                return texto(columna, valor, tipo);
            return fijo<double>(columna, SQL_C_DOUBLE, tipo, valor);
        case QMetaType::QString:
            return texto(columna, valor, tipo);
        case QMetaType::QByteArray:
            return binario(columna, valor);
        default:
            // Dates and the rest: their text, converted as the Qt driver would.
            if (!texto(columna, valor, tipo))
                return false;
            if (!valor.isNull())
                valor.convert(tipo);
            return true;
        }
    }

    SQLHSTMT stmt_;
    bool texto_doble_;
    std::vector<QMetaType> tipos_;
    std::vector<QVariant> fila_;
    SQLWCHAR buffer_[512];
};

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

    void leer_nombres(const QSqlRecord& registro)
    {
        nombres.clear();
        indices.clear();
        for (int i = 0; i < registro.count(); ++i) {
            nombres << registro.fieldName(i);
            // The first of two equal names wins, as field lookup by name does.
            if (!indices.contains(registro.fieldName(i)))
                indices.insert(registro.fieldName(i), i);
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

QStringList Resultado::campos() const
{
    return d->nombres;
}

// ---------------------------------------------------------------------------

struct ConexionBD::Impl {
    bool abierta = false;
    Dialecto dialecto = Dialecto::SqlServer;
    QString dbms;
    QString clave;
    std::function<void(const QString&)> observador;
    QStringList sesion; // commands to run again on a new connection
    QString cadena;     // the data source it was opened with
    bool en_transaccion = false;
    bool comprobada = false;         // seen alive during this press
    std::unique_ptr<QObject> testigo; // told when the press is over

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
    QHash<QString, std::vector<std::pair<QString, QList<int>>>> cuerpos; // SQLite procedures
    bool cuerpos_cargados = false;

    QSqlDatabase db() const { return QSqlDatabase::database(kNombreConexion, false); }

    [[noreturn]] void lanzar(const QSqlQuery* consulta, const QSqlError& error,
                             const QString& contexto = {}) const
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
        if (!contexto.isEmpty())
            texto = contexto + QStringLiteral(": ") + texto;
        if (abierta) {
            switch (clasificar_error(dialecto, final_.estado, final_.nativo)) {
            case ClaseError::Bloqueo:
                // Nothing was stored and trying again later may work: the
                // user is told so and goes on.
                throw RechazoDatos(final_.numero, kBaseOcupada, final_.estado);
            case ClaseError::Rechazo:
                throw RechazoDatos(final_.numero, texto, final_.estado);
            case ClaseError::SinProcedimiento:
            case ClaseError::Otra:
                break;
            }
        }
        throw ErrorBaseDatos(final_.numero, texto, final_.estado);
    }

    QSqlQuery preparar(const QString& sql, const QStringList& argumentos) const
    {
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

    // The next row, telling a failed fetch from the end of the rows.
    bool siguiente(LectorOdbc& lector, const QSqlQuery& q) const
    {
        switch (lector.siguiente()) {
        case LectorOdbc::Paso::Fila:
            return true;
        case LectorOdbc::Paso::Fin:
            return false;
        case LectorOdbc::Paso::Fallo:
            break;
        }
        lanzar(&q, error_lectura());
    }

    static QSqlError error_lectura()
    {
        return QSqlError(QStringLiteral("No se pudieron leer las filas del resultado"), QString(),
                         QSqlError::StatementError);
    }

    QSqlQuery directo(const QString& sql) const
    {
        QSqlQuery q(db());
        q.setForwardOnly(true);
        if (!q.exec(sql))
            lanzar(&q, q.lastError());
        return q;
    }

    Resultado en_vivo(QSqlQuery q) const
    {
        auto r = std::make_unique<Resultado::Impl>();
        if (q.isSelect()) {
            r->leer_nombres(q.record());
            r->fallo = [this](const QSqlQuery& fallida) { lanzar(&fallida, error_lectura()); };
            r->consulta.emplace(std::move(q));
            r->lector.emplace(*r->consulta);
            r->hay_fila = siguiente(*r->lector, *r->consulta);
        }
        return Resultado(std::move(r));
    }

    // Every procedure body at once, so that a store transaction never has to
    // read one: a read would take a shared lock that then has to grow into a
    // write lock while another writer waits (SQLite's upgrade deadlock).
    void cargar_cuerpos()
    {
        if (cuerpos_cargados)
            return;
        QSqlQuery q = directo(QStringLiteral("SELECT nombre, sentencia, parametros FROM procedimientos "
                                             "ORDER BY nombre, paso"));
        QHash<QString, std::vector<std::pair<QString, QList<int>>>> todos;
        while (q.next()) {
            QList<int> parametros;
            const QStringList partes = q.value(2).toString().split(u',', Qt::SkipEmptyParts);
            for (const QString& p : partes)
                parametros << p.trimmed().toInt();
            todos[q.value(0).toString()].emplace_back(q.value(1).toString(), parametros);
        }
        for (auto it = todos.begin(); it != todos.end(); ++it)
            if (!cuerpos.contains(it.key()))
                cuerpos.insert(it.key(), std::move(it.value()));
        cuerpos_cargados = true;
    }

    const std::vector<std::pair<QString, QList<int>>>& cuerpo(const QString& nombre)
    {
        auto it = cuerpos.constFind(nombre);
        if (it != cuerpos.constEnd())
            return *it;
        QSqlQuery q = preparar(QStringLiteral("SELECT sentencia, parametros FROM procedimientos "
                                              "WHERE nombre = ? ORDER BY paso"),
                               {nombre});
        std::vector<std::pair<QString, QList<int>>> pasos;
        LectorOdbc lector(q);
        while (siguiente(lector, q)) {
            QList<int> parametros;
            const QStringList partes =
                lector.valor(1).toString().split(u',', Qt::SkipEmptyParts);
            for (const QString& p : partes)
                parametros << p.trimmed().toInt();
            pasos.emplace_back(lector.valor(0).toString(), parametros);
        }
        if (pasos.empty()) {
            throw ErrorBaseDatos(QString::number(kErrorSinProcedimiento),
                                 QStringLiteral("No existe el procedimiento \"%1\"").arg(nombre));
        }
        return *cuerpos.insert(nombre, std::move(pasos));
    }

    Resultado ejecutar_sqlite(const LlamadaExec& llamada)
    {
        const auto& pasos = cuerpo(llamada.nombre);
        auto argumentos_de = [&](const QList<int>& indices) {
            QStringList valores;
            for (int i : indices)
                valores << (i >= 1 && i <= llamada.argumentos.size() ? llamada.argumentos[i - 1]
                                                                     : QString());
            return valores;
        };
        if (pasos.size() == 1)
            return en_vivo(preparar(pasos.front().first, argumentos_de(pasos.front().second)));

        // Several statements: all of them land or none.
        directo(QStringLiteral("SAVEPOINT procedimiento"));
        try {
            auto r = std::make_unique<Resultado::Impl>();
            r->en_memoria = true;
            for (const auto& [sentencia, indices] : pasos) {
                QSqlQuery q = preparar(sentencia, argumentos_de(indices));
                if (!q.isSelect())
                    continue;
                r->leer_nombres(q.record());
                r->filas.clear();
                LectorOdbc lector(q);
                while (siguiente(lector, q)) {
                    QVariantList fila;
                    fila.reserve(r->nombres.size());
                    for (int i = 0; i < r->nombres.size(); ++i)
                        fila << lector.valor(i);
                    r->filas.push_back(std::move(fila));
                }
            }
            directo(QStringLiteral("RELEASE procedimiento"));
            r->hay_fila = !r->filas.empty();
            return Resultado(std::move(r));
        } catch (const ErrorBaseDatos&) {
            QSqlQuery q(db());
            q.exec(QStringLiteral("ROLLBACK TO procedimiento"));
            q.exec(QStringLiteral("RELEASE procedimiento"));
            throw;
        }
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
        db.setDatabaseName(con_espera_corta(origen.cadena));
        if (!db.open(QString(), QString())) {
            const QSqlError error = db.lastError();
            try {
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
    d->cadena = cadena_conexion;
    d->en_transaccion = false;
    d->marcar_comprobada();
}

void ConexionBD::cerrar()
{
    d->cuerpos.clear();
    d->sesion.clear();
    d->cuerpos_cargados = false;
    if (!d->abierta && !QSqlDatabase::contains(kNombreConexion))
        return;
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
    if (d->dialecto == Dialecto::SqlServer)
        return d->en_vivo(d->directo(comando));

    const std::optional<LlamadaExec> llamada = analizar_exec(comando);
    if (!llamada && d->dialecto == Dialecto::SQLite
        && comando.contains(QStringLiteral("procedimientos"), Qt::CaseInsensitive)) {
        // Whoever changes the procedures' table gets them read afresh.
        d->cuerpos.clear();
        d->cuerpos_cargados = false;
    }
    if (!llamada) {
        if (d->dialecto == Dialecto::PostgreSQL) {
            static const QRegularExpression corchetes(QStringLiteral("\\[([^\\]]*)\\]"));
            QString sql = comando;
            sql.replace(corchetes, QStringLiteral("\"\\1\""));
            return d->en_vivo(d->directo(sql));
        }
        return d->en_vivo(d->directo(comando));
    }
    if (d->dialecto == Dialecto::SQLite)
        return d->ejecutar_sqlite(*llamada);

    QString nombre = llamada->nombre;
    nombre.replace(u'"', QStringLiteral("\"\""));
    QStringList marcas;
    for (qsizetype i = 0; i < llamada->argumentos.size(); ++i)
        marcas << QStringLiteral("?");
    const QString sql = QStringLiteral("SELECT * FROM \"%1\"(%2)").arg(nombre, marcas.join(u','));
    return d->en_vivo(d->preparar(sql, llamada->argumentos));
}

// A connection lost while the program was idle (a server restart, a network
// drop) is made anew with the same data source before a press runs
// anything, its session set up again. Once the press has begun, or inside
// a transaction, a lost connection stays the failure it is. A SQLite file
// has no connection to lose.
void ConexionBD::asegurar_conexion()
{
    if (!d->abierta || d->comprobada || d->en_transaccion || d->dialecto == Dialecto::SQLite)
        return;
    try {
        d->directo(QStringLiteral("SELECT 1"));
    } catch (const ErrorBaseDatos&) {
        const QStringList sesion = d->sesion;
        abrir(d->cadena); // a server that is not back is the failure to show
        for (const QString& comando : sesion)
            fijar_sesion(comando);
        return;
    }
    d->marcar_comprobada();
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
    if (d->dialecto == Dialecto::SQLite) {
        d->cargar_cuerpos();
        // A writer from the start: the write lock is taken (or waited for)
        // before anything is read, so two saves queue instead of deadlocking.
        d->directo(QStringLiteral("BEGIN IMMEDIATE"));
        d->en_transaccion = true;
        return;
    }
    QSqlDatabase db = d->db();
    if (!db.transaction())
        d->lanzar(nullptr, db.lastError());
    d->en_transaccion = true;
}

void ConexionBD::confirmar()
{
    if (d->dialecto == Dialecto::SQLite) {
        d->directo(QStringLiteral("COMMIT"));
        d->en_transaccion = false;
        return;
    }
    QSqlDatabase db = d->db();
    if (!db.commit())
        d->lanzar(nullptr, db.lastError());
    d->en_transaccion = false;
}

void ConexionBD::deshacer()
{
    d->en_transaccion = false;
    if (d->dialecto == Dialecto::SQLite) {
        QSqlQuery q(d->db());
        q.exec(QStringLiteral("ROLLBACK"));
        return;
    }
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
