// SPDX-License-Identifier: GPL-3.0-or-later
// "Llenar" and "Exportar" of a large listing on the real window, each beside
// a baseline measured in the same run: the same rows read by a plain SQL
// query, and the same cells written by a plain libxlsxwriter loop. The
// database is made by the demo-data generator (about 100,000 records by
// default: 1040 indicators with values for 8 years).
//
//   bench_exportar [indicators [years]]
#include "medir.h"
#include "data/conexion.h"
#include "export/exportar.h"
#include "ui/grid/grilla.h"
#include "ui/mensajes.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <variant>
#include <vector>

using namespace velmora;
using namespace medir;

namespace {

// A database from the generator, and a data source file like the program's
// own (rows streamed by the driver).
void preparar_base(const QString& carpeta, const QString& indicadores, const QString& anios)
{
    const QString datos = QDir(carpeta).filePath(QStringLiteral("datos.sql"));
    const QString base = QDir(carpeta).filePath(QStringLiteral("bench.db"));
    ejecutar(QStringLiteral(VELMORA_GENERADOR),
             {QStringLiteral("--indicadores"), indicadores, QStringLiteral("--años"), anios}, datos);
    ejecutar(QStringLiteral(VELMORA_CREAR_BASE), {base, datos});
    const QString dsn = QDir(carpeta).filePath(QStringLiteral("conexion.dsn"));
    ejecutar(QStringLiteral(VELMORA_ESCRIBIR_ORIGEN), {dsn, base});
    Conexion().abrir(QStringLiteral("FILEDSN=") + dsn);
}

// Baseline: the same rows by a plain forward-only query, every field read.
double consulta_plana(const QString& archivo, int* filas)
{
    // The body of the procedure, as the database holds it.
    Resultado cuerpo = Conexion().ejecutar(
        QStringLiteral("SELECT sentencia FROM procedimientos WHERE nombre = 'Exportar'"));
    if (cuerpo.eof())
        fallar("the database has no procedure Exportar");
    const QString select = cuerpo.texto(QStringLiteral("sentencia"));
    double t_ms = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("plana"));
        db.setDatabaseName(QStringLiteral("DRIVER={SQLite3};Database=%1;StepAPI=1;").arg(archivo));
        if (!db.open())
            fallar("cannot open the plain connection");
        QElapsedTimer t;
        t.start();
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(select))
            fallar("plain query failed");
        qsizetype caracteres = 0;
        *filas = 0;
        while (q.next()) {
            for (int c = 0; c < 9; ++c)
                caracteres += q.value(c).toString().size();
            ++*filas;
        }
        t_ms = ms(t);
        if (caracteres == 0)
            fallar("plain query read nothing");
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plana"));
    return t_ms;
}

// Baseline: the grid's cells, already split into numbers and texts, written
// by the library's ordinary loop.
double escritura_plana(const ModeloGrilla& grilla, const QString& archivo)
{
    using Celda = std::variant<std::monostate, double, QByteArray>;
    std::vector<Celda> celdas;
    celdas.reserve(size_t(grilla.Rows()) * size_t(grilla.Cols()));
    for (int f = 0; f < grilla.Rows(); ++f) {
        for (int c = 0; c < grilla.Cols(); ++c) {
            const QString t = grilla.TextMatrix(f, c).trimmed();
            bool ok = false;
            const double d = t.toDouble(&ok);
            if (t.isEmpty() || f == 1)
                celdas.emplace_back();
            else if (ok && f > 0)
                celdas.emplace_back(d);
            else
                celdas.emplace_back(t.toUtf8());
        }
    }
    QElapsedTimer t;
    t.start();
    lxw_workbook* libro = workbook_new(QFile::encodeName(archivo).constData());
    lxw_worksheet* hoja = workbook_add_worksheet(libro, nullptr);
    size_t i = 0;
    for (int f = 0; f < grilla.Rows(); ++f) {
        for (int c = 0; c < grilla.Cols(); ++c, ++i) {
            const lxw_row_t fila = lxw_row_t(f == 0 ? 0 : f - 1);
            if (const double* d = std::get_if<double>(&celdas[i]))
                worksheet_write_number(hoja, fila, lxw_col_t(c), *d, nullptr);
            else if (const QByteArray* s = std::get_if<QByteArray>(&celdas[i]))
                worksheet_write_string(hoja, fila, lxw_col_t(c), s->constData(), nullptr);
        }
    }
    if (workbook_close(libro) != LXW_NO_ERROR)
        fallar("plain write failed");
    return ms(t);
}

// The walk alone, through the program's own connection, as text.
double recorrido(int* filas)
{
    static const QStringList campos = {"año", "Mes", "Indicador", "Tipo Indicador", "desempeño",
                                       "unidad", "Nivel Base", "Valor", "Meta C/P"};
    QElapsedTimer t;
    t.start();
    qsizetype caracteres = 0;
    *filas = 0;
    for (Resultado r = Conexion().ejecutar(QStringLiteral("Exec Exportar")); !r.eof(); r.siguiente(), ++*filas)
        for (const QString& campo : campos)
            caracteres += r.texto(campo).size();
    if (caracteres == 0)
        fallar("the walk read nothing");
    return ms(t);
}

// For comparison: the listing grown one AddItem per record, as a naive fill would.
double llenar_fila_a_fila(Grilla& grilla)
{
    static const QStringList campos = {"año", "Mes", "Indicador", "Tipo Indicador", "desempeño",
                                       "unidad", "Nivel Base", "Valor", "Meta C/P"};
    QElapsedTimer t;
    t.start();
    grilla.setRows(2);
    int f = 2;
    for (Resultado r = Conexion().ejecutar(QStringLiteral("Exec Exportar")); !r.eof(); r.siguiente(), ++f) {
        grilla.AddItem(QString());
        for (int c = 0; c < 9; ++c)
            grilla.setTextMatrix(f, c, (r.texto(campos[c]) + QStringLiteral("       ")).left(80));
    }
    return ms(t);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString indicadores = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("1040");
    const QString anios = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("8");

    QStringList mensajes;
    establecer_mensajero([&](const QString& texto, const QString&, IconoMensaje) { mensajes << texto; });

    QTemporaryDir carpeta;
    preparar_base(carpeta.path(), indicadores, anios);

    int n = 0;
    const double ms_sql = consulta_plana(carpeta.filePath(QStringLiteral("bench.db")), &n);

    int filas_recorrido = 0;
    const double ms_recorrido = recorrido(&filas_recorrido);

    Exportar ventana;
    ventana.show();
    auto* grilla = ventana.findChild<Grilla*>(QStringLiteral("MSHFlexGrid"));
    QElapsedTimer t;
    t.start();
    ventana.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    const double ms_llenar = ms(t);
    if (grilla->Rows() != n + 2 || filas_recorrido != n)
        fallar("the listing does not hold every record");

    const QString plano = carpeta.filePath(QStringLiteral("plano.xlsx"));
    const double ms_plano = escritura_plana(*grilla->modelo(), plano);

    const QString archivo = carpeta.filePath(QStringLiteral("Datos.xlsx"));
    ventana.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(archivo);
    t.start();
    ventana.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    const double ms_exportar = ms(t);
    // The message names the file written after its fixed opening.
    if (mensajes.size() != 1 || !mensajes.first().startsWith(QStringLiteral(" Datos exportados ")))
        fallar(QStringLiteral("export failed: ") + mensajes.join(u'|'));

    Grilla otra;
    otra.setCols(9);
    otra.resize(900, 600);
    otra.show();
    const double ms_fila_a_fila = llenar_fila_a_fila(otra);

    std::printf("%d records, 9 columns\n\n", n);
    std::printf("%-46s %10s\n", "", "time (ms)");
    std::printf("%-46s %10.0f\n", "plain SQL query, every field read (baseline)", ms_sql);
    std::printf("%-46s %10.0f\n", "walk of \"Exec Exportar\", 9 fields as text", ms_recorrido);
    std::printf("%-46s %10.0f\n", "\"Llenar\" (Command2)", ms_llenar);
    std::printf("%-46s %10.0f\n", "  for comparison: AddItem per record", ms_fila_a_fila);
    std::printf("%-46s %10.0f   %8.1f MiB\n", "plain libxlsxwriter write (baseline)", ms_plano,
                QFileInfo(plano).size() / 1048576.0);
    std::printf("%-46s %10.0f   %8.1f MiB\n", "\"Exportar\" (Command1)", ms_exportar,
                QFileInfo(archivo).size() / 1048576.0);
    Conexion().cerrar();
    return 0;
}
