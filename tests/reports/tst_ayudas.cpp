// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/conexion.h"
#include "data/textos.h"
#include "reports/departamentales.h"
#include "reports/principales.h"
#include "reports/reporte_estado.h"
#include "reports/ventana_reporte.h"
#include "soporte/pdf_leido.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"
#include "ui/archivo_pdf.h"
#include "ui/impresion.h"
#include "ui/maqueta.h"
#include "ui/pagina_impresion.h"
#include "ui/leyenda.h"
#include "ui/ventana_escritorio.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QStandardPaths>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

using namespace velmora;

// Pictures that explain themselves, the legend, and printing what a report shows.
class TstAyudas final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void reporte_con_ayudas_y_leyenda();
    void pdf_de_cada_reporte_data();
    void pdf_de_cada_reporte();
    void papel_y_pdf_iguales();
    void pagina_del_usuario_data();
    void pagina_del_usuario();
    void vista_previa();
    void pdf_que_no_se_escribe_data();
    void pdf_que_no_se_escribe();
    void pdf_en_disco_lleno();
    void pdf_sin_sufijo_data();
    void pdf_sin_sufijo();
    void pdf_con_caracter_de_control_data();
    void pdf_con_caracter_de_control();
    void seleccion_larga();
    void fecha_impresa_en_espanol_data();
    void fecha_impresa_en_espanol();
};

void TstAyudas::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    configuracion().remove(QStringLiteral("impresion")); // no page chosen in an earlier run
    // The set-up installs poppler-utils: without its tools this is a fault, not a skip.
    const QString faltan = faltan_herramientas_pdf();
    QVERIFY2(faltan.isEmpty(), qPrintable(QStringLiteral("faltan ") + faltan + QStringLiteral(" (poppler-utils)")));
}

namespace {

// A report window after "Ver" on the demo database.
std::unique_ptr<QWidget> reporte_visto(bool principal)
{
    std::unique_ptr<QWidget> v;
    if (principal)
        v = std::make_unique<Principales>();
    else
        v = std::make_unique<Departamentales>();
    v->show();
    if (!QTest::qWaitForWindowActive(v.get()))
        return nullptr;
    const auto listas = v->findChildren<QComboBox*>();
    for (QComboBox* l : listas) {
        const QString nombre = l->objectName();
        if (nombre == QStringLiteral("Cmb_Año_Reporte"))
            l->setCurrentText(QStringLiteral("2009 "));
        else if (nombre.startsWith(QStringLiteral("Cmb_mes")) || nombre.startsWith(QStringLiteral("Cmb_Trimestre")))
            l->setCurrentText(principal ? QStringLiteral("Marzo") : QStringLiteral("Octubre"));
        else
            l->setCurrentIndex(0);
    }
    pulsar(v.get(), QStringLiteral("Button_Cargar_ReporteSocial"));
    return v;
}

// The words of a cell text, as pdftotext splits them.
QStringList palabras(const QString& texto)
{
    return texto.simplified().split(u' ', Qt::SkipEmptyParts);
}

} // namespace

void TstAyudas::pdf_de_cada_reporte_data()
{
    QTest::addColumn<bool>("principal");
    QTest::newRow("principales") << true;
    QTest::newRow("departamentales") << false;
}

// Ctrl+Shift+P writes a document a PDF reader shows whole: the title, the
// choices, every row's texts drawn (not covered by a white block) and every
// picture drawn, the legend and the date. The save dialog starts in the
// documents folder, made when it was missing.
void TstAyudas::pdf_de_cada_reporte()
{
    QFETCH(bool, principal);
    BasePrueba base;
    base.abrir();
    RegistroMensajes mensajes;
    std::unique_ptr<QWidget> v = reporte_visto(principal);
    QVERIFY(v);
    QVERIFY2(mensajes.mensajes.isEmpty(), qPrintable(mensajes.textos().join(u'|')));
    auto* grilla = v->findChild<Grilla*>(principal ? QStringLiteral("Flex3") : QStringLiteral("Flex31"));
    QVERIFY(grilla);

    const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QDir(documentos).removeRecursively();
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("reporte.pdf"));
    const QString inicio = pdf_por_teclado(v.get(), ruta);
    QCOMPARE(inicio, QDir(documentos).absolutePath());
    QVERIFY(QDir(documentos).exists());
    QVERIFY(QFile::exists(ruta));
    QVERIFY2(mensajes.mensajes.isEmpty(), qPrintable(mensajes.textos().join(u'|')));

    int paginas = 0;
    const QList<PalabraPdf> todas = palabras_pdf(ruta, &paginas);
    QCOMPARE(paginas, 1);
    const QString texto = textos_pdf(todas).join(u' ');
    const QString nombre = principal ? QStringLiteral("principales") : QStringLiteral("departamentales");
    const int ppp = 100;
    const QImage pagina = pagina_pdf(ruta, 0, ppp, QStringLiteral("pdf_") + nombre + QStringLiteral("_p1"));
    QVERIFY(!pagina.isNull());
    QVERIFY(texto.startsWith(v->windowTitle()));
    QVERIFY2(texto.contains(QStringLiteral("Impreso el")), qPrintable(texto));
    QVERIFY2(texto.contains(QStringLiteral("Año: 2009")), qPrintable(texto));
    QVERIFY2(texto.contains(principal ? QStringLiteral("Mes: Marzo") : QStringLiteral("Mes: Octubre")), qPrintable(texto));

    // Each word of each cell the screen shows is drawn where the PDF says it is.
    auto caja = [&](const QString& palabra, double y_cerca = -1) -> std::optional<QRectF> {
        for (const PalabraPdf& p : todas)
            if (p.texto == palabra && (y_cerca < 0 || qAbs(p.caja.center().y() - y_cerca) < 4))
                return p.caja;
        return std::nullopt;
    };
    const std::optional<QRectF> desempeno = caja(QStringLiteral("Desempeño"));
    const std::optional<QRectF> tendencia = caja(QStringLiteral("Tendencia"));
    QVERIFY(desempeno && tendencia);
    int filas = 0;
    for (int r = 1; r < grilla->Rows(); ++r) {
        const QStringList nombre_fila = palabras(grilla->TextMatrix(r, 0));
        if (nombre_fila.isEmpty())
            continue;
        ++filas;
        const std::optional<QRectF> inicio_fila = caja(nombre_fila.first());
        QVERIFY2(inicio_fila, qPrintable(nombre_fila.first()));
        const double y = inicio_fila->center().y();
        for (int c = 0; c < 3; ++c) {
            for (const QString& palabra : palabras(grilla->TextMatrix(r, c))) {
                const std::optional<QRectF> b = caja(palabra, c == 0 ? -1 : y);
                QVERIFY2(b, qPrintable(QStringLiteral("fila %1: %2 no está en el PDF").arg(r).arg(palabra)));
                QVERIFY2(tinta(pagina, *b, ppp) > 0.03,
                         qPrintable(QStringLiteral("fila %1: %2 está en blanco").arg(r).arg(palabra)));
            }
        }
        // The pictures are drawn in their columns, on the row's line.
        for (const auto& [columna, encabezado] : {std::pair{3, *desempeno}, std::pair{4, *tendencia}}) {
            const QString imagen = grilla->modelo()->CellPicture(r, columna);
            if (imagen.isEmpty() || imagen == QStringLiteral("Blanco"))
                continue;
            const QRectF zona(encabezado.left(), y - 5, encabezado.width(), 10);
            QVERIFY2(tinta(pagina, zona, ppp) > 0.03,
                     qPrintable(QStringLiteral("fila %1: falta la figura %2").arg(r).arg(imagen)));
        }
    }
    QVERIFY(filas > 0);
    // The legend: each picture's meaning, its picture beside it.
    for (const QString& n : imagenes_leyenda()) {
        const QStringList significado = palabras(significado_imagen(n));
        QVERIFY2(texto.contains(significado.join(u' ')), qPrintable(significado.join(u' ')));
    }
    v.reset();
    Conexion().cerrar();
}

// Paper and PDF get one drawing: the report printed as a user prints it
// ("Imprimir...", the print dialog, its printer that writes a file) lands the same
// words in the same places, on a page of the same size, as its PDF
// (Ctrl+Shift+P).
void TstAyudas::papel_y_pdf_iguales()
{
    BasePrueba base;
    base.abrir();
    RegistroMensajes mensajes;
    configuracion().remove(QStringLiteral("impresion"));
    std::unique_ptr<QWidget> v = reporte_visto(true);
    QVERIFY(v);
    QTemporaryDir carpeta;
    const QString pdf = carpeta.filePath(QStringLiteral("pdf.pdf"));
    pdf_por_teclado(v.get(), pdf);
    QVERIFY(QFile::exists(pdf));

    const QString papel = carpeta.filePath(QStringLiteral("papel.pdf"));
    QString visto;
    QTimer::singleShot(0, v.get(), [&] {
        auto* dialogo = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialogo)
            return;
        // The dialog's own printer that writes a file, as a user picks it.
        auto* impresoras = dialogo->findChild<QComboBox*>(QStringLiteral("printers"));
        auto* archivo = dialogo->findChild<QLineEdit*>(QStringLiteral("filename"));
        if (!impresoras || !archivo)
            return;
        for (int i = 0; i < impresoras->count(); ++i)
            if (impresoras->itemText(i).contains(QStringLiteral("PDF")))
                impresoras->setCurrentIndex(i);
        visto = impresoras->currentText();
        archivo->setText(papel);
        dialogo->accept();
    });
    auto* imprimir = v->findChild<QAction*>(QStringLiteral("accion_imprimir"));
    QVERIFY(imprimir);
    QCOMPARE(imprimir->shortcut(), QKeySequence(QKeySequence::Print));
    imprimir->trigger();
    QVERIFY2(visto.contains(QStringLiteral("PDF")), qPrintable(QStringLiteral("the print dialog offered: ") + visto));
    QVERIFY(QFile::exists(papel));
    QVERIFY2(mensajes.mensajes.isEmpty(), qPrintable(mensajes.textos().join(u'|')));

    const QSizeF hoja = tamano_pagina_pdf(pdf);
    const QSizeF hoja_papel = tamano_pagina_pdf(papel);
    QVERIFY2(qAbs(hoja.width() - 595) < 1 && qAbs(hoja.height() - 842) < 1, "not A4"); // a Spanish locale, nothing chosen yet
    QVERIFY2(qAbs(hoja_papel.width() - hoja.width()) < 1 && qAbs(hoja_papel.height() - hoja.height()) < 1,
             qPrintable(QStringLiteral("paper %1 x %2").arg(hoja_papel.width()).arg(hoja_papel.height())));
    int paginas = 0, paginas_papel = 0;
    const QList<PalabraPdf> a = palabras_pdf(pdf, &paginas);
    const QList<PalabraPdf> b = palabras_pdf(papel, &paginas_papel);
    QCOMPARE(paginas_papel, paginas);
    QVERIFY(a.size() > 20);
    QCOMPARE(textos_pdf(b), textos_pdf(a));
    for (int i = 0; i < a.size(); ++i)
        QVERIFY2(a[i].pagina == b[i].pagina && qAbs(a[i].caja.left() - b[i].caja.left()) < 1
                     && qAbs(a[i].caja.top() - b[i].caja.top()) < 1,
                 qPrintable(a[i].texto));
    v.reset();
    Conexion().cerrar();
}

void TstAyudas::pagina_del_usuario_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("elegida"); // a page chosen in a print dialog before
    QTest::addColumn<QSizeF>("puntos");
    QTest::addColumn<double>("margen"); // the title's left edge, in points
    QTest::newRow("español: A4") << "es_ES" << false << QSizeF(595, 842) << 42.5;
    QTest::newRow("C: A4") << "C" << false << QSizeF(595, 842) << 42.5;
    QTest::newRow("Estados Unidos: carta") << "en_US" << false << QSizeF(612, 792) << 42.5;
    QTest::newRow("carta apaisada con márgenes elegidos") << "es_ES" << true << QSizeF(792, 612) << 85.0;
}

// The PDF takes the page the user chose last in a print dialog, margins
// included; with none chosen, A4 portrait, or Letter where the locale uses
// it, with 15 mm margins.
void TstAyudas::pagina_del_usuario()
{
    QFETCH(QString, locale);
    QFETCH(bool, elegida);
    QFETCH(QSizeF, puntos);
    QFETCH(double, margen);
    LocalePrueba en(locale);
    configuracion().remove(QStringLiteral("impresion"));
    if (elegida)
        guardar_disposicion_pagina(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                               QMarginsF(30, 10, 10, 10), QPageLayout::Millimeter));
    DocumentoImpreso documento;
    documento.titulo = QStringLiteral("Prueba");
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("pagina.pdf"));
    QVERIFY(guardar_pdf(documento, ruta));
    const QSizeF tamano = tamano_pagina_pdf(ruta);
    QVERIFY2(qAbs(tamano.width() - puntos.width()) < 1 && qAbs(tamano.height() - puntos.height()) < 1,
             qPrintable(QStringLiteral("%1 x %2").arg(tamano.width()).arg(tamano.height())));
    const QList<PalabraPdf> palabras = palabras_pdf(ruta);
    QVERIFY(!palabras.isEmpty());
    QCOMPARE(palabras.first().texto, QStringLiteral("Prueba"));
    QVERIFY2(qAbs(palabras.first().caja.left() - margen) < 2, qPrintable(QString::number(palabras.first().caja.left())));
    configuracion().remove(QStringLiteral("impresion"));
}

// "Vista previa..." opens Qt's print preview on the same pages.
void TstAyudas::vista_previa()
{
    BasePrueba base;
    base.abrir();
    RegistroMensajes mensajes;
    std::unique_ptr<QWidget> v = reporte_visto(true);
    QVERIFY(v);
    auto* accion = v->findChild<QAction*>(QStringLiteral("accion_vista_previa"));
    QVERIFY(accion);
    int paginas = -1;
    QTimer::singleShot(0, v.get(), [&] {
        if (auto* dialogo = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            if (auto* vista = dialogo->findChild<QPrintPreviewWidget*>())
                paginas = vista->pageCount();
            dialogo->reject();
        }
    });
    accion->trigger();
    QCOMPARE(paginas, 1);
    v.reset();
    Conexion().cerrar();
}

// A report of the demo database: each status picture's tooltip has its
// numbers, and "Leyenda" shows every picture's meaning.
void TstAyudas::reporte_con_ayudas_y_leyenda()
{
    BasePrueba base;
    base.abrir();
    RegistroMensajes mensajes;
    {
        Principales v;
        v.show();
        QVERIFY(QTest::qWaitForWindowActive(&v));
        control<QComboBox>(&v, QStringLiteral("Cmb_Perspectiva_Reporte"))->setCurrentIndex(0);
        control<QComboBox>(&v, QStringLiteral("Cmb_Año_Reporte"))->setCurrentText(QStringLiteral("2009 "));
        control<QComboBox>(&v, QStringLiteral("Cmb_mes_Reporte"))->setCurrentText(QStringLiteral("Marzo"));
        pulsar(&v, QStringLiteral("Button_Cargar_ReporteSocial"));
        QVERIFY2(mensajes.mensajes.isEmpty(), qPrintable(mensajes.textos().join(u'|')));
        auto* grilla = v.findChild<Grilla*>(QStringLiteral("Flex3"));
        QVERIFY(grilla);
        QVERIFY(!grilla->TextMatrix(1, 0).trimmed().isEmpty());
        const QString estado = grilla->modelo()->CellPicture(1, 3);
        if (estado != QStringLiteral("Blanco"))
            QVERIFY2(grilla->ayuda(1, 3).contains(QStringLiteral(" % del camino de la línea base a la meta")),
                     qPrintable(grilla->ayuda(1, 3)));
        QVERIFY(grilla->ayuda(1, 3).startsWith(significado_imagen(estado)));
        QVERIFY(grilla->ayuda(1, 4).startsWith(significado_imagen(grilla->modelo()->CellPicture(1, 4))));

        pulsar(&v, QStringLiteral("cmd_leyenda"));
        auto* leyenda = v.findChild<QDialog*>(QStringLiteral("Leyenda"));
        QVERIFY(leyenda && leyenda->isVisible());
        for (const QString& nombre : imagenes_leyenda()) {
            auto* texto = leyenda->findChild<QLabel*>(QStringLiteral("leyenda_") + nombre);
            QVERIFY2(texto, qPrintable(nombre));
            QCOMPARE(texto->text(), significado_imagen(nombre));
        }
        guardar_captura(leyenda, QStringLiteral("leyenda"));
        leyenda->close();

        QVERIFY(mensajes.mensajes.isEmpty());
    }
    Conexion().cerrar();
}

void TstAyudas::pdf_que_no_se_escribe_data()
{
    QTest::addColumn<bool>("en_archivo"); // else a read-only folder
    QTest::addColumn<QString>("motivo");
    QTest::newRow("dentro de un archivo") << true << "una parte de la ruta no es una carpeta";
    QTest::newRow("carpeta de solo lectura") << false << "no tiene permiso";
}

// A PDF that cannot be written is a message that says why and what to do,
// and nothing is left behind.
void TstAyudas::pdf_que_no_se_escribe()
{
    QFETCH(bool, en_archivo);
    QFETCH(QString, motivo);
    QTemporaryDir carpeta;
    QString ruta;
    if (en_archivo) {
        const QString archivo = carpeta.filePath(QStringLiteral("archivo"));
        QFile f(archivo);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        ruta = archivo + QStringLiteral("/informe.pdf");
    } else {
        // Root writes in any folder: the case runs as a user without rights.
        if (!correr_como(Usuario::SinDerechos))
            return;
        const QString cerrada = carpeta.filePath(QStringLiteral("cerrada"));
        QVERIFY(QDir().mkpath(cerrada));
        QFile::setPermissions(cerrada, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QFile prueba(cerrada + QStringLiteral("/prueba"));
        QVERIFY2(!prueba.open(QIODevice::WriteOnly), "this user writes in a read-only folder");
        ruta = cerrada + QStringLiteral("/informe.pdf");
    }
    RegistroMensajes mensajes;
    QWidget ventana;
    ventana.setWindowTitle(QStringLiteral("Principales"));
    DocumentoImpreso documento;
    documento.titulo = QStringLiteral("Principales");
    QTimer::singleShot(0, &ventana, [&] {
        if (auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            dialogo->selectFile(ruta);
            static_cast<QDialog*>(dialogo)->accept();
        }
    });
    pdf_de_documento(&ventana, [&] { return documento; });
    QCOMPARE(mensajes.mensajes.size(), 1);
    const QString texto = mensajes.mensajes.first().texto;
    QVERIFY2(texto.contains(QDir::toNativeSeparators(ruta)), qPrintable(texto));
    QVERIFY2(texto.contains(QStringLiteral("(") + motivo + QStringLiteral(")")), qPrintable(texto));
    QVERIFY2(texto.contains(QStringLiteral("Elija otra carpeta o nombre")), qPrintable(texto));
    QCOMPARE(mensajes.mensajes.first().titulo, QStringLiteral("Mensajes"));
    QVERIFY(!QFileInfo::exists(ruta));
    if (!en_archivo)
        QFile::setPermissions(carpeta.filePath(QStringLiteral("cerrada")), QFileDevice::ReadOwner
                                  | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

namespace {

// "Guardar como PDF..." with `ruta` typed into the save dialog.
void pdf_tecleado(const QString& ruta, const DocumentoImpreso& documento)
{
    QWidget ventana;
    ventana.setWindowTitle(documento.titulo);
    QTimer::singleShot(0, &ventana, [&] {
        if (auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            dialogo->selectFile(ruta);
            static_cast<QDialog*>(dialogo)->accept();
        }
    });
    pdf_de_documento(&ventana, [&] { return documento; });
}

QByteArray bytes(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList listado(const QString& carpeta)
{
    return QDir(carpeta).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A document of many pages: far more than a few kilobytes of PDF.
DocumentoImpreso documento_largo()
{
    DocumentoImpreso documento;
    documento.titulo = QStringLiteral("Principales");
    TablaImpresa tabla;
    tabla.encabezados = {QStringLiteral("Indicador"), QStringLiteral("Valor")};
    tabla.anchos = {3000, 1250};
    tabla.columnas_fijas = 1;
    for (int i = 0; i < 600; ++i)
        tabla.textos << QStringList{QStringLiteral("Indicador número %1").arg(i * 7919), QString::number(i)};
    documento.tablas << tabla;
    return documento;
}

} // namespace

// A disk that fills while the PDF is written: the message says so, and the
// PDF that was there stays whole, with nothing else left behind. A small
// disk of its own (tmpfs) needs root to mount: without it the test fails.
void TstAyudas::pdf_en_disco_lleno()
{
    QVERIFY2(::geteuid() == 0, "mounting a small disk (tmpfs) needs root");
    QTemporaryDir carpeta;
    QProcess montar;
    montar.start(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                           QStringLiteral("size=512k"), QStringLiteral("tmpfs"), carpeta.path()});
    QVERIFY2(montar.waitForFinished(10000) && montar.exitCode() == 0, montar.readAllStandardError().constData());
    const auto desmontar = qScopeGuard([&carpeta] { QProcess::execute(QStringLiteral("umount"), {carpeta.path()}); });
    const QString ruta = carpeta.filePath(QStringLiteral("informe.pdf"));
    DocumentoImpreso corto;
    corto.titulo = QStringLiteral("Principales");
    QVERIFY(guardar_pdf(corto, ruta));
    const QByteArray viejo = bytes(ruta);
    QVERIFY(viejo.startsWith("%PDF"));
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
    RegistroMensajes mensajes;
    pdf_tecleado(ruta, documento_largo());
    QCOMPARE(mensajes.preguntas.size(), 1); // replace it?
    QCOMPARE(mensajes.mensajes.size(), 1);
    const QString texto = mensajes.mensajes.first().texto;
    QVERIFY2(texto.contains(QStringLiteral("Libere espacio en el disco")), qPrintable(texto));
    QVERIFY2(texto.contains(QDir::toNativeSeparators(ruta)), qPrintable(texto));
    QCOMPARE(bytes(ruta), viejo);
    QCOMPARE(listado(carpeta.path()), antes);
}

void TstAyudas::pdf_sin_sufijo_data()
{
    QTest::addColumn<bool>("respuesta");
    QTest::newRow("no reemplaza") << false;
    QTest::newRow("reemplaza") << true;
}

// A name typed without ".pdf" writes name.pdf: when that file exists the
// user is asked about it, and "No" leaves it as it was.
void TstAyudas::pdf_sin_sufijo()
{
    QFETCH(bool, respuesta);
    QTemporaryDir carpeta;
    const QString existente = carpeta.filePath(QStringLiteral("informe.pdf"));
    {
        QFile f(existente);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("viejo");
    }
    RegistroMensajes mensajes;
    mensajes.respuesta = respuesta;
    DocumentoImpreso documento;
    documento.titulo = QStringLiteral("Principales");
    pdf_tecleado(carpeta.filePath(QStringLiteral("informe")), documento);
    QCOMPARE(mensajes.preguntas, QStringList{QStringLiteral("El archivo ") + QDir::toNativeSeparators(existente)
                                             + QStringLiteral(" ya existe. ¿Desea reemplazarlo?")});
    QVERIFY2(mensajes.mensajes.isEmpty(), qPrintable(mensajes.textos().join(u'|')));
    QCOMPARE(bytes(existente).startsWith("%PDF"), respuesta);
    QCOMPARE(listado(carpeta.path()), QStringList{QStringLiteral("informe.pdf")});
}

void TstAyudas::pdf_con_caracter_de_control_data()
{
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("visible");
    QTest::newRow("NUL") << QStringLiteral("in") + QChar(0) + QStringLiteral("forme.pdf") << "in[U+0000]forme.pdf";
    QTest::newRow("tabulador") << "in\tforme.pdf" << "in[U+0009]forme.pdf";
    QTest::newRow("salto de línea") << "informe.pdf\n" << "informe.pdf[U+000A]";
    QTest::newRow("DEL") << QStringLiteral("in\u007fforme.pdf") << "in[U+007F]forme.pdf";
    QTest::newRow("C1") << QStringLiteral("in\u0085forme.pdf") << "in[U+0085]forme.pdf";
}

// A control character in the typed name (pasted with it) is refused with a
// message that shows where it is: no question, nothing written, and the
// file a NUL would cut the name to stays as it was.
void TstAyudas::pdf_con_caracter_de_control()
{
    QFETCH(QString, nombre);
    QFETCH(QString, visible);
    QTemporaryDir carpeta;
    const QString corto = carpeta.filePath(QStringLiteral("in"));
    {
        QFile f(corto);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("viejo");
    }
    RegistroMensajes mensajes;
    DocumentoImpreso documento;
    documento.titulo = QStringLiteral("Principales");
    pdf_tecleado(carpeta.path() + u'/' + nombre, documento);
    QVERIFY2(mensajes.preguntas.isEmpty(), qPrintable(mensajes.preguntas.join(u'|')));
    QCOMPARE(mensajes.mensajes.size(), 1);
    const QString texto = mensajes.mensajes.first().texto;
    QVERIFY2(texto.contains(QDir::toNativeSeparators(carpeta.path()) + u'/' + visible)
                 && texto.contains(QStringLiteral("carácter de control")),
             qPrintable(texto));
    QCOMPARE(mensajes.mensajes.first().titulo, QStringLiteral("Mensajes"));
    QCOMPARE(bytes(corto), QByteArray("viejo"));
    QCOMPARE(listado(carpeta.path()), QStringList{QStringLiteral("in")});
}

// Choices too long for one line go on to the next: every one is drawn
// whole inside the page, the year too.
void TstAyudas::seleccion_larga()
{
    DocumentoImpreso documento;
    documento.titulo = QStringLiteral("Tendencia y Desempeño");
    documento.seleccion = {QStringLiteral("Tipo: Departamentales"),
                           QStringLiteral("Indicador: Porcentaje de cumplimiento del plan anual de mantenimiento"),
                           QStringLiteral("Departamento: Ventas"), QStringLiteral("Año: 2009")};
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("seleccion.pdf"));
    QVERIFY(guardar_pdf(documento, ruta));
    const QList<PalabraPdf> palabras = palabras_pdf(ruta);
    const QImage pagina = pagina_pdf(ruta, 0, 100, QStringLiteral("pdf_seleccion_larga"));
    const QSizeF tamano = tamano_pagina_pdf(ruta);
    QStringList vistas;
    for (const PalabraPdf& w : palabras) {
        if (w.caja.top() < 40 || w.caja.top() > 120)
            continue; // the title line above, the legend below
        vistas << w.texto;
        QVERIFY2(w.caja.right() <= tamano.width() - 42, qPrintable(w.texto));
        QVERIFY2(tinta(pagina, w.caja, 100) > 0.03, qPrintable(w.texto + QStringLiteral(" no se ve")));
    }
    for (const QString& e : documento.seleccion)
        QVERIFY2(vistas.join(u' ').contains(e), qPrintable(e + QStringLiteral(" | ") + vistas.join(u' ')));
}

void TstAyudas::fecha_impresa_en_espanol_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("C") << "C";
    QTest::newRow("inglés") << "en_US";
    QTest::newRow("español") << "es_ES";
}

// The date under each page is Spanish, as the rest of the program, with the
// year whole, whatever the user's locale.
void TstAyudas::fecha_impresa_en_espanol()
{
    QFETCH(QString, locale);
    LocalePrueba en(locale);
    DocumentoImpreso documento;
    documento.titulo = QStringLiteral("Prueba");
    QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("fecha.pdf"));
    const QDate hoy = QDate::currentDate();
    QVERIFY(guardar_pdf(documento, ruta));
    const QString texto = textos_pdf(palabras_pdf(ruta)).join(u' ');
    const QString fecha = QStringLiteral("Impreso el %1 de %2 de %3,")
                              .arg(hoy.day())
                              .arg(QLocale(QLocale::Spanish).monthName(hoy.month()))
                              .arg(hoy.year());
    QVERIFY2(texto.contains(fecha), qPrintable(texto));
}

QTEST_MAIN(TstAyudas)
#include "tst_ayudas.moc"
