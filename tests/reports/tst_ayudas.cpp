#include "data/conexion.h"
#include "data/textos.h"
#include "reports/principales.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"
#include "ui/impresion.h"
#include "ui/leyenda.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace velmora;

// Pictures that explain themselves, the legend, and printing what a report shows.
class TstAyudas final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void reporte_con_ayudas_leyenda_y_pdf();
};

void TstAyudas::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
}

// A report of the demo database: each status picture's tooltip has its
// numbers, "Leyenda" shows every picture's meaning, and the window prints
// to a PDF, also from Ctrl+Shift+P.
void TstAyudas::reporte_con_ayudas_leyenda_y_pdf()
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

        QTemporaryDir carpeta;
        const QString directo = carpeta.filePath(QStringLiteral("reporte.pdf"));
        QVERIFY(guardar_pdf(&v, directo));
        QFile pdf(directo);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
        QVERIFY(pdf.size() > 10000); // the grid's pictures and texts, not an empty page

        const QString elegido = carpeta.filePath(QStringLiteral("desde el teclado"));
        QTimer::singleShot(0, this, [&] {
            if (auto* dialogo = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                dialogo->selectFile(elegido);
                static_cast<QDialog*>(dialogo)->accept(); // accept() is protected in QFileDialog
            }
        });
        QTest::keyClick(&v, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(QFile::exists(elegido + QStringLiteral(".pdf")));
        QVERIFY(mensajes.mensajes.isEmpty());
    }
    Conexion().cerrar();
}

QTEST_MAIN(TstAyudas)
#include "tst_ayudas.moc"
