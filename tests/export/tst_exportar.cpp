// SPDX-License-Identifier: GPL-3.0-or-later
// The export window driven by control name, on a private copy of the
// database with a small listing of its own, and the file it writes read back.
#include "data/conexion.h"
#include "data/origen_datos.h"
#include "data/textos.h"
#include "export/exportar.h"
#include "ui/ventana_escritorio.h"
#include "soporte/bits.h"
#include "soporte/libro_leido.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <QSettings>
#include <QtTest>

#include <memory>

using namespace velmora;

namespace {

constexpr int kMuchos = 9000;

const QString kLargo = QStringLiteral("Porcentaje de cumplimiento del plan anual de mantenimiento preventivo de equipos críticos");

// Three records: accents, a Null value, a name longer than a cell holds.
const char* const kRegistros[] = {
    "CREATE TABLE registros_prueba (orden INTEGER PRIMARY KEY, anio INTEGER, mes TEXT, indicador TEXT, "
    "tipo TEXT, desempeno TEXT, unidad TEXT, base DOUBLE PRECISION, valor DOUBLE PRECISION, meta DOUBLE PRECISION)",
    "INSERT INTO registros_prueba VALUES "
    "(1, 2005, 'Enero', 'Satisfacción del cliente', 'Principal      ', 'Creciente      ', '%         ', 60, 72.5, 80), "
    "(2, 2005, 'Febrero', 'Rotación de personal', 'Departamentales', 'Decreciente    ', 'Personas  ', 12, NULL, 10.25), "
    "(3, 2006, 'Diciembre', 'Porcentaje de cumplimiento del plan anual de mantenimiento preventivo de equipos "
    "críticos', 'Principal      ', 'Creciente      ', '%         ', 0, -3.5, 100)",
};

// What "Exec Exportar" lists in place of the demo records.
const QString kListado = QStringLiteral(
    "SELECT anio AS \"año\", mes AS \"Mes\", indicador AS \"Indicador\", tipo AS \"Tipo Indicador\", "
    "desempeno AS \"desempeño\", unidad AS \"unidad\", base AS \"Nivel Base\", valor AS \"Valor\", "
    "meta AS \"Meta C/P\" FROM registros_prueba ORDER BY orden");

const QStringList kEncabezados = {
    QStringLiteral("Año"),        QStringLiteral("Mes"),   QStringLiteral("Indicador"),
    QStringLiteral("Tipo Indicador"), QStringLiteral("Desempeño"), QStringLiteral("Unidad"),
    QStringLiteral("Nivel Base"), QStringLiteral("Valor"), QStringLiteral("Meta"),
};

// Counts the progress dialogs shown while it lives.
class VigiaProgreso final : public QObject {
public:
    VigiaProgreso() { qApp->installEventFilter(this); }
    ~VigiaProgreso() override { qApp->removeEventFilter(this); }
    int mostrados = 0;
    QList<QWidget*> padres;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (auto* dialogo = qobject_cast<QProgressDialog*>(objeto); dialogo && evento->type() == QEvent::Show) {
            ++mostrados;
            padres << dialogo->parentWidget();
        }
        return false;
    }
};

// When the progress dialog appears, does what an impatient user would: Escape
// on the dialog, then a press of the given button of the window.
class Intruso final : public QObject {
public:
    explicit Intruso(QPushButton* boton) : boton_(boton) { qApp->installEventFilter(this); }
    ~Intruso() override { qApp->removeEventFilter(this); }
    int intentos = 0;
    bool cerrado_por_escape = false;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        auto* dialogo = qobject_cast<QProgressDialog*>(objeto);
        if (evento->type() == QEvent::Show && dialogo && !armado_) {
            armado_ = true;
            // Delivered by the job's own event processing, as the user's keys are.
            QMetaObject::invokeMethod(
                this,
                [this, dialogo] {
                    ++intentos;
                    QTest::keyClick(dialogo, Qt::Key_Escape);
                    cerrado_por_escape = cerrado_por_escape || !dialogo->isVisible();
                    boton_->click();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QPushButton* boton_;
    bool armado_ = false;
};

} // namespace

class TstExportar final : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void carga();
    // Before "errores": a database error there leaves the application ending,
    // which would close the next modal dialog at once.
    void examinar_elige_el_archivo();
    void llenar_y_exportar_data();
    void llenar_y_exportar();
    void exportar_sin_llenar();
    void llenar_sin_registros();
    void errores_data();
    void errores();
    void lectura_que_falla();
    void llenar_que_falla_en_postgres();
    void muchos_registros();
    void una_tarea_a_la_vez_data();
    void una_tarea_a_la_vez();
    void base_demo();
    void diecisiete_cifras();
    void reemplazar_solo_si_se_acepta_data();
    void reemplazar_solo_si_se_acepta();
    void ruta_con_caracter_de_control_data();
    void ruta_con_caracter_de_control();
    void nombre_sin_carpeta_data();
    void nombre_sin_carpeta();
    void recuerda_la_ruta();

private:
    static void registros_prueba();
    static void muchos_registros_prueba();
    void press(const char* boton);

    std::unique_ptr<BasePrueba> base_;
    std::unique_ptr<Exportar> ventana_;
    std::unique_ptr<QTemporaryDir> carpeta_;
    Grilla* grilla_ = nullptr;
    QLineEdit* texto_ = nullptr;
};

void TstExportar::init()
{
    configuracion().remove(QStringLiteral("exportar/ruta"));
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
    carpeta_ = std::make_unique<QTemporaryDir>();
    ventana_ = std::make_unique<Exportar>();
    ventana_->show();
    grilla_ = ventana_->findChild<Grilla*>(QStringLiteral("MSHFlexGrid"));
    texto_ = ventana_->findChild<QLineEdit*>(QStringLiteral("Text1"));
    QVERIFY(grilla_ && texto_);
}

void TstExportar::cleanup()
{
    ventana_.reset();
    Conexion().observar({});
    Conexion().cerrar();
    base_.reset();
    carpeta_.reset();
}

// Puts the small listing behind "Exec Exportar" in place of the demo records.
void TstExportar::registros_prueba()
{
    for (const char* sql : kRegistros)
        Conexion().ejecutar(QString::fromUtf8(sql));
    procedimiento_prueba(QStringLiteral("Exportar"), 0, kListado);
}

// Enough records for the progress dialog, in more than one batch: record i
// is "Indicador i" of year 2000 + i % 20, baseline i, value i + 0.5.
void TstExportar::muchos_registros_prueba()
{
    registros_prueba();
    Conexion().ejecutar(QStringLiteral("DELETE FROM registros_prueba"));
    Conexion().ejecutar(QStringLiteral(
        "INSERT INTO registros_prueba SELECT i, 2000 + i %% 20, 'Marzo', 'Indicador ' || i, 'Principal      ', "
        "'Creciente      ', '%%         ', i, i + 0.5, NULL FROM "
        "(WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < %1) SELECT i FROM k) AS n")
        .arg(kMuchos).replace(QStringLiteral("%%"), QStringLiteral("%")));
}

void TstExportar::press(const char* boton)
{
    pulsar(ventana_.get(), QLatin1String(boton));
}

void TstExportar::carga()
{
    QCOMPARE(ventana_->objectName(), QStringLiteral("Exportar"));
    QCOMPARE(ventana_->windowTitle(), QStringLiteral("Exportar"));
    QCOMPARE(texto_->text(), ruta_exportar_por_defecto());
    QCOMPARE(QFileInfo(texto_->text()).fileName(), QStringLiteral("Datos.xlsx"));
    QCOMPARE(grilla_->Rows(), 2);
    QCOMPARE(grilla_->Cols(), 9);
    QCOMPARE(grilla_->FixedRows(), 1);
    QCOMPARE(grilla_->FixedCols(), 0);
    QCOMPARE(fila(*grilla_, 0), kEncabezados);
    QCOMPARE(fila(*grilla_, 1), QStringList(9, QString()));
    const struct { const char* nombre; const char* texto; } botones[] = {{"Command2", "Llenar"}, {"Command1", "Exportar"}};
    for (const auto& b : botones) {
        auto* boton = ventana_->findChild<QPushButton*>(QLatin1String(b.nombre));
        QVERIFY2(boton, b.nombre);
        QCOMPARE(boton->text(), QString::fromUtf8(b.texto));
        QVERIFY(!boton->icon().isNull());
    }
    guardar_captura(ventana_.get(), QStringLiteral("exportar"));
}

void TstExportar::llenar_y_exportar_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("coma");
    QTest::newRow("C") << "C" << ".";
    QTest::newRow("español") << "es_ES" << ",";
}

void TstExportar::llenar_y_exportar()
{
    QFETCH(QString, locale);
    QFETCH(QString, coma);
    registros_prueba();
    const LocalePrueba l(locale);

    int ejecuciones = 0;
    Conexion().observar([&](const QString& texto) {
        QCOMPARE(texto, QStringLiteral("Exec Exportar"));
        ++ejecuciones;
    });
    // Pressed twice: the listing is built afresh, one walk per press.
    press("Command2");
    press("Command2");
    QCOMPARE(ejecuciones, 2);
    QCOMPARE(grilla_->Rows(), 5);
    QCOMPARE(fila(*grilla_, 0), kEncabezados);
    QCOMPARE(fila(*grilla_, 1), QStringList(9, QString()));
    QCOMPARE(fila(*grilla_, 2),
             (QStringList{"2005       ", "Enero       ", "Satisfacción del cliente       ",
                          "Principal             ", "Creciente             ", "%                ", "60       ",
                          "72" + coma + "5       ", "80       "}));
    QCOMPARE(fila(*grilla_, 3),
             (QStringList{"2005       ", "Febrero       ", "Rotación de personal       ",
                          "Departamentales       ", "Decreciente           ", "Personas         ", "12       ",
                          "       ", "10" + coma + "25       "}));
    QCOMPARE(grilla_->TextMatrix(3, 7), QStringLiteral("       "));
    QCOMPARE(grilla_->TextMatrix(4, 2), kLargo.left(80));
    QCOMPARE(grilla_->TextMatrix(4, 7), QStringLiteral("-3") + coma + QStringLiteral("5       "));
    // The year and the three figures are kept as the numbers read, the
    // rest as texts; the file is written from them without reading text.
    const ModeloGrilla& modelo = *grilla_->modelo();
    QCOMPARE_BITS(modelo.ValorMatrix(2, 0), 2005.0);
    QCOMPARE_BITS(modelo.ValorMatrix(2, 7), 72.5);
    QCOMPARE_BITS(modelo.ValorMatrix(3, 8), 10.25);
    QCOMPARE_BITS(modelo.ValorMatrix(4, 7), -3.5);
    QCOMPARE(modelo.ValorMatrix(3, 7), std::nullopt);
    for (int c = 1; c <= 5; ++c)
        QCOMPARE(modelo.ValorMatrix(2, c), std::nullopt);
    guardar_captura(ventana_.get(), QStringLiteral("exportar_") + locale);

    const QString archivo = carpeta_->filePath(QStringLiteral("Datos.xlsx"));
    texto_->setText(archivo);
    RegistroMensajes mensajes;
    press("Command1");
    QCOMPARE(mensajes.textos(), QStringList{QStringLiteral(" Datos exportados ") + QDir::toNativeSeparators(archivo)});
    QCOMPARE(mensajes.mensajes[0].titulo, QString());
    QCOMPARE(mensajes.mensajes[0].icono, IconoMensaje::Informacion);

    const LibroLeido libro = leer_libro(archivo);
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QCOMPARE(libro.fila(1), kEncabezados);
    QCOMPARE(libro.ultima_fila, 4);
    QCOMPARE(libro.fila(2), (QStringList{"2005", "Enero", "Satisfacción del cliente", "Principal", "Creciente",
                                         "%", "60", "72.5", "80"}));
    QCOMPARE(libro.fila(3), (QStringList{"2005", "Febrero", "Rotación de personal", "Departamentales",
                                         "Decreciente", "Personas", "12", "", "10.25"}));
    QCOMPARE(libro.fila(4), (QStringList{"2006", "Diciembre", kLargo.left(80), "Principal", "Creciente", "%",
                                         "0", "-3.5", "100"}));
    QVERIFY(!libro.tiene(QStringLiteral("H3")));
    // Year and the three figures are numbers, everything else text.
    for (int f = 2; f <= 4; ++f) {
        for (int c = 0; c < 9; ++c) {
            const QString ref = QString(QChar(u'A' + c)) + QString::number(f);
            if (!libro.tiene(ref))
                continue;
            QCOMPARE(libro.celda(ref).numero, c == 0 || c >= 6);
        }
    }
}

void TstExportar::exportar_sin_llenar()
{
    const QString archivo = carpeta_->filePath(QStringLiteral("Datos.xlsx"));
    texto_->setText(archivo);
    RegistroMensajes mensajes;
    press("Command1");
    QCOMPARE(mensajes.textos(), QStringList{QStringLiteral(" Datos exportados ") + QDir::toNativeSeparators(archivo)});
    const LibroLeido libro = leer_libro(archivo);
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QCOMPARE(libro.fila(1), kEncabezados);
    QCOMPARE(libro.ultima_fila, 1);
}

void TstExportar::llenar_sin_registros()
{
    registros_prueba();
    press("Command2");
    QCOMPARE(grilla_->Rows(), 5);
    Conexion().ejecutar(QStringLiteral("DELETE FROM registros_prueba"));
    press("Command2");
    QCOMPARE(grilla_->Rows(), 2);
    QCOMPARE(fila(*grilla_, 0), kEncabezados);
}

void TstExportar::errores_data()
{
    QTest::addColumn<QString>("ruta"); // %1 is the test's folder
    QTest::addColumn<QString>("patron");
    QTest::newRow("ruta vacía") << "" << "^ Falta el Path del archivo de Excel $";
    QTest::newRow("ruta de blancos")
        << "   " << "^No se pudo exportar \\(error \\d+\\): \"   \" no es un nombre de archivo válido\\.\n"
                    "Elija otra carpeta o nombre con «Examinar...» y pulse «Exportar» de nuevo\\.$";
    // Spanish under any locale: never the C library's "No such file or directory".
    QTest::newRow("carpeta que no existe")
        << "%1/no_existe/Datos.xlsx"
        << "^No se pudo exportar a .*no_existe.Datos\\.xlsx \\(error 2\\): No existe la carpeta \".*no_existe\": no "
           "existe el archivo o la carpeta\\.\nElija otra carpeta";
}

void TstExportar::errores()
{
    QFETCH(QString, ruta);
    QFETCH(QString, patron);
    registros_prueba();
    press("Command2");
    texto_->setText(ruta.contains(QStringLiteral("%1")) ? ruta.arg(carpeta_->path()) : ruta);
    RegistroMensajes mensajes;
    press("Command1");
    // Only the failure is told; no success message follows.
    QCOMPARE(mensajes.mensajes.size(), 1);
    QVERIFY2(QRegularExpression(patron).match(mensajes.mensajes[0].texto).hasMatch(),
             qPrintable(mensajes.mensajes[0].texto));
    QCOMPARE(mensajes.mensajes[0].titulo, QString());
    QCOMPARE(mensajes.mensajes[0].icono, IconoMensaje::Ninguno);
    QVERIFY(QDir(carpeta_->path()).isEmpty());
    QCOMPARE(grilla_->Rows(), 5);
}

void TstExportar::lectura_que_falla()
{
    // The second record fails while it is read (an integer overflow): no
    // listing of one record to export; on SQLite the error is shown and the
    // program ends.
    registros_prueba();
    procedimiento_prueba(QStringLiteral("Exportar"), 0,
                         QString(kListado).replace(QStringLiteral("valor AS"),
                                                   QStringLiteral("CASE WHEN orden = 2 THEN abs(-9223372036854775807 "
                                                                  "- (orden - 1)) ELSE valor END AS")));
    texto_->setText(carpeta_->filePath(QStringLiteral("Datos.xlsx")));
    RegistroMensajes mensajes;
    if (en_postgres()) {
        // The server fails the statement as it runs it, before a row: its
        // refusal is a message and the user goes on, with no listing.
        press("Command2");
        // In the server's words, English or Spanish as its messages are set.
        QCOMPARE(mensajes.mensajes.size(), 1);
        QVERIFY2(mensajes.mensajes[0].texto == QStringLiteral("bigint out of range")
                     || mensajes.mensajes[0].texto == QStringLiteral("bigint fuera de rango"),
                 qPrintable(mensajes.mensajes[0].texto));
        QCOMPARE(grilla_->Rows(), 2);
        QVERIFY(ventana_->isVisible());
        QVERIFY(QDir(carpeta_->path()).isEmpty());
        return;
    }
    QTimer::singleShot(0, ventana_.get(), [this] { press("Command2"); });
    QTimer::singleShot(2000, qApp, [] { QCoreApplication::exit(-1); });
    QCOMPARE(QCoreApplication::exec(), 1);
    QCOMPARE(mensajes.mensajes.size(), 1);
    QCOMPARE(mensajes.mensajes[0].icono, IconoMensaje::Critico);
    QVERIFY2(mensajes.mensajes[0].texto.contains(QStringLiteral("overflow")), qPrintable(mensajes.mensajes[0].texto));
    QVERIFY(QDir(carpeta_->path()).isEmpty());
    QVERIFY(!ventana_->isVisible());
}

// On a server the listing comes in blocks (UseDeclareFetch): a database
// error while a later block is fetched (here a division by zero at row
// 1501) is a message, the listing stays empty, and "Exportar" writes nothing
// and says why until a "Llenar" reads the whole listing.
void TstExportar::llenar_que_falla_en_postgres()
{
    QVERIFY2(!dsn_postgres().isEmpty(), "no PostgreSQL server (VELMORA_PG_DSN): run through scripts/con_postgres.sh");
    const QString nombre = QStringLiteral("velmora_exportar_%1").arg(QCoreApplication::applicationPid());
    Conexion().cerrar();
    BasePostgres servidor(nombre);
    Conexion().abrir(QStringLiteral("FILEDSN=") + servidor.dsn());
    // No sort step: rows leave the server as they are read, so the error
    // comes with a later block, not with the first.
    Conexion().ejecutar(QStringLiteral("ALTER DATABASE %1 SET enable_sort = off").arg(nombre));
    Conexion().ejecutar(QStringLiteral(
        "CREATE TABLE fallo AS SELECT r.id FROM registro r "
        "WHERE r.valor IS NOT NULL OR r.meta IS NOT NULL OR r.linea_base IS NOT NULL "
        "ORDER BY r.id_anio, r.mes, r.id_indicador, r.id_departamento OFFSET 1500 LIMIT 1"));
    Conexion().ejecutar(QStringLiteral(R"(
CREATE OR REPLACE FUNCTION "Exportar"()
RETURNS TABLE ("año" integer, "Mes" varchar, "Indicador" varchar, "Tipo Indicador" bpchar,
               "desempeño" bpchar, "unidad" bpchar, "Nivel Base" double precision,
               "Valor" double precision, "Meta C/P" double precision)
LANGUAGE sql STABLE AS $$
    SELECT a.año, m.nombre, i.nombre, t."Tipo Indicador", d.desempeño, u.unidad,
           r.linea_base, r.valor, r.meta + 0 * (1 / CASE WHEN r.id = (SELECT id FROM fallo) THEN 0 ELSE 1 END)
    FROM registro r
    JOIN año a ON a.id = r.id_anio
    JOIN mes m ON m.id = r.mes
    JOIN indicador i ON i.id = r.id_indicador
    JOIN "Tipo Indicador" t ON t.id = i.id_tipo
    JOIN desempeño d ON d.id = i.id_desempeno
    JOIN "Tipo Unidad" u ON u.id = i.id_unidad
    WHERE r.valor IS NOT NULL OR r.meta IS NOT NULL OR r.linea_base IS NOT NULL
    ORDER BY r.id_anio, r.mes, r.id_indicador, r.id_departamento
$$)"));
    const int total = Conexion().ejecutar(QStringLiteral(
        "SELECT count(*) AS n FROM registro WHERE valor IS NOT NULL OR meta IS NOT NULL OR linea_base IS NOT NULL"))
                          .campo(QStringLiteral("n")).toInt();
    QVERIFY(total > 1501);
    Conexion().cerrar();
    Conexion().abrir(QStringLiteral("FILEDSN=") + servidor.dsn());

    const QString archivo = carpeta_->filePath(QStringLiteral("Datos.xlsx"));
    texto_->setText(archivo);
    RegistroMensajes mensajes;
    Comandos comandos;
    press("Command2");
    QCOMPARE(comandos.textos, QStringList{QStringLiteral("Exec Exportar")});
    QCOMPARE(mensajes.mensajes.size(), 1);
    QVERIFY2(mensajes.mensajes[0].texto.contains(QStringLiteral("division by zero"))
                 || mensajes.mensajes[0].texto.contains(QStringLiteral("división por cero")),
             qPrintable(mensajes.mensajes[0].texto));
    QCOMPARE(grilla_->Rows(), 2);
    QCOMPARE(fila(*grilla_, 1), QStringList(9, QString()));

    press("Command1");
    QCOMPARE(mensajes.mensajes.size(), 2);
    const QString aviso = mensajes.mensajes[1].texto;
    QVERIFY2(aviso.contains(QStringLiteral("La lista está incompleta")) && aviso.contains(QStringLiteral("«Llenar»")),
             qPrintable(aviso));
    QCOMPARE(mensajes.mensajes[1].titulo, QStringLiteral("Mensajes"));
    QVERIFY(QDir(carpeta_->path()).isEmpty());

    // The whole listing read, it exports.
    Conexion().ejecutar(QStringLiteral("DELETE FROM fallo"));
    press("Command2");
    QCOMPARE(mensajes.mensajes.size(), 2);
    QCOMPARE(grilla_->Rows(), total + 2);
    press("Command1");
    QCOMPARE(mensajes.mensajes.size(), 3);
    QVERIFY2(mensajes.mensajes[2].texto.startsWith(QStringLiteral(" Datos exportados ")),
             qPrintable(mensajes.mensajes[2].texto));
    QCOMPARE(leer_libro(archivo).ultima_fila, total + 1);
    Conexion().cerrar();
}

void TstExportar::muchos_registros()
{
    const int n = kMuchos;
    muchos_registros_prueba();
    VigiaProgreso vigia;
    press("Command2");
    QCOMPARE(vigia.mostrados, 1);
    QCOMPARE(grilla_->Rows(), n + 2);
    for (int i : {1, 4096, 4097, n}) {
        QCOMPARE(grilla_->TextMatrix(i + 1, 2), QStringLiteral("Indicador %1       ").arg(i));
        QCOMPARE(grilla_->TextMatrix(i + 1, 6), QStringLiteral("%1       ").arg(i));
    }

    const QString archivo = carpeta_->filePath(QStringLiteral("Datos.xlsx"));
    texto_->setText(archivo);
    RegistroMensajes mensajes;
    press("Command1");
    QCOMPARE(vigia.mostrados, 2);
    // Both over the export window, whichever window is active.
    QCOMPARE(vigia.padres, (QList<QWidget*>{ventana_.get(), ventana_.get()}));
    QCOMPARE(mensajes.textos(), QStringList{QStringLiteral(" Datos exportados ") + QDir::toNativeSeparators(archivo)});
    const LibroLeido libro = leer_libro(archivo);
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QCOMPARE(libro.ultima_fila, n + 1);
    QCOMPARE(libro.fila(n + 1), (QStringList{QString::number(2000 + n % 20), "Marzo", QStringLiteral("Indicador %1").arg(n),
                                             "Principal", "Creciente", "%", QString::number(n),
                                             QString::number(n) + ".5", ""}));
    QCOMPARE(libro.celdas.size(), 9 + 8 * n);
}

void TstExportar::una_tarea_a_la_vez_data()
{
    QTest::addColumn<QString>("tarea");
    QTest::addColumn<QString>("intruso");
    QTest::newRow("Exportar durante Llenar") << "Command2" << "Command1";
    QTest::newRow("Llenar durante Llenar") << "Command2" << "Command2";
    QTest::newRow("Llenar durante Exportar") << "Command1" << "Command2";
    QTest::newRow("Exportar durante Exportar") << "Command1" << "Command1";
}

void TstExportar::una_tarea_a_la_vez()
{
    QFETCH(QString, tarea);
    QFETCH(QString, intruso);
    const int n = kMuchos;
    muchos_registros_prueba();
    const QString archivo = carpeta_->filePath(QStringLiteral("Datos.xlsx"));
    texto_->setText(archivo);
    if (tarea == QStringLiteral("Command1"))
        press("Command2");

    RegistroMensajes mensajes;
    bool cerrado_por_escape = false;
    {
        Intruso intrusion(ventana_->findChild<QPushButton*>(intruso));
        press(qPrintable(tarea));
        QCOMPARE(intrusion.intentos, 1);
        cerrado_por_escape = intrusion.cerrado_por_escape;
    }
    // The press was dropped: one listing, one file, each whole.
    QCOMPARE(grilla_->Rows(), n + 2);
    QCOMPARE(grilla_->TextMatrix(n + 1, 2), QStringLiteral("Indicador %1       ").arg(n));
    if (tarea == QStringLiteral("Command2")) {
        QCOMPARE(mensajes.textos(), QStringList());
        QVERIFY(QDir(carpeta_->path()).isEmpty());
    } else {
        QCOMPARE(mensajes.textos(), QStringList{QStringLiteral(" Datos exportados ") + QDir::toNativeSeparators(archivo)});
        const LibroLeido libro = leer_libro(archivo);
        QVERIFY2(libro.ok, qPrintable(libro.error));
        QCOMPARE(libro.ultima_fila, n + 1);
        QCOMPARE(libro.celdas.size(), 9 + 8 * n);
    }
    QVERIFY(!cerrado_por_escape);
}

void TstExportar::base_demo()
{
    const LocalePrueba l(QStringLiteral("C"));
    // The records as the procedure gives them, walked here on their own.
    const QStringList campos = {"año", "Mes", "Indicador", "Tipo Indicador", "desempeño",
                                "unidad", "Nivel Base", "Valor", "Meta C/P"};
    QList<QStringList> registros;
    QList<QList<std::optional<double>>> numeros; // as the data layer reads them, never through a text
    for (Resultado r = Conexion().ejecutar(QStringLiteral("Exec Exportar")); !r.eof(); r.siguiente()) {
        QStringList fila;
        QList<std::optional<double>> cifras;
        for (const QString& campo : campos) {
            fila << r.texto(campo);
            const QVariant v = r.campo(campo);
            cifras << (v.isNull() ? std::nullopt : std::optional<double>(v.toDouble()));
        }
        registros << fila;
        numeros << cifras;
    }
    QVERIFY(registros.size() > 100);

    press("Command2");
    QCOMPARE(grilla_->Rows(), int(registros.size()) + 2);
    QCOMPARE(registros.size(), 2039);
    QCOMPARE(fila(*grilla_, 2), (QStringList{"2008       ", "Enero       ", "Margen operativo       ",
                                             "Principal             ", "Creciente             ",
                                             "%                ", "8       ", "14       ", "15       "}));
    QCOMPARE(fila(*grilla_, 2040), (QStringList{"2026       ", "Diciembre       ", "Ausentismo       ",
                                                "Departamentales       ", "Decreciente           ",
                                                "%                ", "6       ", "3.9       ", "2.5       "}));
    // Every row holds the procedure's texts, in its order.
    for (int i = 0; i < registros.size(); ++i)
        for (int c = 0; c < 9; ++c)
            QCOMPARE(grilla_->TextMatrix(i + 2, c).trimmed(), registros[i][c].trimmed());

    const QString archivo = carpeta_->filePath(QStringLiteral("Datos.xlsx"));
    texto_->setText(archivo);
    RegistroMensajes mensajes;
    press("Command1");
    QCOMPARE(mensajes.textos(), QStringList{QStringLiteral(" Datos exportados ") + QDir::toNativeSeparators(archivo)});
    const LibroLeido libro = leer_libro(archivo);
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QCOMPARE(libro.fila(1), kEncabezados);
    QCOMPARE(libro.ultima_fila, int(registros.size()) + 1);
    bool acentos = false;
    for (int i = 0; i < registros.size(); ++i) {
        for (int c = 0; c < 9; ++c) {
            const QString ref = QString(QChar(u'A' + c)) + QString::number(i + 2);
            const QString dato = registros[i][c].trimmed();
            QCOMPARE(libro.tiene(ref), !dato.isEmpty());
            if (dato.isEmpty())
                continue;
            const LibroLeido::Celda celda = libro.celda(ref);
            // Year and the three figures are numbers; names and codes are text.
            QCOMPARE(celda.numero, c == 0 || c >= 6);
            if (celda.numero)
                QCOMPARE_BITS(leer_exacto(celda.valor), numeros[i][c]);
            else
                QCOMPARE(celda.valor, dato);
            acentos = acentos || celda.valor.contains(u'ó');
        }
    }
    QVERIFY(acentos);
}

// Stored values that need 17 significant digits: the listing keeps them
// whole, and so must the workbook.
void TstExportar::diecisiete_cifras()
{
    // Worked out by the engine in doubles: 0,1 + 0,2 and the double after 1.
    Conexion().ejecutar(QStringLiteral("UPDATE registro SET valor = CAST(0.1 AS double precision) + "
                                       "CAST(0.2 AS double precision), meta = 1 + CAST(1 AS double precision) "
                                       "/ 4503599627370496"));
    press("Command2");
    QVERIFY(grilla_->Rows() > 2);
    const ModeloGrilla& modelo = *grilla_->modelo();
    QCOMPARE_BITS(modelo.ValorMatrix(2, 7), 0x1.3333333333334p-2);
    QCOMPARE_BITS(modelo.ValorMatrix(2, 8), 0x1.0000000000001p+0);

    const QString archivo = carpeta_->filePath(QStringLiteral("Datos.xlsx"));
    texto_->setText(archivo);
    RegistroMensajes mensajes;
    press("Command1");
    QCOMPARE(mensajes.textos(), QStringList{QStringLiteral(" Datos exportados ") + QDir::toNativeSeparators(archivo)});
    const LibroLeido libro = leer_libro(archivo);
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QVERIFY(libro.celda(QStringLiteral("H2")).numero);
    QEXPECT_FAIL("", "libxlsxwriter writes numbers with 16 digits (%.16G): 0,30000000000000004 comes back as 0,3",
                 Continue);
    QCOMPARE_BITS(leer_exacto(libro.celda(QStringLiteral("H2")).valor), 0x1.3333333333334p-2);
    QEXPECT_FAIL("", "libxlsxwriter writes numbers with 16 digits (%.16G): 1,0000000000000002 comes back as 1",
                 Continue);
    QCOMPARE_BITS(leer_exacto(libro.celda(QStringLiteral("I2")).valor), 0x1.0000000000001p+0);
}

void TstExportar::reemplazar_solo_si_se_acepta_data()
{
    QTest::addColumn<bool>("respuesta");
    QTest::newRow("sí") << true;
    QTest::newRow("no") << false;
}

// An existing file is replaced only after the user agrees; the message
// names the file written.
void TstExportar::reemplazar_solo_si_se_acepta()
{
    QFETCH(bool, respuesta);
    const QString archivo = carpeta_->filePath(QStringLiteral("Existente.xlsx"));
    {
        QFile previo(archivo);
        QVERIFY(previo.open(QIODevice::WriteOnly));
        previo.write("de otro programa");
    }
    texto_->setText(archivo);
    RegistroMensajes mensajes;
    mensajes.respuesta = respuesta;
    press("Command1");
    QCOMPARE(mensajes.preguntas.size(), 1);
    QVERIFY(mensajes.preguntas[0].contains(QDir::toNativeSeparators(archivo)));
    QFile leido(archivo);
    QVERIFY(leido.open(QIODevice::ReadOnly));
    if (respuesta) {
        QCOMPARE(mensajes.textos(), QStringList{QStringLiteral(" Datos exportados ") + QDir::toNativeSeparators(archivo)});
        QVERIFY(leido.readAll() != "de otro programa");
    } else {
        QCOMPARE(mensajes.textos(), QStringList());
        QCOMPARE(leido.readAll(), QByteArray("de otro programa"));
    }
    // A new file is written without asking.
    mensajes.preguntas.clear();
    texto_->setText(carpeta_->filePath(QStringLiteral("Nuevo.xlsx")));
    press("Command1");
    QCOMPARE(mensajes.preguntas, QStringList());
    QVERIFY(QFileInfo::exists(carpeta_->filePath(QStringLiteral("Nuevo.xlsx"))));
}

void TstExportar::ruta_con_caracter_de_control_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("visible");
    QTest::newRow("NUL") << QStringLiteral("Da") + QChar(0) + QStringLiteral("tos.xlsx") << "Da[U+0000]tos.xlsx";
    QTest::newRow("tabulador") << "Da\ttos.xlsx" << "Da[U+0009]tos.xlsx";
    QTest::newRow("retorno") << "Datos.xlsx\r" << "Datos.xlsx[U+000D]";
    QTest::newRow("escape") << "Da\x1btos.xlsx" << "Da[U+001B]tos.xlsx";
    QTest::newRow("C1") << QStringLiteral("Da\u009btos.xlsx") << "Da[U+009B]tos.xlsx";
}

// A control character in the path (pasted with it) is refused with a
// message that shows where it is: no question, nothing written, and the
// file a NUL would cut the name to stays as it was.
void TstExportar::ruta_con_caracter_de_control()
{
    QFETCH(QString, nombre);
    QFETCH(QString, visible);
    registros_prueba();
    press("Command2");
    const QString corto = carpeta_->filePath(QStringLiteral("Da"));
    {
        QFile previo(corto);
        QVERIFY(previo.open(QIODevice::WriteOnly));
        previo.write("de otro programa");
    }
    texto_->setText(carpeta_->path() + u'/' + nombre);
    RegistroMensajes mensajes;
    press("Command1");
    QCOMPARE(mensajes.preguntas, QStringList());
    QCOMPARE(mensajes.mensajes.size(), 1);
    const QString texto = mensajes.mensajes[0].texto;
    QVERIFY2(texto.contains(QStringLiteral("\"") + QDir::toNativeSeparators(carpeta_->path()) + u'/' + visible
                            + QStringLiteral("\" tiene un carácter de control")),
             qPrintable(texto));
    QVERIFY2(!texto.contains(QStringLiteral("Datos exportados")), qPrintable(texto));
    QCOMPARE(QDir(carpeta_->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Da")});
    QFile leido(corto);
    QVERIFY(leido.open(QIODevice::ReadOnly));
    QCOMPARE(leido.readAll(), QByteArray("de otro programa"));
}

// "Examinar..." opens a save dialog at the path box's folder; cancelled,
// the box keeps its file.
void TstExportar::examinar_elige_el_archivo()
{
    auto* examinar = ventana_->findChild<QPushButton*>(QStringLiteral("cmd_examinar"));
    QVERIFY(examinar);
    QCOMPARE(examinar->text(), QStringLiteral("Examinar..."));
    texto_->setText(carpeta_->filePath(QStringLiteral("Datos.xlsx")));
    QString inicial;
    bool para_guardar = false;
    // The dialog opens once the press is handled; answer it when it is there.
    QTimer espera;
    espera.setInterval(10);
    connect(&espera, &QTimer::timeout, this, [&] {
        auto* dialogo = ventana_->findChild<QFileDialog*>(QStringLiteral("dialogo_exportar"));
        if (!dialogo || !dialogo->isVisible())
            return;
        espera.stop();
        inicial = dialogo->directory().absolutePath();
        para_guardar = dialogo->acceptMode() == QFileDialog::AcceptSave;
        dialogo->reject();
    });
    espera.start();
    QTest::mouseClick(examinar, Qt::LeftButton);
    QVERIFY(para_guardar);
    QCOMPARE(inicial, QDir(carpeta_->path()).absolutePath());
    // Cancelled: the box keeps its file.
    QCOMPARE(texto_->text(), carpeta_->filePath(QStringLiteral("Datos.xlsx")));
}

void TstExportar::nombre_sin_carpeta_data()
{
    QTest::addColumn<QString>("escrito"); // what the user types
    QTest::addColumn<QString>("archivo"); // the file in the export folder
    QTest::newRow("nombre con extensión") << "Datos.xlsx" << "Datos.xlsx";
    QTest::newRow("sin extensión") << "informe" << "informe.xlsx";
    QTest::newRow("extensión .xls") << "viejo.xls" << "viejo.xlsx";
}

// A bare name is written into the export folder with ".xlsx": the question
// is asked about that file (which exists there, not in the current folder),
// and the message names it.
void TstExportar::nombre_sin_carpeta()
{
    QFETCH(QString, escrito);
    QFETCH(QString, archivo);
    const QString ruta = QFileInfo(ruta_exportar_por_defecto()).dir().filePath(archivo);
    QFile::remove(ruta);
    {
        QFile previo(ruta);
        QVERIFY(previo.open(QIODevice::WriteOnly));
        previo.write("de otro programa");
    }
    QVERIFY(!QFileInfo::exists(escrito)); // nothing of that name where the program runs
    registros_prueba();
    press("Command2");
    texto_->setText(escrito);
    RegistroMensajes mensajes;
    mensajes.respuesta = false;
    press("Command1");
    QCOMPARE(mensajes.preguntas.size(), 1);
    QVERIFY2(mensajes.preguntas[0].contains(QDir::toNativeSeparators(ruta)), qPrintable(mensajes.preguntas[0]));
    QCOMPARE(mensajes.textos(), QStringList());
    {
        QFile leido(ruta);
        QVERIFY(leido.open(QIODevice::ReadOnly));
        QCOMPARE(leido.readAll(), QByteArray("de otro programa"));
    }
    mensajes.respuesta = true;
    press("Command1");
    QCOMPARE(mensajes.textos(), QStringList{QStringLiteral(" Datos exportados ") + QDir::toNativeSeparators(ruta)});
    QFile leido(ruta);
    QVERIFY(leido.open(QIODevice::ReadOnly));
    QVERIFY(leido.readAll().startsWith("PK"));
    leido.close();
    QFile::remove(ruta);
}

// The path of the last export comes back in the next run.
void TstExportar::recuerda_la_ruta()
{
    registros_prueba();
    press("Command2");
    const QString archivo = carpeta_->filePath(QStringLiteral("Recordado.xlsx"));
    texto_->setText(carpeta_->filePath(QStringLiteral("Recordado")));
    RegistroMensajes mensajes;
    press("Command1");
    QCOMPARE(mensajes.textos(), QStringList{QStringLiteral(" Datos exportados ") + QDir::toNativeSeparators(archivo)});
    ventana_.reset();
    configuracion().sync();
    QCOMPARE(QSettings(carpeta_configuracion(), QSettings::IniFormat).value(QStringLiteral("exportar/ruta")).toString(),
             QDir::toNativeSeparators(archivo));
    ventana_ = std::make_unique<Exportar>();
    texto_ = ventana_->findChild<QLineEdit*>(QStringLiteral("Text1"));
    QCOMPARE(texto_->text(), QDir::toNativeSeparators(archivo));
}

QTEST_MAIN(TstExportar)
#include "tst_exportar.moc"
