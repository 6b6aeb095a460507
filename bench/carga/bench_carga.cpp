// SPDX-License-Identifier: GPL-3.0-or-later
// bench_carga: many users at once on one database, while the server
// restarts (PostgreSQL) or another program holds the write lock (SQLite);
// afterwards it checks from the database alone that nothing was lost.
//
//   scripts/con_postgres.sh bench_carga [--motor postgresql|sqlite|ambos]
//        [--clientes 1,5,20,50] [--segundos 60] [--pausa ms] [--datos carpeta] [--corto]
//
// Each client is a process of its own (this program again, with --cliente)
// with the program's own connection and limits, pressing what the screens
// press with the same command texts and checks: "Ver" on both reports, the
// trend tables, the export listing, a year fetched and saved as Modificar
// does (re-read under lock, refused when someone changed it), the KPI save
// and Nuevo registro. Every value a save writes is unique, so the checks can
// tell whose it is:
//   - no lost update: every save reported stored is recorded, and a save
//     stored from a fetch found, in every cell it wrote, the values its
//     client had fetched (a save whose fetched values were no longer current
//     must have been refused): the history rows of its transaction start from
//     what the client fetched;
//   - the history is a complete ledger: replaying it over a snapshot taken at
//     the start gives the final state, bit for bit;
//   - a refused or interrupted save stored nothing;
//   - no statement and no block of rows took longer than the statement
//     limit (30 s); whole presses, which may run several, are reported apart;
//   - every press either went through or was a refusal a user may meet here
//     (another user changed the data, the database was busy, the server
//     restarted): a database error, or valid data refused, is a violation;
//   - some saves went through.
// It prints per press kind the count, refusals, errors and p50/p95/p99 of
// the time a press took, and the throughput.
//
// --corto: the quick run that ./test.sh runs on each engine (10k records, a
// few clients, a few seconds; the server restarts twice all the same). An
// engine asked for that is not there (no server) fails the run.

#include "medir.h"
#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"
#include "data/textos.h"
#include "entry/cambios_ajenos.h"
#include "reglas/campos.h"
#include "reglas/codigos.h"
#include "reports/reporte_estado.h"
#include "trend/tablas_tendencia.h"
#include "ui/grid/grilla.h"
#include "ui/grid/modelo_grilla.h"
#include "ui/mensajes.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <vector>

using namespace velmora;
using medir::fallar;

namespace {

// ---------------------------------------------------------------------------
// The client: presses until its time is up, one line per press in its log.

const QString kGuardado = QStringLiteral("Datos Guardados Exitosamente");

struct Catalogo {
    QStringList principales;  // principal indicators, as the lists hold them
    QStringList perspectivas;
    QStringList departamentos;
    QStringList anios;        // the last years, where the values are
};

QStringList lista(const QString& comando, const QString& campo)
{
    QStringList textos;
    for (Resultado r = Conexion().ejecutar(comando); !r.eof(); r.siguiente())
        textos << r.texto(campo);
    return textos;
}

// The longest a statement or a block of rows kept the client waiting in
// the press under way: the time from one command text to the next (or to the
// press's end), and in a listing each move to the next row on its own (a
// block of rows is fetched there).
class Pasos final {
public:
    void empezar_pulsacion()
    {
        mas_largo_ = 0;
        reloj_.start();
    }
    void nueva_sentencia() { cerrar(); }
    // Closes the step under way; the next starts now.
    void cerrar()
    {
        if (reloj_.isValid())
            mas_largo_ = std::max(mas_largo_, medir::ms(reloj_));
        reloj_.start();
    }
    double mas_largo() const { return mas_largo_; }

private:
    QElapsedTimer reloj_;
    double mas_largo_ = 0;
};

Pasos& pasos()
{
    static Pasos p;
    return p;
}

// Every field of every row as a cell shows it: what a listing or table does
// with a result.
qint64 recorrer(const QString& comando)
{
    qint64 celdas = 0;
    Resultado r = Conexion().ejecutar(comando);
    pasos().cerrar();
    const int campos = int(r.campos().size());
    while (!r.eof()) {
        for (int c = 0; c < campos; ++c)
            celdas += r.texto(c).size() > 0 ? 1 : 0;
        r.siguiente();
        pasos().cerrar();
    }
    return celdas;
}

// The fetched numbers of a save: "<month>:<field>=<bits>" (an empty bit
// pattern for Null), the fields named as the history names them.
QString leido(int mes, const QString& campo, const QString& texto)
{
    const std::optional<double> n = texto.trimmed().isEmpty() ? std::nullopt : a_numero(texto);
    if (!texto.trimmed().isEmpty() && !n)
        medir::fallar(QStringLiteral("fetched a number that does not read: ") + texto);
    return QStringLiteral("%1:%2=%3").arg(mes).arg(campo, n ? QString::number(std::bit_cast<quint64>(*n), 16) : QString());
}

// The key of a record in the checks: indicator, department, year, month.
QString clave(const QString& indicador, int departamento, const QString& anio, int mes)
{
    return QStringLiteral("%1|%2|%3|%4").arg(indicador.trimmed()).arg(departamento).arg(anio.trimmed()).arg(mes);
}

class Cliente final {
public:
    Cliente(int numero, int ronda, QFile& registro, int pausa_ms)
        : numero_(numero), ronda_(ronda), salida_(registro), pausa_ms_(pausa_ms),
          azar_(quint32(numero * 7919 + ronda * 104729 + 17))
    {
        Conexion().observar([](const QString&) { pasos().nueva_sentencia(); });
    }

    void cargar_catalogo()
    {
        cat_.principales = lista(comando_exec(QStringLiteral("Principales_o_Departametnales"), {QStringLiteral("1")}),
                                 CAMPO_INDICADOR);
        cat_.perspectivas = lista(comando_consulta(QStringLiteral("Perspectivas")), QStringLiteral("perspectiva"));
        cat_.departamentos = lista(comando_consulta(QStringLiteral("Departamentos")), QStringLiteral("Departamento"));
        const QStringList anios = lista(comando_consulta(QStringLiteral("Año")), CAMPO_ANIO);
        cat_.anios = anios.mid(qMax(0, int(anios.size()) - 3));
        if (cat_.principales.isEmpty() || cat_.perspectivas.isEmpty() || cat_.departamentos.isEmpty()
            || cat_.anios.isEmpty())
            fallar(QStringLiteral("empty catalogue"));
        // The few indicators everybody saves: saves meet on them.
        calientes_ = cat_.principales.mid(0, 8);
    }

    void correr(qint64 hasta_ms)
    {
        while (QDateTime::currentMSecsSinceEpoch() < hasta_ms) {
            pulsar_una();
            // Back to the event loop, as after every press of the program.
            QCoreApplication::processEvents();
            if (pausa_ms_ > 0)
                QThread::msleep(pausa_ms_ / 2 + azar_.bounded(pausa_ms_ + 1));
        }
    }

private:
    // Rechazo: a refusal a user may meet here (changed by another user, busy,
    // a restart). Inesperado: the database refused valid data.
    enum class Res { Ok, Rechazo, Error, Incierto, Inesperado };

    const QString& uno(const QStringList& l) { return l.at(int(azar_.bounded(quint32(l.size())))); }
    int mes() { return int(azar_.bounded(12u)) + 1; }
    QString valor_unico() { return QString::number(1000000000LL + ronda_ * 10000000LL + numero_ * 100000LL + ++serie_); }

    void pulsar_una()
    {
        const quint32 dado = azar_.bounded(100u);
        if (dado < 20)
            medir(QStringLiteral("Ver principal"), [this] { return ver(forma_principal(), uno(cat_.perspectivas)); });
        else if (dado < 40)
            medir(QStringLiteral("Ver departamental"), [this] { return ver(forma_departamental(), uno(cat_.departamentos)); });
        else if (dado < 55)
            medir(QStringLiteral("Tendencia"), [this] { return tendencia(); });
        else if (dado < 73)
            modificar();
        else if (dado < 88)
            kpi();
        else if (dado < 98)
            nuevo_registro();
        else
            medir(QStringLiteral("Exportar (Llenar)"), [] {
                recorrer(comando_exec(QStringLiteral("Exportar")));
                return QString();
            });
    }

    // Runs one press and writes its line: kind, milliseconds, result, message.
    template <typename Paso>
    Res medir(const QString& tipo, Paso&& paso)
    {
        QString texto;
        Res res = Res::Ok;
        QElapsedTimer reloj;
        reloj.start();
        pasos().empezar_pulsacion();
        try {
            texto = paso();
            if (!texto.isEmpty() && texto != kGuardado)
                res = Res::Rechazo;
        } catch (const RechazoDatos& e) {
            texto = e.texto();
            // The commit may have landed: neither stored nor refused.
            res = e.numero() == kErrorConfirmacionIncierta ? Res::Incierto
                : e.por_los_datos()                        ? Res::Inesperado
                                                           : Res::Rechazo;
        } catch (const ErrorBaseDatos& e) {
            texto = e.mensaje();
            res = Res::Error;
        }
        pasos().cerrar();
        const double ms = medir::ms(reloj);
        static const char* const nombres[] = {"ok", "rechazo", "error", "incierto", "inesperado"};
        texto.replace(u'\t', u' ').replace(u'\n', u' ');
        linea(QStringLiteral("P\t%1\t%2\t%3\t%4\t%5")
                  .arg(tipo)
                  .arg(ms, 0, 'f', 3)
                  .arg(pasos().mas_largo(), 0, 'f', 3)
                  .arg(QLatin1String(nombres[int(res)]), texto));
        return res;
    }

    void linea(const QString& texto)
    {
        salida_.write((texto + u'\n').toUtf8());
        salida_.flush();
    }

    // A save's one changed cell, with what became of it and the numbers its
    // client had fetched (none for Nuevo registro, which saves without a fetch).
    void guardado(Res res, const QString& celda, const QString& valor, const QStringList& leidos = {})
    {
        static const char* const nombres[] = {"ok", "fallo", "fallo", "incierto", "fallo"};
        linea(QStringLiteral("G\t%1\t%2\t%3\t%4").arg(QLatin1String(nombres[int(res)]), celda, valor, leidos.join(u',')));
    }

    // On SQLite, where the history's batch is one store call, each save
    // names itself as an account of its own: the check finds the rows of
    // one save by it (PostgreSQL's batch is the transaction).
    void nombrar_guardado()
    {
        if (Conexion().dialecto() == Dialecto::SQLite)
            Conexion().fijar_sesion(comando_exec(QStringLiteral("Sesion_programa"),
                                                 {QStringLiteral("Administrador"),
                                                  QStringLiteral("carga%1_%2").arg(numero_).arg(++guardados_)}));
    }

    QString ver(const FormaReporte& forma, const QString& lista_elegida)
    {
        if (!estado_) {
            estado_ = std::make_unique<Grilla>();
            trabajo_ = std::make_unique<ModeloGrilla>();
            preparar_grillas(*estado_, *trabajo_, forma, mostrado_);
        }
        // Each press shapes the grids for its own report, as each window has its own.
        preparar_grillas(*estado_, *trabajo_, forma, mostrado_);
        ver_reporte(forma, lista_elegida, uno(cat_.anios), nombres_meses().at(mes() - 1), *estado_->modelo(),
                    *trabajo_, mostrado_);
        return {};
    }

    QString tendencia()
    {
        ConsultaTendencia c{TIPO_PRINCIPAL, uno(cat_.principales), uno(cat_.anios), QString()};
        recorrer(comando_ten_des(c, c.anio));
        if (const std::optional<QString> anterior = anio_anterior(c.anio))
            recorrer(comando_ten_des(c, *anterior));
        return {};
    }

    // Modificar: "Aceptar" fetches the year, "Guardar" writes all twelve
    // months back after reading them again under lock.
    void modificar()
    {
        const QString indicador = uno(calientes_);
        const QString anio = uno(cat_.anios);
        QList<RegistroLeido> leidos;
        const Res consulta = medir(QStringLiteral("Modificar: consultar"), [&]() -> QString {
            leidos.clear();
            Resultado r = Conexion().ejecutar(comando_exec(QStringLiteral("Consulta_modificar"), {indicador, anio}));
            for (int m = 1; m <= 12 && !r.eof(); ++m, r.siguiente())
                leidos.append({nombres_meses().at(m - 1), r.texto(CAMPO_ID1), r.texto(CAMPO_VALOR), r.texto(CAMPO_META),
                               r.texto(CAMPO_NIVEL_BASE), indicador, anio});
            return {};
        });
        if (consulta != Res::Ok || leidos.size() != 12)
            return;
        // A user reads before typing.
        QCoreApplication::processEvents();
        if (pausa_ms_ > 0)
            QThread::msleep(azar_.bounded(pausa_ms_ + 1));
        const int m = mes();
        const QString nuevo = valor_unico();
        const Res res = medir(QStringLiteral("Modificar: guardar"), [&]() -> QString {
            Transaccion transaccion(Conexion());
            nombrar_guardado();
            const QString cambios = cambios_ajenos(leidos, QStringLiteral("Aceptar"));
            if (!cambios.isEmpty())
                return cambios;
            for (int i = 1; i <= 12; ++i) {
                const RegistroLeido& l = leidos.at(i - 1);
                Conexion().ejecutar(comando_modificar(l.base, i == m ? nuevo : l.valor, l.meta, l.id));
            }
            transaccion.confirmar();
            return kGuardado;
        });
        QStringList numeros;
        for (int i = 1; i <= 12; ++i) {
            const RegistroLeido& l = leidos.at(i - 1);
            numeros << leido(i, QStringLiteral("Valor"), l.valor) << leido(i, QStringLiteral("Meta"), l.meta)
                    << leido(i, QStringLiteral("Linea Base"), l.base);
        }
        guardado(res, clave(indicador, 0, anio, m), nuevo, numeros);
    }

    // KPI: one month fetched, then saved with the same check.
    void kpi()
    {
        const QString indicador = uno(calientes_);
        const QString anio = uno(cat_.anios);
        const int m = mes();
        const QString nombre_mes = nombres_meses().at(m - 1);
        const CamposKPI& campos = campos_kpi(false);
        RegistroLeido registro;
        const Res consulta = medir(QStringLiteral("KPI: consultar"), [&]() -> QString {
            registro = {};
            Resultado r = Conexion().ejecutar(comando_exec(QStringLiteral("Consulta_KPI"), {indicador, nombre_mes, anio}));
            if (!r.eof())
                registro = {nombre_mes, r.texto(campos.id), r.texto(campos.columnas[3]), r.texto(campos.columnas[4]),
                         r.texto(campos.columnas[2]), indicador, anio};
            return {};
        });
        if (consulta != Res::Ok || registro.id.isEmpty())
            return;
        const QString nuevo = valor_unico();
        const QString base = registro.base.isEmpty() ? QStringLiteral("1") : registro.base;
        const QString meta = registro.meta.isEmpty() ? QStringLiteral("2") : registro.meta;
        const Res res = medir(QStringLiteral("KPI: guardar"), [&]() -> QString {
            Transaccion transaccion(Conexion());
            nombrar_guardado();
            const QString cambios = cambios_ajenos({registro}, QStringLiteral("Consultar"));
            if (!cambios.isEmpty())
                return cambios;
            Conexion().ejecutar(comando_modificar(base, nuevo, meta, registro.id));
            transaccion.confirmar();
            return kGuardado;
        });
        guardado(res, clave(indicador, 0, anio, m), nuevo,
                 {leido(m, QStringLiteral("Valor"), registro.valor), leido(m, QStringLiteral("Meta"), registro.meta),
                  leido(m, QStringLiteral("Linea Base"), registro.base)});
    }

    // Nuevo registro: one month's three numbers and the indicator's codes,
    // written without a fetch.
    void nuevo_registro()
    {
        const QString indicador = uno(calientes_);
        const QString anio = uno(cat_.anios);
        const int m = mes();
        const QString nuevo = valor_unico();
        const Res res = medir(QStringLiteral("Nuevo registro"), [&]() -> QString {
            nombrar_guardado();
            Conexion().ejecutar(comando_exec(QStringLiteral("Nuevo_registro"),
                                             // The year as its list holds it: 15 characters.
                                             {QString::number(codigo_anio(anio.leftJustified(15))),
                                              nombres_meses().at(m - 1), indicador,
                                              QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                                              QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("20"), nuevo}));
            return kGuardado;
        });
        guardado(res, clave(indicador, 0, anio, m), nuevo);
    }

    int numero_;
    int ronda_;
    QFile& salida_;
    int pausa_ms_;
    QRandomGenerator azar_;
    qint64 serie_ = 0;
    int guardados_ = 0;
    Catalogo cat_;
    QStringList calientes_;
    std::unique_ptr<Grilla> estado_;
    std::unique_ptr<ModeloGrilla> trabajo_;
    ReporteMostrado mostrado_;
};

int correr_cliente(const QStringList& a)
{
    // The driver's own warnings of each refused statement say nothing the
    // log does not.
    qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
        if (tipo != QtWarningMsg && tipo != QtDebugMsg && tipo != QtInfoMsg)
            std::fprintf(stderr, "%s\n", qPrintable(texto));
    });
    // --cliente <n> <ronda> <dsn> <registro> <hasta_ms> <pausa_ms>
    if (a.size() != 7)
        fallar(QStringLiteral("bad client arguments"));
    establecer_mensajero([](const QString&, const QString&, IconoMensaje) {});
    QFile registro(a[4]);
    if (!registro.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fallar(QStringLiteral("cannot write ") + a[4]);
    Cliente cliente(a[1].toInt(), a[2].toInt(), registro, a[6].toInt());
    for (int intento = 0;; ++intento) {
        try {
            Conexion().abrir(QStringLiteral("FILEDSN=") + a[3]);
            Conexion().fijar_sesion(comando_exec(QStringLiteral("Sesion_programa"),
                                                 {QStringLiteral("Administrador"), QStringLiteral("carga%1").arg(a[1])}));
            cliente.cargar_catalogo();
            break;
        } catch (const ErrorBaseDatos& e) {
            // Started while the server restarts, or the file is locked: again.
            if (intento > 100)
                fallar(e.mensaje());
            Conexion().cerrar();
            QThread::msleep(200);
        }
    }
    cliente.correr(a[5].toLongLong());
    Conexion().cerrar();
    return 0;
}

// ---------------------------------------------------------------------------
// The run: the database, the clients, the faults, the checks.

struct Celda {
    std::optional<double> valor, meta, base;
};

// A number as stored, bit for bit.
bool igual(const std::optional<double>& a, const std::optional<double>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || std::memcmp(&*a, &*b, sizeof(double)) == 0;
}

std::optional<double> numero(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return std::nullopt;
    return v.toDouble();
}

// Record key → its three numbers; indicator|field → its code.
struct Estado {
    std::map<QString, Celda> registros;
    std::map<QString, std::optional<double>> indicadores;
    qint64 ultimo_historial = 0;
};

const QStringList kCamposIndicador = {QStringLiteral("Tipo Indicador"), QStringLiteral("Perspectiva"),
                                      QStringLiteral("Desempeño"), QStringLiteral("Unidad")};

Estado leer_estado()
{
    Estado e;
    // SQLite's driver reads a REAL with 15 digits: its exact columns, as the screens read.
    const bool sqlite = Conexion().dialecto() == Dialecto::SQLite;
    Resultado r = Conexion().ejecutar(
        QStringLiteral("SELECT i.nombre AS n, r.id_departamento AS d, y.año AS y, r.mes AS m, %1 "
                       "FROM registro r JOIN indicador i ON i.id = r.id_indicador JOIN año y ON y.id = r.id_anio")
            .arg(sqlite ? QStringLiteral("r.valor_exacto AS v, r.meta_exacta AS t, r.linea_base_exacta AS b")
                        : QStringLiteral("r.valor AS v, r.meta AS t, r.linea_base AS b")));
    for (; !r.eof(); r.siguiente()) {
        const QString k = clave(r.campo(0).toString(), r.campo(1).toInt(), r.campo(2).toString(), r.campo(3).toInt());
        e.registros[k] = {numero(r.campo(4)), numero(r.campo(5)), numero(r.campo(6))};
    }
    Resultado i = Conexion().ejecutar(QStringLiteral(
        "SELECT nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad FROM indicador"));
    for (; !i.eof(); i.siguiente())
        for (int c = 0; c < 4; ++c)
            e.indicadores[i.campo(0).toString().trimmed() + u'|' + kCamposIndicador[c]] = numero(i.campo(c + 1));
    Resultado h = Conexion().ejecutar(QStringLiteral("SELECT coalesce(max(id), 0) AS m FROM historial"));
    e.ultimo_historial = h.campo(0).toLongLong();
    return e;
}

struct FilaHistorial {
    qint64 id;
    QString indicador;
    int departamento;
    QString anio;
    int mes; // 0: a field of the indicator
    QString campo;
    std::optional<double> antes, despues;
    QString lote; // the rows of one save share it
};

std::vector<FilaHistorial> historial_desde(qint64 id)
{
    std::vector<FilaHistorial> filas;
    const bool sqlite = Conexion().dialecto() == Dialecto::SQLite;
    // A save's transaction: PostgreSQL's batch; on SQLite the account each
    // save names itself with.
    Resultado r = Conexion().ejecutar(
        QStringLiteral("SELECT id, indicador, id_departamento, anio, mes, campo, %1, %2 AS lote FROM historial "
                       "WHERE id > %3 ORDER BY id")
            .arg(sqlite ? QStringLiteral("antes_exacto, despues_exacto") : QStringLiteral("antes, despues"),
                 sqlite ? QStringLiteral("usuario_bd") : QStringLiteral("CAST(lote AS text)"))
            .arg(id));
    for (; !r.eof(); r.siguiente())
        filas.push_back({r.campo(0).toLongLong(), r.campo(1).toString().trimmed(), r.campo(2).toInt(),
                         r.campo(3).toString(), r.campo(4).isNull() ? 0 : r.campo(4).toInt(), r.campo(5).toString(),
                         numero(r.campo(6)), numero(r.campo(7)), r.campo(8).toString()});
    return filas;
}

std::optional<double>* celda_de(Celda& c, const QString& campo)
{
    if (campo == QStringLiteral("Valor"))
        return &c.valor;
    if (campo == QStringLiteral("Meta"))
        return &c.meta;
    if (campo == QStringLiteral("Linea Base"))
        return &c.base;
    return nullptr;
}

struct Pulsacion {
    QString tipo;
    double ms;
    double paso_ms; // the longest statement or block of rows in it
    QString res;
    QString texto;
};

struct Guardado {
    QString res, celda;
    double valor;
    // What its client fetched, by "<month>:<field>"; empty for a save
    // without a fetch.
    QHash<QString, std::optional<double>> leidos;
};

struct Resultados {
    QString motor;
    int clientes = 0;
    double segundos = 0;
    std::vector<Pulsacion> pulsaciones;
    std::vector<Guardado> guardados;
    int perdidos = 0, libro = 0, filas_libro = 0, rechazados_guardados = 0, bloqueadas = 0;
    int desactualizados = 0; // stored although what its client fetched was no longer current
    int errores = 0;         // a database error, or valid data refused
    int inciertos = 0, largas = 0, guardados_ok = 0;
    double mas_larga = 0, paso_mas_largo = 0;
    int violaciones() const
    {
        return perdidos + desactualizados + libro + rechazados_guardados + bloqueadas + errores
             + (guardados_ok == 0 ? 1 : 0);
    }
};

double percentil(std::vector<double> v, double p)
{
    if (v.empty())
        return std::nan("");
    std::sort(v.begin(), v.end());
    const size_t i = size_t(std::ceil(p * double(v.size()))) - 1;
    return v[std::min(i, v.size() - 1)];
}

void comprobar(Resultados& res, const Estado& inicio, const LimitesTiempo& limites)
{
    const Estado fin = leer_estado();
    const std::vector<FilaHistorial> historial = historial_desde(inicio.ultimo_historial);
    res.filas_libro = int(historial.size());

    // The ledger: each row starts from what the rows before left, and all of
    // them together lead from the snapshot to the final state.
    Estado repaso = inicio;
    for (const FilaHistorial& h : historial) {
        std::optional<double>* lugar = nullptr;
        if (h.mes == 0) {
            if (!kCamposIndicador.contains(h.campo))
                continue; // departments: none of the presses here change them
            lugar = &repaso.indicadores[h.indicador + u'|' + h.campo];
        } else {
            lugar = celda_de(repaso.registros[clave(h.indicador, h.departamento, h.anio, h.mes)], h.campo);
        }
        if (!lugar)
            continue;
        if (!igual(*lugar, h.antes))
            ++res.libro;
        *lugar = h.despues;
    }
    for (const auto& [k, c] : fin.registros) {
        const auto it = repaso.registros.find(k);
        if (it == repaso.registros.end() || !igual(it->second.valor, c.valor) || !igual(it->second.meta, c.meta)
            || !igual(it->second.base, c.base))
            ++res.libro;
    }
    if (repaso.registros.size() != fin.registros.size())
        ++res.libro;
    for (const auto& [k, v] : fin.indicadores) {
        const auto it = repaso.indicadores.find(k);
        if (it == repaso.indicadores.end() || !igual(it->second, v))
            ++res.libro;
    }

    // Where each value was written (values are unique to one save), and the
    // rows of each save's transaction.
    QHash<QString, const FilaHistorial*> escrito; // celda|valor → its history row
    QMultiHash<QString, const FilaHistorial*> por_lote;
    for (const FilaHistorial& h : historial) {
        por_lote.insert(h.lote, &h);
        if (h.mes != 0 && h.campo == QStringLiteral("Valor") && h.despues)
            escrito.insert(clave(h.indicador, h.departamento, h.anio, h.mes) + u'|' + QString::number(*h.despues, 'f', 0),
                           &h);
    }
    for (const Guardado& g : res.guardados) {
        const QString v = QString::number(g.valor, 'f', 0);
        const auto final_ = fin.registros.find(g.celda);
        const bool en_final = final_ != fin.registros.end() && final_->second.valor && *final_->second.valor == g.valor;
        const FilaHistorial* fila = escrito.value(g.celda + u'|' + v);
        if (g.res == QStringLiteral("fallo")) {
            if (fila || en_final)
                ++res.rechazados_guardados;
            continue;
        }
        if (g.res != QStringLiteral("ok")) {
            ++res.inciertos; // stored or not: checked as a save if it was
            if (!fila)
                continue;
        } else if (!fila) {
            ++res.perdidos; // reported stored, never recorded
            continue;
        }
        ++res.guardados_ok;
        if (g.leidos.isEmpty())
            continue;
        // Each row of its transaction changed a value its client had
        // fetched, from that value: otherwise the save wrote over a change
        // it had not seen.
        const QString registro = g.celda.section(u'|', 0, 2);
        const auto [desde, hasta] = por_lote.equal_range(fila->lote);
        for (auto it = desde; it != hasta; ++it) {
            const FilaHistorial& h = **it;
            const QString celda = QStringLiteral("%1:%2").arg(h.mes).arg(h.campo);
            if (clave(h.indicador, h.departamento, h.anio, 0).section(u'|', 0, 2) != registro
                || !g.leidos.contains(celda) || !igual(g.leidos.value(celda), h.antes)) {
                ++res.desactualizados;
                break;
            }
        }
    }
    for (const Pulsacion& p : res.pulsaciones) {
        res.mas_larga = std::max(res.mas_larga, p.ms);
        res.paso_mas_largo = std::max(res.paso_mas_largo, p.paso_ms);
        // The limits are per statement and per block of rows, not per press.
        if (p.paso_ms > limites.sentencia_s * 1000.0)
            ++res.bloqueadas;
        if (p.ms > limites.sentencia_s * 1000.0)
            ++res.largas;
        if (p.res == QStringLiteral("error") || p.res == QStringLiteral("inesperado"))
            ++res.errores;
    }
}

void leer_registro(const QString& archivo, Resultados& res)
{
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly))
        fallar(QStringLiteral("no client log ") + archivo);
    while (!f.atEnd()) {
        const QStringList c = QString::fromUtf8(f.readLine()).chopped(1).split(u'\t');
        if (c.size() >= 6 && c[0] == QStringLiteral("P")) {
            res.pulsaciones.push_back({c[1], c[2].toDouble(), c[3].toDouble(), c[4], c[5]});
        } else if (c.size() == 5 && c[0] == QStringLiteral("G")) {
            Guardado g{c[1], c[2], c[3].toDouble(), {}};
            for (const QString& l : c[4].split(u',', Qt::SkipEmptyParts)) {
                const QString bits = l.section(u'=', 1);
                g.leidos.insert(l.section(u'=', 0, 0),
                                bits.isEmpty() ? std::nullopt : std::optional<double>(std::bit_cast<double>(bits.toULongLong(nullptr, 16))));
            }
            res.guardados.push_back(std::move(g));
        } else {
            fallar(QStringLiteral("bad line in a client log: ") + c.join(u' '));
        }
    }
}

bool es_informe(const QString& tipo)
{
    return tipo.startsWith(QStringLiteral("Ver "));
}

bool es_guardado(const QString& tipo)
{
    return tipo.endsWith(QStringLiteral("guardar")) || tipo == QStringLiteral("Nuevo registro");
}

void imprimir(const Resultados& r, const QString& fallas)
{
    std::printf("\n%s, %d client%s, %.0f s, %s\n", qPrintable(r.motor), r.clientes, r.clientes == 1 ? "" : "s",
                r.segundos, qPrintable(fallas));
    std::printf("%-22s %7s %7s %8s %6s %9s %9s %9s\n", "press", "count", "ok", "refused", "errors", "p50 ms",
                "p95 ms", "p99 ms");
    std::map<QString, std::vector<const Pulsacion*>> por_tipo;
    for (const Pulsacion& p : r.pulsaciones)
        por_tipo[p.tipo].push_back(&p);
    QHash<QString, int> motivos;
    for (const auto& [tipo, ps] : por_tipo) {
        std::vector<double> ms;
        int ok = 0, rech = 0, err = 0;
        for (const Pulsacion* p : ps) {
            ms.push_back(p->ms);
            if (p->res == QStringLiteral("ok"))
                ++ok;
            else if (p->res == QStringLiteral("error") || p->res == QStringLiteral("inesperado"))
                ++err;
            else
                ++rech;
            // Grouped by what happened, without the months and values.
            if (p->res != QStringLiteral("ok"))
                ++motivos[p->texto.section(u':', 0, 0).section(u'(', 0, 0).left(80).trimmed()];
        }
        std::printf("%-22s %7zu %7d %8d %6d %9.1f %9.1f %9.1f\n", qPrintable(tipo), ps.size(), ok, rech, err,
                    percentil(ms, 0.50), percentil(ms, 0.95), percentil(ms, 0.99));
    }
    std::printf("throughput: %.1f presses/s\n", double(r.pulsaciones.size()) / r.segundos);
    for (auto it = motivos.cbegin(); it != motivos.cend(); ++it)
        std::printf("  %5d x %s\n", it.value(), qPrintable(it.key()));
    std::printf("checks: saves stored %d (of %zu); lost updates %d; saves stored over values their client had not "
                "fetched %d; ledger mismatches %d (%d history rows replayed); refused or interrupted saves that "
                "stored something %d; statements or blocks of rows over the limit %d (longest %.0f ms); database "
                "errors or valid data refused %d; commits of unknown outcome %d\n",
                r.guardados_ok, r.guardados.size(), r.perdidos, r.desactualizados, r.libro, r.filas_libro,
                r.rechazados_guardados, r.bloqueadas, r.paso_mas_largo, r.errores, r.inciertos);
    std::printf("whole presses (several statements or blocks each, not a limit): longest %.0f ms, %d over %d s\n",
                r.mas_larga, r.largas, LimitesTiempo().sentencia_s);
    if (r.guardados_ok == 0)
        std::printf("VIOLATION: no save went through\n");
    std::fflush(stdout);
}

struct Servidor {
    QString conexion; // libpq keywords of the test server, without dbname
    QString pg_ctl;
};

void psql(const Servidor& s, const QString& base, const QString& orden)
{
    medir::ejecutar(QStringLiteral("psql"), {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                                             QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-d"),
                                             s.conexion + QStringLiteral(" dbname=") + base, QStringLiteral("-c"), orden});
}

// The database of the run, made from the generator's set; its data source.
QString preparar_postgres(const Servidor& s, const QString& carpeta, int indicadores, int anios)
{
    std::fprintf(stderr, "loading the PostgreSQL database (%d indicators, %d years)...\n", indicadores, anios);
    psql(s, QStringLiteral("postgres"), QStringLiteral("DROP DATABASE IF EXISTS velmora_carga"));
    psql(s, QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE velmora_carga"));
    const QString datos = QDir(carpeta).filePath(QStringLiteral("datos_pg.sql"));
    medir::ejecutar(QStringLiteral(VELMORA_GENERADOR),
                    {QStringLiteral("--motor"), QStringLiteral("postgresql"), QStringLiteral("--indicadores"),
                     QString::number(indicadores), QStringLiteral("--años"), QString::number(anios)},
                    datos);
    medir::ejecutar(QStringLiteral(VELMORA_CARGAR), {s.conexion + QStringLiteral(" dbname=velmora_carga"), datos});
    QFile::remove(datos);
    QFile entrada(qEnvironmentVariable("VELMORA_PG_DSN"));
    if (!entrada.open(QIODevice::ReadOnly))
        fallar(QStringLiteral("cannot read the server's data source"));
    QString texto = QString::fromUtf8(entrada.readAll());
    texto.replace(QStringLiteral("Database=velmora\n"), QStringLiteral("Database=velmora_carga\n"));
    const QString dsn = QDir(carpeta).filePath(QStringLiteral("carga_pg.dsn"));
    QFile salida(dsn);
    if (!texto.contains(QStringLiteral("Database=velmora_carga")) || !salida.open(QIODevice::WriteOnly))
        fallar(QStringLiteral("cannot write the data source"));
    salida.write(texto.toUtf8());
    return dsn;
}

QString preparar_sqlite(const QString& carpeta, int indicadores, int anios)
{
    const QString base = QDir(carpeta).filePath(QStringLiteral("carga_%1x%2.db").arg(indicadores).arg(anios));
    const QString dsn = QDir(carpeta).filePath(QStringLiteral("carga_%1x%2.dsn").arg(indicadores).arg(anios));
    // A fresh copy each time: the runs write into it.
    QFile::remove(base);
    std::fprintf(stderr, "generating the SQLite database (%d indicators, %d years)...\n", indicadores, anios);
    const QString datos = QDir(carpeta).filePath(QStringLiteral("datos_sqlite.sql"));
    medir::ejecutar(QStringLiteral(VELMORA_GENERADOR),
                    {QStringLiteral("--indicadores"), QString::number(indicadores), QStringLiteral("--años"),
                     QString::number(anios)},
                    datos);
    medir::ejecutar(QStringLiteral(VELMORA_CREAR_BASE), {base, datos});
    QFile::remove(datos);
    medir::ejecutar(QStringLiteral(VELMORA_ESCRIBIR_ORIGEN), {dsn, base});
    return dsn;
}

struct Plan {
    QString motor;
    QString dsn;
    int clientes;
    int segundos;
    int pausa_ms;
    int ronda;
};

Resultados correr(const Plan& plan, const std::optional<Servidor>& servidor, const QString& carpeta)
{
    const LimitesTiempo limites;
    Conexion().abrir(QStringLiteral("FILEDSN=") + plan.dsn);
    const Estado inicio = leer_estado();
    Conexion().cerrar();

    const qint64 comienzo = QDateTime::currentMSecsSinceEpoch() + 1500; // the clients' start-up
    const qint64 hasta = comienzo + plan.segundos * 1000LL;
    std::vector<std::unique_ptr<QProcess>> clientes;
    QStringList registros;
    for (int c = 0; c < plan.clientes; ++c) {
        const QString registro = QDir(carpeta).filePath(QStringLiteral("cliente_%1_%2.log").arg(plan.ronda).arg(c));
        registros << registro;
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--cliente"), QString::number(c), QString::number(plan.ronda), plan.dsn, registro,
                  QString::number(hasta), QString::number(plan.pausa_ms)});
        clientes.push_back(std::move(p));
    }

    // The faults, at a third and two thirds of the run.
    QString fallas;
    for (int f = 1; f <= 2; ++f) {
        const qint64 cuando = comienzo + plan.segundos * 1000LL * f / 3;
        while (QDateTime::currentMSecsSinceEpoch() < cuando)
            QThread::msleep(50);
        if (servidor) {
            QElapsedTimer t;
            t.start();
            medir::ejecutar(servidor->pg_ctl, {QStringLiteral("restart"), QStringLiteral("-m"), QStringLiteral("fast")});
            fallas += QStringLiteral("%1server restart (%2 s)").arg(fallas.isEmpty() ? QString() : QStringLiteral(", ")).arg(medir::ms(t) / 1000, 0, 'f', 1);
        } else {
            // Another program holds the write lock for longer than a press
            // waits for it (a read may wait twice: to prepare and to run):
            // presses meanwhile hear the database is busy.
            const int ms = 2 * limites.bloqueo_ms + 1000;
            Conexion().abrir(QStringLiteral("FILEDSN=") + plan.dsn);
            Conexion().ejecutar(QStringLiteral("BEGIN EXCLUSIVE"));
            QThread::msleep(ms);
            Conexion().ejecutar(QStringLiteral("ROLLBACK"));
            Conexion().cerrar();
            fallas += QStringLiteral("%1write lock held %2 s").arg(fallas.isEmpty() ? QString() : QStringLiteral(", ")).arg(ms / 1000.0, 0, 'f', 1);
        }
    }
    for (auto& p : clientes) {
        if (!p->waitForFinished(plan.segundos * 1000 + 120000) || p->exitCode() != 0)
            fallar(QStringLiteral("a client failed"));
    }

    Resultados res;
    res.motor = plan.motor;
    res.clientes = plan.clientes;
    res.segundos = plan.segundos;
    for (const QString& r : registros) {
        leer_registro(r, res);
        QFile::remove(r);
    }
    Conexion().abrir(QStringLiteral("FILEDSN=") + plan.dsn);
    comprobar(res, inicio, limites);
    Conexion().cerrar();
    imprimir(res, fallas);
    return res;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList a = app.arguments().mid(1);
    if (!a.isEmpty() && a[0] == QStringLiteral("--cliente"))
        return correr_cliente(a);

    QString motor = QStringLiteral("ambos");
    QList<int> lista_clientes;
    int segundos = 60;
    int pausa = 1000;
    bool corto = false;
    QString datos;
    for (int i = 0; i < a.size(); ++i) {
        const QString siguiente = i + 1 < a.size() ? a[i + 1] : QString();
        if (a[i] == QStringLiteral("--corto")) {
            corto = true;
        } else if (a[i] == QStringLiteral("--motor") && !siguiente.isEmpty()) {
            motor = siguiente;
            ++i;
        } else if (a[i] == QStringLiteral("--clientes") && !siguiente.isEmpty()) {
            for (const QString& n : siguiente.split(u','))
                lista_clientes << qMax(1, n.toInt());
            ++i;
        } else if (a[i] == QStringLiteral("--segundos") && !siguiente.isEmpty()) {
            segundos = qMax(3, siguiente.toInt());
            ++i;
        } else if (a[i] == QStringLiteral("--pausa") && !siguiente.isEmpty()) {
            pausa = qMax(0, siguiente.toInt());
            ++i;
        } else if (a[i] == QStringLiteral("--datos") && !siguiente.isEmpty()) {
            datos = siguiente;
            ++i;
        } else {
            fallar(QStringLiteral("usage: scripts/con_postgres.sh bench_carga [--motor postgresql|sqlite|ambos] "
                                  "[--clientes 1,5,20,50] [--segundos 60] [--pausa ms] [--datos carpeta] [--corto]"));
        }
    }
    QTemporaryDir temporal;
    if (datos.isEmpty())
        datos = temporal.path();
    QDir().mkpath(datos);
    // 100k records (1040 indicators, 8 years), or 10k for the quick run.
    const int indicadores = corto ? 104 : 1040;
    const int anios = 8;
    if (corto)
        segundos = 12;

    int violaciones = 0;
    int ronda = 0;
    std::vector<Resultados> todos;
    if (motor == QStringLiteral("postgresql") || motor == QStringLiteral("ambos")) {
        if (qEnvironmentVariableIsEmpty("VELMORA_PG_DSN") || qEnvironmentVariableIsEmpty("VELMORA_PG_CTL")) {
            fallar(QStringLiteral("no PostgreSQL server: run it through scripts/con_postgres.sh "
                                  "(or ask for --motor sqlite)"));
        } else {
            QSettings origen(qEnvironmentVariable("VELMORA_PG_DSN"), QSettings::IniFormat);
            const Servidor s{QStringLiteral("host=%1 port=%2 user=%3")
                                 .arg(origen.value(QStringLiteral("ODBC/Servername")).toString(),
                                      origen.value(QStringLiteral("ODBC/Port")).toString(),
                                      origen.value(QStringLiteral("ODBC/Username")).toString()),
                             qEnvironmentVariable("VELMORA_PG_CTL")};
            const QString dsn = preparar_postgres(s, datos, indicadores, anios);
            const QList<int> ns = !lista_clientes.isEmpty() ? lista_clientes : corto ? QList<int>{4} : QList<int>{20};
            for (const int n : ns) {
                todos.push_back(correr({QStringLiteral("PostgreSQL"), dsn, n, segundos, pausa, ++ronda}, s, datos));
                violaciones += todos.back().violaciones();
            }
            psql(s, QStringLiteral("postgres"), QStringLiteral("DROP DATABASE IF EXISTS velmora_carga"));
        }
    }
    if (motor == QStringLiteral("sqlite") || motor == QStringLiteral("ambos")) {
        const QString dsn = preparar_sqlite(datos, indicadores, anios);
        const QList<int> ns = !lista_clientes.isEmpty() && motor == QStringLiteral("sqlite") ? lista_clientes
                            : corto                                                            ? QList<int>{2}
                                                                                               : QList<int>{4};
        for (const int n : ns) {
            todos.push_back(correr({QStringLiteral("SQLite"), dsn, n, segundos, pausa, ++ronda},
                                   std::nullopt, datos));
            violaciones += todos.back().violaciones();
        }
    }

    // One line per run, as the README's table has it.
    std::printf("\n| engine | clients | presses/s | p95 report press | p95 save | refused | errors | violations |\n"
                "|---|---|---|---|---|---|---|---|\n");
    for (const Resultados& r : todos) {
        std::vector<double> informes, guardados;
        int rech = 0, err = 0;
        for (const Pulsacion& p : r.pulsaciones) {
            if (es_informe(p.tipo))
                informes.push_back(p.ms);
            if (es_guardado(p.tipo))
                guardados.push_back(p.ms);
            rech += p.res == QStringLiteral("rechazo") || p.res == QStringLiteral("incierto");
            err += p.res == QStringLiteral("error") || p.res == QStringLiteral("inesperado");
        }
        std::printf("| %s | %d | %.1f | %.1f ms | %.1f ms | %d | %d | %d |\n", qPrintable(r.motor), r.clientes,
                    double(r.pulsaciones.size()) / r.segundos, percentil(informes, 0.95), percentil(guardados, 0.95),
                    rech, err, r.violaciones());
    }
    std::printf("%d violations\n", violaciones);
    return violaciones == 0 ? 0 : 1;
}
