// SPDX-License-Identifier: GPL-3.0-or-later
// The program against the floors, in one run. For each size (records the
// listing exports) the generator makes a database once, then every round
// runs each way in a process of its own, in turn:
//
//   programa  the real "Exportar" window: "Llenar", then "Exportar"
//   c         the SQLite C API reads every cell as text into memory, then a
//             plain libxlsxwriter loop writes the same cells in constant-memory
//             mode (inline strings, as the program writes)
//   c_tabla   the same, libxlsxwriter's default mode (shared string table)
//   python    python3-xlsxwriter reading with sqlite3 (the peer; skipped when
//             bench/piso/preparar.sh has not installed it)
//   ver       the real "Departamentales" window: "Ver" on the department with
//             most indicators
//   c_ver     the same three report calls through the SQLite C API
//
// Ratios are taken within a round (both sides under the same load) and the
// median over the rounds is printed.
//
//   bench_piso [--tamaños 10k,100k,1M] [--rondas N] [--datos carpeta]
#include "medir.h"
#include "data/conexion.h"
#include "export/exportar.h"
#include "reports/departamentales.h"
#include "ui/grid/grilla.h"
#include "ui/mensajes.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

#include <sqlite3.h>
#include <xlsxwriter.h>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

using namespace velmora;
using namespace medir;

namespace {

// Peak resident size of this process, KiB.
long rss_pico()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

// Resident size now, KiB.
long rss_actual()
{
    long paginas = 0, residentes = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &paginas, &residentes) != 2)
            residentes = 0;
        std::fclose(f);
    }
    return residentes * (sysconf(_SC_PAGESIZE) / 1024);
}

// Bytes the allocator hands out now.
double bytes_en_uso()
{
    malloc_trim(0);
    return double(mallinfo2().uordblks + mallinfo2().hblkhd);
}

struct Tamano {
    QString nombre;
    int indicadores;
    int anios;
};

const std::vector<Tamano>& tamanos()
{
    // The generator's records: about 12 per indicator and year with values.
    static const std::vector<Tamano> t = {
        {QStringLiteral("10k"), 104, 8},
        {QStringLiteral("100k"), 1040, 8},
        {QStringLiteral("1M"), 4000, 21},
    };
    return t;
}

// ---------------------------------------------------------------------------
// The database and its data source, made once per size and kept.

QString preparar_base(const QString& carpeta, const Tamano& t)
{
    const QString base = QDir(carpeta).filePath(QStringLiteral("registros_%1.db").arg(t.nombre));
    const QString dsn = QDir(carpeta).filePath(QStringLiteral("registros_%1.dsn").arg(t.nombre));
    if (!QFileInfo::exists(base)) {
        std::fprintf(stderr, "generating the %s database...\n", qPrintable(t.nombre));
        const QString datos = QDir(carpeta).filePath(QStringLiteral("datos.sql"));
        ejecutar(QStringLiteral(VELMORA_GENERADOR),
                 {QStringLiteral("--indicadores"), QString::number(t.indicadores), QStringLiteral("--años"),
                  QString::number(t.anios)},
                 datos);
        ejecutar(QStringLiteral(VELMORA_CREAR_BASE), {base, datos});
        QFile::remove(datos);
    }
    // The program's own data source, as its set-up writes it.
    ejecutar(QStringLiteral(VELMORA_ESCRIBIR_ORIGEN), {dsn, base});
    return base;
}

// ---------------------------------------------------------------------------
// The ways, each run in a child process; each prints "key=value ..." lines.

void decir(const char* clave, double valor)
{
    std::printf("%s=%.3f\n", clave, valor);
}

QString dsn_de(const QString& base)
{
    QString dsn = base;
    dsn.chop(3);
    return dsn + QStringLiteral(".dsn");
}

QStringList mensajes_recibidos;

void recoger_mensajes()
{
    establecer_mensajero([](const QString& texto, const QString&, IconoMensaje) { mensajes_recibidos << texto; });
}

int caso_programa(const QString& base, const QString& salida)
{
    recoger_mensajes();
    // The window asks before replacing a file; every round writes afresh.
    QFile::remove(salida);
    Conexion().abrir(QStringLiteral("FILEDSN=") + dsn_de(base));
    Exportar ventana;
    ventana.show();
    QCoreApplication::processEvents();
    auto* grilla = ventana.findChild<Grilla*>(QStringLiteral("MSHFlexGrid"));
    const long inactivo = rss_actual();
    const double antes = bytes_en_uso();
    QElapsedTimer t;
    t.start();
    ventana.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    const double llenar = ms(t);
    QCoreApplication::processEvents();
    const double grilla_bytes = bytes_en_uso() - antes;
    const long lleno = rss_actual();

    ventana.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(salida);
    t.restart();
    ventana.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    const double exportar = ms(t);
    // The message names the file written after its fixed opening.
    if (mensajes_recibidos.size() != 1 || !mensajes_recibidos.first().startsWith(QStringLiteral(" Datos exportados ")))
        fallar(QStringLiteral("export failed: ") + mensajes_recibidos.join(u'|'));
    decir("filas", grilla->modelo()->Rows() - 2);
    decir("llenar", llenar);
    decir("exportar", exportar);
    decir("inactivo", double(inactivo));
    decir("lleno", double(lleno));
    decir("grilla", grilla_bytes);
    decir("pico", double(rss_pico()));
    Conexion().cerrar();
    return 0;
}

constexpr int kVecesVer = 9;
const char16_t* const kDepartamento = u"Logística"; // the generator's largest
const char16_t* const kAnio = u"2025";
const char16_t* const kMes = u"Marzo";

int caso_ver(const QString& base)
{
    recoger_mensajes();
    Conexion().abrir(QStringLiteral("FILEDSN=") + dsn_de(base));
    Departamentales ventana;
    ventana.show();
    elegir(ventana.findChild<QComboBox*>(QStringLiteral("Cmb_Departamentos_Reporte")),
           QString::fromUtf16(kDepartamento));
    elegir(ventana.findChild<QComboBox*>(QStringLiteral("Cmb_Año_Reporte")), QString::fromUtf16(kAnio));
    elegir(ventana.findChild<QComboBox*>(QStringLiteral("Cmb_Trimestre_ReporteSocial")), QString::fromUtf16(kMes));
    auto* boton = ventana.findChild<QPushButton*>(QStringLiteral("Button_Cargar_ReporteSocial"));
    std::vector<double> tiempos;
    for (int i = 0; i < kVecesVer; ++i) {
        QElapsedTimer t;
        t.start();
        boton->click();
        tiempos.push_back(ms(t));
    }
    if (!mensajes_recibidos.isEmpty())
        fallar(QStringLiteral("Ver said: ") + mensajes_recibidos.join(u'|'));
    decir("filas", ventana.findChild<Grilla*>(QStringLiteral("Flex31"))->modelo()->Rows() - 1);
    decir("ver", mediana(tiempos));
    Conexion().cerrar();
    return 0;
}

// --- the C floor -----------------------------------------------------------

sqlite3* abrir_sqlite(const QString& base)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(base).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        fallar(QStringLiteral("sqlite3_open ") + base);
    return db;
}

std::string procedimiento(sqlite3* db, const char* nombre, std::string* parametros = nullptr)
{
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT sentencia, parametros FROM procedimientos WHERE nombre = ?", -1, &s, nullptr);
    sqlite3_bind_text(s, 1, nombre, -1, SQLITE_STATIC);
    if (sqlite3_step(s) != SQLITE_ROW)
        fallar(QStringLiteral("no procedure ") + QLatin1String(nombre));
    std::string sql = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    if (parametros)
        *parametros = reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
    sqlite3_finalize(s);
    return sql;
}

struct Celda {
    bool numero = false;
    bool nula = true;
    double valor = 0;
    std::string texto;
};

constexpr int kColumnas = 9;

// Every cell of the listing, read as text (numbers also kept as numbers for
// the writer, as a C program would).
std::vector<Celda> leer_c(sqlite3* db)
{
    const std::string sql = procedimiento(db, "Exportar");
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
        fallar(QStringLiteral("prepare Exportar"));
    std::vector<Celda> celdas;
    int r;
    while ((r = sqlite3_step(s)) == SQLITE_ROW) {
        for (int c = 0; c < kColumnas; ++c) {
            Celda celda;
            const int tipo = sqlite3_column_type(s, c);
            const unsigned char* texto = sqlite3_column_text(s, c);
            if (tipo != SQLITE_NULL) {
                celda.nula = false;
                celda.numero = tipo == SQLITE_INTEGER || tipo == SQLITE_FLOAT;
                celda.valor = sqlite3_column_double(s, c);
                celda.texto = reinterpret_cast<const char*>(texto);
            }
            celdas.push_back(std::move(celda));
        }
    }
    if (r != SQLITE_DONE)
        fallar(QStringLiteral("step Exportar"));
    sqlite3_finalize(s);
    return celdas;
}

// The program's sheet: the same widths, bold headings, frozen first row.
void escribir_c(const std::vector<Celda>& celdas, const QString& salida, bool memoria_constante)
{
    static const int anchos[kColumnas] = {700, 1150, 3600, 1500, 1350, 1100, 1100, 1100, 1100};
    static const char* const titulos[kColumnas] = {"Año", "Mes", "Indicador", "Tipo Indicador", "Desempeño",
                                                   "Unidad", "Nivel Base", "Valor", "Meta"};
    lxw_workbook_options opciones{};
    opciones.constant_memory = memoria_constante ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* libro = workbook_new_opt(QFile::encodeName(salida).constData(), &opciones);
    lxw_worksheet* hoja = workbook_add_worksheet(libro, "Datos");
    lxw_format* negrita = workbook_add_format(libro);
    format_set_bold(negrita);
    for (int c = 0; c < kColumnas; ++c)
        worksheet_set_column(hoja, lxw_col_t(c), lxw_col_t(c), std::max(0.0, (anchos[c] / 15.0 - 5.0) / 7.0),
                             nullptr);
    for (int c = 0; c < kColumnas; ++c)
        worksheet_write_string(hoja, 0, lxw_col_t(c), titulos[c], negrita);
    worksheet_freeze_panes(hoja, 1, 0);
    std::string sin_relleno;
    for (size_t i = 0; i < celdas.size(); ++i) {
        const Celda& celda = celdas[i];
        if (celda.nula)
            continue;
        const lxw_row_t fila = lxw_row_t(i / kColumnas + 1);
        const lxw_col_t columna = lxw_col_t(i % kColumnas);
        if (celda.numero) {
            worksheet_write_number(hoja, fila, columna, celda.valor, nullptr);
        } else {
            sin_relleno.assign(celda.texto, 0, celda.texto.find_last_not_of(' ') + 1);
            if (!sin_relleno.empty())
                worksheet_write_string(hoja, fila, columna, sin_relleno.c_str(), nullptr);
        }
    }
    if (workbook_close(libro) != LXW_NO_ERROR)
        fallar(QStringLiteral("workbook_close"));
}

int caso_c(const QString& base, const QString& salida, bool memoria_constante)
{
    sqlite3* db = abrir_sqlite(base);
    const double antes = bytes_en_uso();
    QElapsedTimer t;
    t.start();
    std::vector<Celda> celdas = leer_c(db);
    const double leer = ms(t);
    const double celdas_bytes = bytes_en_uso() - antes;
    t.restart();
    escribir_c(celdas, salida, memoria_constante);
    const double escribir = ms(t);
    decir("filas", double(celdas.size() / kColumnas));
    decir("leer", leer);
    decir("escribir", escribir);
    decir("celdas", celdas_bytes);
    decir("pico", double(rss_pico()));
    sqlite3_close(db);
    return 0;
}

// The three calls "Ver" makes: the period, the month before, the previous
// year's fourth quarter, each prepared, bound and read to the end as text.
int caso_c_ver(const QString& base)
{
    sqlite3* db = abrir_sqlite(base);
    std::string parametros;
    const std::string sql = procedimiento(db, "Reporte_Departamentos", &parametros);
    if (parametros != "1,2,3,4")
        fallar(QStringLiteral("unexpected parameters of Reporte_Departamentos"));
    const QByteArray departamento = QString::fromUtf16(kDepartamento).toUtf8();
    const char* const llamadas[3][3] = {{"2025", "Marzo", "2"}, {"2025", "Febrero", "2"}, {"2024", "Cuarto Trimestre", "2"}};
    std::vector<double> tiempos;
    long filas = 0;
    for (int vez = 0; vez < kVecesVer; ++vez) {
        QElapsedTimer t;
        t.start();
        filas = 0;
        for (const auto& llamada : llamadas) {
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
                fallar(QStringLiteral("prepare Reporte_Departamentos"));
            sqlite3_bind_text(s, 1, departamento.constData(), -1, SQLITE_TRANSIENT);
            for (int i = 0; i < 3; ++i)
                sqlite3_bind_text(s, i + 2, llamada[i], -1, SQLITE_TRANSIENT);
            size_t bytes = 0;
            while (sqlite3_step(s) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(s); ++c) {
                    sqlite3_column_text(s, c);
                    bytes += size_t(sqlite3_column_bytes(s, c));
                }
                ++filas;
            }
            sqlite3_finalize(s);
            if (bytes == 0)
                fallar(QStringLiteral("Reporte_Departamentos read nothing"));
        }
        tiempos.push_back(ms(t));
    }
    decir("filas", double(filas / 3));
    decir("ver", mediana(tiempos));
    sqlite3_close(db);
    return 0;
}

// ---------------------------------------------------------------------------
// The driver.

using Medida = QHash<QString, double>;

Medida correr(const QStringList& argumentos, const QString& programa = QCoreApplication::applicationFilePath())
{
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        fallar(programa + u' ' + argumentos.join(u' ') + QStringLiteral(": ")
               + QString::fromLocal8Bit(p.readAllStandardError()));
    Medida m;
    const QString salida = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString& par : salida.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        const qsizetype igual = par.indexOf(u'=');
        if (igual > 0)
            m.insert(par.left(igual), par.mid(igual + 1).toDouble());
    }
    return m;
}

bool hay_python()
{
    return QProcess::execute(QStringLiteral("/usr/bin/python3"),
                             {QStringLiteral("-c"), QStringLiteral("import xlsxwriter")})
           == 0;
}

// The sheet's XML of a written file, to show both writers wrote the same cells.
QByteArray huella_hoja(const QString& archivo)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archivo, QStringLiteral("xl/worksheets/sheet1.xml")});
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        return {};
    return QCryptographicHash::hash(p.readAllStandardOutput(), QCryptographicHash::Sha1).toHex();
}

struct Serie {
    std::vector<double> v;
    void poner(double x) { v.push_back(x); }
    double med() const { return mediana(v); }
};

double mib(double kib)
{
    return kib / 1024.0;
}

void informe(const Tamano& t, std::map<std::string, Serie>& s, bool python, bool misma_hoja, double carga)
{
    auto m = [&](const char* k) { return s[k].med(); };
    std::printf("\n%s: %.0f records exported, %.0f-indicator department in \"Ver\"; load average %.2f\n",
                qPrintable(t.nombre), m("filas"), m("ver_filas"), carga);
    std::printf("  %-34s %10s  %-44s %10s  %6s\n", "work", "program", "floor (same run)", "floor", "ratio");
    auto fila = [&](const char* que, double prog, const char* piso, double vpiso, const char* razon,
                    const char* unidad) {
        const int d = prog < 100 ? 1 : 0;
        std::printf("  %-34s %8.*f%-2s  %-44s %8.*f%-2s  %5.2fx\n", que, d, prog, unidad, piso, d, vpiso, unidad,
                    m(razon));
    };
    fila("\"Llenar\"", m("llenar"), "SQLite C API, every cell as text", m("c_leer"), "r_llenar", "ms");
    fila("\"Exportar\"", m("exportar"), "libxlsxwriter, constant memory (inline)", m("c_escribir"), "r_exportar",
         "ms");
    fila("", m("exportar"), "libxlsxwriter, shared string table", m("t_escribir"), "r_exportar_tabla", "ms");
    fila("both, one process", m("ambos"), "C read + libxlsxwriter", m("c_ambos"), "r_ambos", "ms");
    if (python)
        std::printf("  %-34s %8.0fms  %-44s %8.0fms  %5.2fx faster\n", "peer: python3-xlsxwriter", m("py"),
                    "(read + write)", m("py"), m("r_python"));
    else
        std::printf("  %-34s  skipped (run bench/piso/preparar.sh)\n", "peer: python3-xlsxwriter");
    fila("\"Ver\" (3 calls)", m("ver"), "the same three calls in C", m("c_ver"), "r_ver", "ms");
    std::printf("  %-34s %8.1fMiB  %-44s %8.1fMiB  %5.2fx\n", "memory of the filled listing", m("grilla") / 1048576.0,
                "C holding every cell", m("celdas") / 1048576.0, m("grilla") / m("celdas"));
    std::printf("  %-34s %8.1fMiB  (idle %.1f MiB, peak %.1f MiB; C peak %.1f MiB%s)\n",
                "resident growth by \"Llenar\"", mib(m("lleno") - m("inactivo")), mib(m("inactivo")),
                mib(m("pico")), mib(m("c_pico")),
                python ? qPrintable(QStringLiteral(", python peak %1 MiB").arg(mib(m("py_pico")), 0, 'f', 1))
                       : "");
    std::printf("  sheet XML of \"Exportar\" and of the C write: %s\n",
                misma_hoja ? "identical" : "DIFFERENT");
    std::printf("\n");
}

double carga_media()
{
    double c = 0;
    if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(f, "%lf", &c) != 1)
            c = 0;
        std::fclose(f);
    }
    return c;
}

int conducir(const QStringList& nombres, int rondas, const QString& carpeta)
{
    QDir().mkpath(carpeta);
    const bool python = hay_python();
    const QString py = QFileInfo(QStringLiteral(VELMORA_PAR_PYTHON)).absoluteFilePath();
    std::printf("bench_piso: %d interleaved rounds, medians; ratios taken within each round\n", rondas);
    for (const Tamano& t : tamanos()) {
        if (!nombres.contains(t.nombre))
            continue;
        const QString base = preparar_base(carpeta, t);
        const QString xp = QDir(carpeta).filePath(QStringLiteral("programa_%1.xlsx").arg(t.nombre));
        const QString xc = QDir(carpeta).filePath(QStringLiteral("c_%1.xlsx").arg(t.nombre));
        const QString xt = QDir(carpeta).filePath(QStringLiteral("tabla_%1.xlsx").arg(t.nombre));
        const QString xpy = QDir(carpeta).filePath(QStringLiteral("python_%1.xlsx").arg(t.nombre));
        std::map<std::string, Serie> s;
        double carga = 0;
        for (int r = 0; r < rondas; ++r) {
            std::fprintf(stderr, "%s round %d/%d\n", qPrintable(t.nombre), r + 1, rondas);
            carga += carga_media() / rondas;
            // Alternate the order so neither side always runs first.
            const bool al_reves = r % 2 == 1;
            Medida p, c, tb, v, cv, y;
            auto programa = [&] {
                p = correr({QStringLiteral("--caso"), QStringLiteral("programa"), base, xp});
                v = correr({QStringLiteral("--caso"), QStringLiteral("ver"), base});
            };
            auto piso = [&] {
                c = correr({QStringLiteral("--caso"), QStringLiteral("c"), base, xc});
                tb = correr({QStringLiteral("--caso"), QStringLiteral("c_tabla"), base, xt});
                cv = correr({QStringLiteral("--caso"), QStringLiteral("c_ver"), base});
                if (python)
                    y = correr({base, xpy}, py);
            };
            if (al_reves) {
                piso();
                programa();
            } else {
                programa();
                piso();
            }
            if (p[QStringLiteral("filas")] != c[QStringLiteral("filas")])
                fallar(QStringLiteral("the program listed %1 records, C read %2")
                           .arg(p[QStringLiteral("filas")])
                           .arg(c[QStringLiteral("filas")]));
            const double ambos = p[QStringLiteral("llenar")] + p[QStringLiteral("exportar")];
            const double c_ambos = c[QStringLiteral("leer")] + c[QStringLiteral("escribir")];
            s["filas"].poner(p[QStringLiteral("filas")]);
            s["ver_filas"].poner(v[QStringLiteral("filas")]);
            s["llenar"].poner(p[QStringLiteral("llenar")]);
            s["exportar"].poner(p[QStringLiteral("exportar")]);
            s["ambos"].poner(ambos);
            s["c_leer"].poner(c[QStringLiteral("leer")]);
            s["c_escribir"].poner(c[QStringLiteral("escribir")]);
            s["t_escribir"].poner(tb[QStringLiteral("escribir")]);
            s["c_ambos"].poner(c_ambos);
            s["ver"].poner(v[QStringLiteral("ver")]);
            s["c_ver"].poner(cv[QStringLiteral("ver")]);
            s["r_llenar"].poner(p[QStringLiteral("llenar")] / c[QStringLiteral("leer")]);
            s["r_exportar"].poner(p[QStringLiteral("exportar")] / c[QStringLiteral("escribir")]);
            s["r_exportar_tabla"].poner(p[QStringLiteral("exportar")] / tb[QStringLiteral("escribir")]);
            s["r_ambos"].poner(ambos / c_ambos);
            s["r_ver"].poner(v[QStringLiteral("ver")] / cv[QStringLiteral("ver")]);
            s["grilla"].poner(p[QStringLiteral("grilla")]);
            s["celdas"].poner(c[QStringLiteral("celdas")]);
            s["inactivo"].poner(p[QStringLiteral("inactivo")]);
            s["lleno"].poner(p[QStringLiteral("lleno")]);
            s["pico"].poner(p[QStringLiteral("pico")]);
            s["c_pico"].poner(c[QStringLiteral("pico")]);
            if (python) {
                const double total = y[QStringLiteral("leer")] + y[QStringLiteral("escribir")];
                s["py"].poner(total);
                s["py_pico"].poner(y[QStringLiteral("rss")]);
                s["r_python"].poner(total / ambos);
            }
        }
        const QByteArray hp = huella_hoja(xp);
        informe(t, s, python, !hp.isEmpty() && hp == huella_hoja(xc), carga);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList a = app.arguments().mid(1);
    if (a.size() >= 2 && a[0] == QStringLiteral("--caso")) {
        const QString caso = a[1];
        const QString base = a.value(2);
        const QString salida = a.value(3);
        if (caso == QStringLiteral("programa"))
            return caso_programa(base, salida);
        if (caso == QStringLiteral("ver"))
            return caso_ver(base);
        if (caso == QStringLiteral("c"))
            return caso_c(base, salida, true);
        if (caso == QStringLiteral("c_tabla"))
            return caso_c(base, salida, false);
        if (caso == QStringLiteral("c_ver"))
            return caso_c_ver(base);
        fallar(QStringLiteral("unknown case ") + caso);
    }
    QStringList nombres = {QStringLiteral("10k"), QStringLiteral("100k"), QStringLiteral("1M")};
    int rondas = 5;
    QString carpeta = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("datos"));
    for (qsizetype i = 0; i + 1 < a.size(); i += 2) {
        if (a[i] == QStringLiteral("--tamaños"))
            nombres = a[i + 1].split(u',');
        else if (a[i] == QStringLiteral("--rondas"))
            rondas = qMax(1, a[i + 1].toInt());
        else if (a[i] == QStringLiteral("--datos"))
            carpeta = a[i + 1];
        else
            fallar(QStringLiteral("usage: bench_piso [--tamaños 10k,100k,1M] [--rondas N] [--datos carpeta]"));
    }
    return conducir(nombres, rondas, carpeta);
}
