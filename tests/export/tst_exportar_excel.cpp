// SPDX-License-Identifier: GPL-3.0-or-later
// The spreadsheet writer on grids built by hand: how cells land, the file
// name, and failures that leave the folder as it was.
#include "data/origen_datos.h"
#include "export/exportar_excel.h"
#include "soporte/bits.h"
#include "soporte/libro_leido.h"
#include "soporte/soporte.h"
#include "ui/grid/modelo_grilla.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <QProcess>
#include <QScopeGuard>

#include <cerrno>
#include <unistd.h>

using namespace velmora;

namespace {

// Headings in row 0, the blank row 1, then the given rows from row 2.
void llenar(ModeloGrilla& grilla, const QStringList& encabezados, const QList<QStringList>& filas)
{
    grilla.setCols(int(encabezados.size()));
    grilla.setFixedCols(0);
    grilla.setRows(2 + int(filas.size()));
    for (int c = 0; c < encabezados.size(); ++c)
        grilla.setTextMatrix(0, c, encabezados[c]);
    for (int f = 0; f < filas.size(); ++f)
        for (int c = 0; c < filas[f].size(); ++c)
            grilla.setTextMatrix(2 + f, c, filas[f][c]);
}

QByteArray contenido(const QString& archivo)
{
    QFile f(archivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList listado(const QString& carpeta)
{
    return QDir(carpeta).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The file's own permission bits, without what they mean for the user
// running the test (root may write anything).
QFile::Permissions propios(QFile::Permissions p)
{
    return p & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}

} // namespace

class TstExportarExcel final : public QObject {
    Q_OBJECT

private slots:
    void celdas_data();
    void celdas();
    void filas_y_encabezados();
    void reemplaza_archivo_existente();
    void nombre_data();
    void nombre();
    void ruta_relativa();
    void fallo_data();
    void fallo();
    void ultima_fila_de_la_hoja();
    void textos_quedan_como_estan_data();
    void textos_quedan_como_estan();
    void nombre_largo();
    void enlace_simbolico();
    void destino_de_solo_lectura();
    void destino_conserva_permisos();
    void avance();
    void disco_lleno();
    void textos_de_paso();
};

void TstExportarExcel::celdas_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("escrita");
    QTest::addColumn<bool>("numero");
    QTest::addColumn<QString>("valor");
    QTest::addColumn<double>("cifra"); // a number cell's double, bit for bit

    auto texto = [](const char* fila, const char* locale, const QString& celda, const QString& valor) {
        QTest::newRow(fila) << locale << celda << true << false << valor << 0.0;
    };
    auto cifra = [](const char* fila, const char* locale, const QString& celda, double numero) {
        QTest::newRow(fila) << locale << celda << true << true << QString() << numero;
    };
    cifra("año", "C", "2005       ", 2005);
    cifra("punto decimal", "C", "72.5       ", 72.5);
    cifra("coma decimal, español", "es_ES", "72,5       ", 72.5);
    cifra("negativo, español", "es_ES", "-3,25", -3.25);
    // Numbers that need 16 and 17 significant digits.
    cifra("dos tercios", "es_ES", "0,6666666666666666", 0x1.5555555555555p-1);
    cifra("2^53", "C", "9007199254740992", 0x1p+53);
    cifra("0,1 + 0,2", "es_ES", "0,30000000000000004", 0x1.3333333333334p-2);
    cifra("siguiente a uno", "C", "1.0000000000000002", 0x1.0000000000001p+0);
    cifra("entero de 17 cifras", "C", "123456789012345680", 0x1.b69b4ba630f35p+56);
    cifra("el mayor", "C", "1.7976931348623157E+308", 0x1.fffffffffffffp+1023);
    texto("mes", "C", "Enero      ", "Enero");
    texto("acentos", "es_ES", "Satisfacción del cliente: año, ñandú       ", "Satisfacción del cliente: año, ñandú");
    texto("tipo de ancho fijo", "C", "Principal             ", "Principal");
    texto("blancos iniciales quedan", "C", "  Tendencia  ", "  Tendencia");
    texto("número con signo detrás", "C", "12 %", "12 %");
    texto("fórmula queda texto", "C", "=1+1", "=1+1");
    QTest::newRow("celda Null") << "C" << "       " << false << false << "" << 0.0;
    QTest::newRow("vacía") << "C" << "" << false << false << "" << 0.0;
}

void TstExportarExcel::celdas()
{
    QFETCH(QString, locale);
    QFETCH(QString, texto);
    QFETCH(bool, escrita);
    QFETCH(bool, numero);
    QFETCH(QString, valor);
    QFETCH(double, cifra);

    LocalePrueba l(locale);
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("Datos.xlsx"));
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Año"), QStringLiteral("Valor")}, {{QStringLiteral("x"), texto}});
    RegistroMensajes mensajes;
    QVERIFY(exportar_excel(archivo, grilla, {1}).escrito());
    QVERIFY(mensajes.mensajes.isEmpty());

    const LibroLeido libro = leer_libro(archivo);
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QCOMPARE(libro.tiene(QStringLiteral("B2")), escrita);
    if (!escrita)
        return;
    QCOMPARE(libro.celda(QStringLiteral("B2")).numero, numero);
    if (!numero) {
        QCOMPARE(libro.celda(QStringLiteral("B2")).valor, valor);
        return;
    }
    QEXPECT_FAIL("0,1 + 0,2", "libxlsxwriter writes numbers with 16 digits (%.16G): a number that needs 17 "
                              "comes back as another double",
                 Continue);
    QEXPECT_FAIL("siguiente a uno", "libxlsxwriter writes numbers with 16 digits (%.16G)", Continue);
    QEXPECT_FAIL("entero de 17 cifras", "libxlsxwriter writes numbers with 16 digits (%.16G)", Continue);
    QEXPECT_FAIL("el mayor", "libxlsxwriter writes numbers with 16 digits (%.16G): the largest double "
                             "comes back as infinity",
                 Continue);
    QCOMPARE_BITS(leer_exacto(libro.celda(QStringLiteral("B2")).valor), cifra);
}

void TstExportarExcel::filas_y_encabezados()
{
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("Datos.xlsx"));
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Año"), QStringLiteral("Mes"), QStringLiteral("Desempeño")},
           {{QStringLiteral("2005   "), QStringLiteral("Enero   "), QStringLiteral("Creciente      ")},
            {QStringLiteral("2006   "), QStringLiteral("       "), QStringLiteral("Decreciente    ")},
            {QStringLiteral("2007   "), QStringLiteral("Marzo   "), QStringLiteral("       ")}});
    QVERIFY(exportar_excel(archivo, grilla).escrito());

    const LibroLeido libro = leer_libro(archivo);
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QCOMPARE(libro.hojas, QStringList{QStringLiteral("Datos")});
    // Headings on row 1 (over the grid's blank row), grid row r on sheet row r.
    QCOMPARE(libro.fila(1, 3), (QStringList{QStringLiteral("Año"), QStringLiteral("Mes"), QStringLiteral("Desempeño")}));
    QVERIFY(!libro.celda(QStringLiteral("A1")).numero);
    QCOMPARE(libro.fila(2, 3), (QStringList{QStringLiteral("2005"), QStringLiteral("Enero"), QStringLiteral("Creciente")}));
    QCOMPARE(libro.fila(3, 3), (QStringList{QStringLiteral("2006"), QString(), QStringLiteral("Decreciente")}));
    QCOMPARE(libro.fila(4, 3), (QStringList{QStringLiteral("2007"), QStringLiteral("Marzo"), QString()}));
    QCOMPARE(libro.ultima_fila, 4);
    QCOMPARE(libro.celdas.size(), 3 + 7);
}

void TstExportarExcel::reemplaza_archivo_existente()
{
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("Datos.xlsx"));
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Año")}, {{QStringLiteral("2005")}, {QStringLiteral("2006")}});
    QVERIFY(exportar_excel(archivo, grilla).escrito());
    llenar(grilla, {QStringLiteral("Año")}, {{QStringLiteral("2010")}});
    QVERIFY(exportar_excel(archivo, grilla).escrito());

    const LibroLeido libro = leer_libro(archivo);
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QCOMPARE(libro.fila(2, 1), QStringList{QStringLiteral("2010")});
    QCOMPARE(libro.ultima_fila, 2);
    QCOMPARE(listado(carpeta.path()), QStringList{QStringLiteral("Datos.xlsx")});
}

void TstExportarExcel::nombre_data()
{
    QTest::addColumn<QString>("escrito");
    QTest::addColumn<QString>("escrito_en");

    QTest::newRow("xlsx como se tecleó") << "Datos.xlsx" << "Datos.xlsx";
    QTest::newRow("mayúsculas quedan") << "Datos.XLSX" << "Datos.XLSX";
    QTest::newRow("nombre .xls antiguo") << "Datos.xls" << "Datos.xlsx";
    QTest::newRow("sin extensión") << "Datos" << "Datos.xlsx";
    QTest::newRow("otra extensión") << "informe.2024" << "informe.2024.xlsx";
    QTest::newRow("acentos y blancos") << "Año ñandú .xlsx" << "Año ñandú .xlsx";
}

void TstExportarExcel::nombre()
{
    QFETCH(QString, escrito);
    QFETCH(QString, escrito_en);

    QTemporaryDir carpeta;
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Año")}, {{QStringLiteral("2005")}});
    const ResultadoExportacion resultado = exportar_excel(carpeta.filePath(escrito), grilla);
    QVERIFY(resultado.escrito());
    QCOMPARE(resultado.archivo, QDir(carpeta.path()).absoluteFilePath(escrito_en));
    QCOMPARE(listado(carpeta.path()), QStringList{escrito_en});
    const LibroLeido libro = leer_libro(carpeta.filePath(escrito_en));
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QCOMPARE(libro.celda(QStringLiteral("A2")).valor, QStringLiteral("2005"));
}

void TstExportarExcel::ruta_relativa()
{
    // A bare name goes to the export folder, not to wherever the program was started.
    const QString carpeta = QFileInfo(ruta_exportar_por_defecto()).absolutePath();
    QVERIFY(QDir().mkpath(carpeta));
    const QString esperado = QDir(carpeta).filePath(QStringLiteral("prueba_relativa.xlsx"));
    QFile::remove(esperado);
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Año")}, {{QStringLiteral("2005")}});
    QVERIFY(exportar_excel(QStringLiteral("prueba_relativa"), grilla).escrito());
    QVERIFY(leer_libro(esperado).ok);
    QVERIFY(QFile::remove(esperado));
}

void TstExportarExcel::fallo_data()
{
    QTest::addColumn<QString>("ruta");   // %1 is the test's folder
    QTest::addColumn<QString>("celda");  // put into row 2 (a text of that length when it is a number)
    QTest::addColumn<int>("filas");      // grid rows
    QTest::addColumn<int>("estado");     // ResultadoExportacion::Estado
    QTest::addColumn<int>("numero");     // the error number; -1: any but 0
    QTest::addColumn<QString>("patron"); // the description

    const QString texto = QStringLiteral("2005");
    const int sin_ruta = int(ResultadoExportacion::Estado::SinRuta);
    const int fallo = int(ResultadoExportacion::Estado::Fallo);
    QTest::newRow("ruta vacía") << "" << texto << 3 << sin_ruta << 0 << "^$";
    QTest::newRow("ruta de blancos") << "   " << texto << 3 << fallo << -1
                                    << "^\"   \" no es un nombre de archivo válido$";
    // In Spanish whatever the locale (this test runs under LANG=C too).
    QTest::newRow("carpeta que no existe") << "%1/no_existe/Datos.xlsx" << texto << 3 << fallo << 2
                                                << "^No existe la carpeta \".*no_existe\": no existe el archivo o la carpeta$";
    QTest::newRow("el destino es una carpeta") << "%1/carpeta.xlsx" << texto << 3 << fallo << -1
                                        << "^\".*carpeta.xlsx\" es una carpeta: es una carpeta$";
    QTest::newRow("texto demasiado largo para una celda") << "%1/Datos.xlsx" << "40000" << 3 << fallo << -1
                                              << "^Un texto pasa de .* \\(celda A2\\)$";
    QTest::newRow("más filas que una hoja") << "%1/Datos.xlsx" << texto << 1048578 << fallo << -1
                                            << "^La hoja admite 1.?048.?576 filas y la lista necesita 1.?048.?577$";
}

void TstExportarExcel::fallo()
{
    QFETCH(QString, ruta);
    QFETCH(QString, celda);
    QFETCH(int, filas);
    QFETCH(int, estado);
    QFETCH(int, numero);
    QFETCH(QString, patron);

    // The folder holds an earlier export and a subfolder; neither may change.
    QTemporaryDir carpeta;
    const QString anterior = carpeta.filePath(QStringLiteral("Datos.xlsx"));
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Año")}, {{QStringLiteral("1999")}});
    QVERIFY(exportar_excel(anterior, grilla).escrito());
    QVERIFY(QDir(carpeta.path()).mkdir(QStringLiteral("carpeta.xlsx")));
    const QByteArray bytes = contenido(anterior);
    const QStringList antes = listado(carpeta.path());

    grilla.setRows(filas);
    bool es_numero = false;
    const int largo = celda.toInt(&es_numero);
    grilla.setTextMatrix(2, 0, es_numero && largo > 10000 ? QString(largo, u'x') : celda);
    RegistroMensajes mensajes;
    const ResultadoExportacion resultado =
        exportar_excel(ruta.contains(QStringLiteral("%1")) ? ruta.arg(carpeta.path()) : ruta, grilla);

    // The writer tells the failure to its caller and shows nothing itself.
    QCOMPARE(int(resultado.estado), estado);
    if (numero >= 0)
        QCOMPARE(resultado.numero, long(numero));
    else
        QVERIFY(resultado.numero != 0);
    QVERIFY2(QRegularExpression(patron).match(resultado.descripcion).hasMatch(), qPrintable(resultado.descripcion));
    QVERIFY(resultado.archivo.isEmpty());
    QCOMPARE(mensajes.textos(), QStringList());
    QCOMPARE(listado(carpeta.path()), antes);
    QCOMPARE(contenido(anterior), bytes);
}

void TstExportarExcel::ultima_fila_de_la_hoja()
{
    // The largest listing that fits: its last grid row lands on the sheet's last row.
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("Datos.xlsx"));
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Año")}, {{QStringLiteral("2005")}});
    grilla.setRows(1048577);
    grilla.setTextMatrix(1048576, 0, QStringLiteral("fin    "));
    QVERIFY(exportar_excel(archivo, grilla).escrito());
    const LibroLeido libro = leer_libro(archivo);
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QCOMPARE(libro.ultima_fila, 1048576);
    QCOMPARE(libro.celda(QStringLiteral("A1048576")).valor, QStringLiteral("fin"));
    QCOMPARE(libro.celdas.size(), 3);
}

void TstExportarExcel::textos_quedan_como_estan_data()
{
    QTest::addColumn<QString>("texto");
    QTest::newRow("ceros a la izquierda") << "007";
    QTest::newRow("coma decimal") << "1,5";
    QTest::newRow("exponente") << "1e5";
    QTest::newRow("negativo") << "-3";
}

// Outside the numeric columns a text that reads as a number stays that text.
void TstExportarExcel::textos_quedan_como_estan()
{
    QFETCH(QString, texto);
    LocalePrueba l(QStringLiteral("es_ES"));
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("Datos.xlsx"));
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Indicador"), QStringLiteral("Valor")}, {{texto + "       ", texto + "       "}});
    QVERIFY(exportar_excel(archivo, grilla, {1}).escrito());
    const LibroLeido libro = leer_libro(archivo);
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QVERIFY(!libro.celda(QStringLiteral("A2")).numero);
    QCOMPARE(libro.celda(QStringLiteral("A2")).valor, texto);
    QVERIFY(libro.celda(QStringLiteral("B2")).numero);
}

// A name close to the system's limit: the temporary file must not overflow it.
void TstExportarExcel::nombre_largo()
{
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QString(250, u'a') + QStringLiteral(".xlsx")); // 255 bytes
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Año")}, {{QStringLiteral("2005")}});
    RegistroMensajes mensajes;
    QVERIFY(exportar_excel(archivo, grilla).escrito());
    QVERIFY2(mensajes.mensajes.isEmpty(), qPrintable(mensajes.textos().join(u'|')));
    QVERIFY(leer_libro(archivo).ok);
    QCOMPARE(listado(carpeta.path()), QStringList{QFileInfo(archivo).fileName()});
}

// A link stays a link; the file it names gets the new content.
void TstExportarExcel::enlace_simbolico()
{
    QTemporaryDir carpeta;
    QDir(carpeta.path()).mkdir(QStringLiteral("real"));
    const QString real = carpeta.filePath(QStringLiteral("real/Datos.xlsx"));
    const QString enlace = carpeta.filePath(QStringLiteral("Enlace.xlsx"));
    QFile f(real);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("viejo");
    f.close();
    QVERIFY(QFile::link(QStringLiteral("real/Datos.xlsx"), enlace));
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Año")}, {{QStringLiteral("2005")}});
    QVERIFY(exportar_excel(enlace, grilla).escrito());
    QVERIFY(QFileInfo(enlace).isSymLink());
    const LibroLeido libro = leer_libro(real);
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QCOMPARE(libro.celda(QStringLiteral("A2")).valor, QStringLiteral("2005"));
    QCOMPARE(listado(carpeta.filePath(QStringLiteral("real"))), QStringList{QStringLiteral("Datos.xlsx")});
}

// A read-only file is not replaced: a message, the file as it was.
void TstExportarExcel::destino_de_solo_lectura()
{
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("Datos.xlsx"));
    QFile f(archivo);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("viejo");
    f.close();
    const QFile::Permissions solo_lectura = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(archivo, solo_lectura));
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Año")}, {{QStringLiteral("2005")}});
    const ResultadoExportacion resultado = exportar_excel(archivo, grilla);
    QCOMPARE(resultado.estado, ResultadoExportacion::Estado::Fallo);
    QCOMPARE(resultado.numero, long(EACCES));
    QVERIFY2(resultado.descripcion.contains(QStringLiteral("solo lectura")), qPrintable(resultado.descripcion));
    QCOMPARE(contenido(archivo), QByteArray("viejo"));
    QCOMPARE(propios(QFileInfo(archivo).permissions()), solo_lectura);
    QCOMPARE(listado(carpeta.path()), QStringList{QStringLiteral("Datos.xlsx")});
}

void TstExportarExcel::destino_conserva_permisos()
{
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("Datos.xlsx"));
    QFile f(archivo);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const QFile::Permissions permisos = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(archivo, permisos));
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Año")}, {{QStringLiteral("2005")}});
    QVERIFY(exportar_excel(archivo, grilla).escrito());
    QVERIFY(leer_libro(archivo).ok);
    QCOMPARE(propios(QFileInfo(archivo).permissions()), permisos);
}

// Progress goes to the caller's callback, row by row, then the closing step;
// the writer opens no window of its own.
void TstExportarExcel::avance()
{
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("Datos.xlsx"));
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Año")}, {{QStringLiteral("2005")}});
    const int filas = 5000;
    grilla.setRows(filas);
    struct Aviso {
        EtapaExportacion etapa;
        qint64 hecho;
        qint64 total;
        int ventanas;
    };
    QList<Aviso> avisos;
    const ResultadoExportacion resultado =
        exportar_excel(archivo, grilla, {}, [&](EtapaExportacion etapa, qint64 hecho, qint64 total) {
            avisos.append({etapa, hecho, total, int(QApplication::topLevelWidgets().size())});
        });
    QVERIFY(resultado.escrito());
    QVERIFY(QApplication::topLevelWidgets().isEmpty());

    // Hecho 0, rows 2 .. filas - 1, then the closing.
    QCOMPARE(avisos.size(), 1 + (filas - 2) + 1);
    QCOMPARE(avisos.first().etapa, EtapaExportacion::Escribiendo);
    QCOMPARE(avisos.first().hecho, 0);
    for (int i = 1; i + 1 < avisos.size(); ++i) {
        QCOMPARE(avisos[i].etapa, EtapaExportacion::Escribiendo);
        QCOMPARE(avisos[i].hecho, qint64(i + 1));
    }
    QCOMPARE(avisos.last().etapa, EtapaExportacion::Guardando);
    QCOMPARE(avisos.last().hecho, filas);
    for (const Aviso& aviso : avisos) {
        QCOMPARE(aviso.total, filas);
        QCOMPARE(aviso.ventanas, 0);
    }
    QVERIFY(leer_libro(archivo).ok);
}

// A disk that fills while the workbook is written: the reason and the folder
// are told, and nothing is left behind. A small disk of its own (tmpfs)
// needs root to mount: an ordinary user runs the case as root of a user
// namespace of its own.
void TstExportarExcel::disco_lleno()
{
    if (!correr_como(Usuario::Root))
        return;
    QTemporaryDir carpeta;
    QProcess montar;
    montar.setProcessChannelMode(QProcess::MergedChannels);
    montar.start(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                           QStringLiteral("size=256k"), QStringLiteral("tmpfs"), carpeta.path()});
    QVERIFY2(montar.waitForFinished(10000) && montar.exitCode() == 0,
             qPrintable(QStringLiteral("this machine cannot mount a tmpfs: ") + QString::fromLocal8Bit(montar.readAll())));
    const auto desmontar = qScopeGuard([&carpeta] {
        QProcess::execute(QStringLiteral("umount"), {carpeta.path()});
    });
    {
        // All but a few kilobytes taken.
        QFile relleno(carpeta.filePath(QStringLiteral("relleno")));
        QVERIFY(relleno.open(QIODevice::WriteOnly));
        const QByteArray bloque(4096, 'x');
        while (relleno.write(bloque) == bloque.size() && relleno.flush()) {
        }
        relleno.close();
        QVERIFY(relleno.resize(relleno.size() - 8192));
    }
    const QStringList antes = listado(carpeta.path());
    ModeloGrilla grilla;
    QList<QStringList> filas;
    for (int i = 0; i < 3000; ++i)
        filas << QStringList{QString::number(i), QStringLiteral("Indicador número %1 con un nombre largo").arg(i * 7919)};
    llenar(grilla, {QStringLiteral("Año"), QStringLiteral("Indicador")}, filas);
    const ResultadoExportacion resultado = exportar_excel(carpeta.filePath(QStringLiteral("Datos.xlsx")), grilla);
    QCOMPARE(int(resultado.estado), int(ResultadoExportacion::Estado::Fallo));
    QCOMPARE(resultado.numero, long(ENOSPC));
    QVERIFY2(resultado.descripcion.startsWith(QStringLiteral("No queda espacio en el disco de la carpeta \"")
                                              + QDir::toNativeSeparators(carpeta.path()) + u'"'),
             qPrintable(resultado.descripcion));
    QCOMPARE(listado(carpeta.path()), antes);
}

// Cells whose text the grid makes afresh at each reading (a number in a
// column not written as numbers): each string is freed after its cell and
// its room taken by the next one, and every cell still gets its own text.
void TstExportarExcel::textos_de_paso()
{
    QTemporaryDir carpeta;
    ModeloGrilla grilla;
    llenar(grilla, {QStringLiteral("Valor")}, {});
    constexpr int kFilas = 300;
    grilla.setRows(2 + kFilas);
    for (int i = 0; i < kFilas; ++i)
        grilla.setValorMatrix(2 + i, 0, 1000 + i);
    const QString archivo = carpeta.filePath(QStringLiteral("Datos.xlsx"));
    QVERIFY(exportar_excel(archivo, grilla).escrito());
    const LibroLeido libro = leer_libro(archivo);
    QVERIFY(libro.ok);
    for (int i = 0; i < kFilas; ++i) {
        const QString referencia = QStringLiteral("A%1").arg(2 + i);
        QVERIFY(!libro.celda(referencia).numero);
        QCOMPARE(libro.celda(referencia).valor, QString::number(1000 + i));
    }
}

QTEST_MAIN(TstExportarExcel)
#include "tst_exportar_excel.moc"
