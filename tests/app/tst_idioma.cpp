// SPDX-License-Identifier: GPL-3.0-or-later
// The program under the locale the user's session hands it: ctest starts
// this program with a Spanish LANG, with LANG=C and with no LANG or LC_* at
// all. Accented names must reach the driver and come back intact, and the
// spreadsheet must hold numbers whatever the locale.
#include "app/aplicacion.h"
#include "data/comandos.h"
#include "data/conexion.h"
#include "export/exportar.h"
#include "reports/principales.h"
#include "soporte/libro_leido.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <clocale>
#include <memory>

using namespace velmora;

class TstIdioma final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { Conexion().cerrar(); }
    void reporte();
    void guardado();
    void exportado();

private:
    std::unique_ptr<BasePrueba> base_;
};

void TstIdioma::initTestCase()
{
    // The locale the registration asked for; one that is not generated here
    // cannot be tried, which fails the run (scripts/paquetes.sh generates it).
    const QByteArray pedido = qgetenv("VELMORA_IDIOMA");
    if (!pedido.isEmpty()) {
        locale_t l = newlocale(LC_ALL_MASK, pedido.constData(), locale_t(nullptr));
        if (!l)
            QFAIL(qPrintable(QStringLiteral("the locale %1 is not generated")
                                 .arg(QString::fromLatin1(pedido))));
        freelocale(l);
    }
    base_ = std::make_unique<BasePrueba>();
    base_->abrir();
}

void TstIdioma::reporte()
{
    Principales ventana;
    ventana.show();
    control<QComboBox>(&ventana, QStringLiteral("Cmb_Perspectiva_Reporte"))
        ->setCurrentText(QStringLiteral("Clientes"));
    control<QComboBox>(&ventana, QStringLiteral("Cmb_Año_Reporte"))->setCurrentText(QStringLiteral("2025"));
    control<QComboBox>(&ventana, QStringLiteral("Cmb_mes_Reporte"))->setCurrentText(QStringLiteral("Marzo"));
    RegistroMensajes mensajes;
    control<QPushButton>(&ventana, QStringLiteral("Button_Cargar_ReporteSocial"))->click();
    QCOMPARE(mensajes.textos(), QStringList());
    const Grilla* estado = ventana.findChild<Grilla*>(QStringLiteral("Flex3"));
    QStringList textos;
    for (int f = 0; f < estado->Rows(); ++f)
        for (int c = 0; c < estado->Cols(); ++c)
            textos << estado->TextMatrix(f, c).trimmed();
    QVERIFY2(textos.contains(QStringLiteral("Satisfacción del cliente")), qPrintable(textos.join(u'|')));
}

void TstIdioma::guardado()
{
    const QString nombre = QStringLiteral("Ñandúes atendidos en el año");
    Conexion().ejecutar(comando_exec(QStringLiteral("Nuevo_Indicador"), {nombre, QStringLiteral("1")}));
    QStringList indicadores;
    for (Resultado r = Conexion().ejecutar(comando_consulta(QStringLiteral("Indicadores"))); !r.eof();
         r.siguiente())
        indicadores << r.texto(QStringLiteral("Indicador"));
    QVERIFY(indicadores.contains(nombre));
}

void TstIdioma::exportado()
{
    for (const QString& sql :
         {QStringLiteral("CREATE TABLE listado (orden INTEGER PRIMARY KEY, valor REAL, meta REAL)"),
          QStringLiteral("INSERT INTO listado VALUES (1, 72.5, 80), (2, -3.5, 10.25)"),
          QStringLiteral("DELETE FROM procedimientos WHERE nombre = 'Exportar'"),
          QStringLiteral("INSERT INTO procedimientos VALUES ('Exportar', 1, 'SELECT 2005 AS \"año\", "
                         "''Enero'' AS \"Mes\", ''Ñandú'' AS \"Indicador\", ''Principal'' AS \"Tipo "
                         "Indicador\", ''Creciente'' AS \"desempeño\", ''%'' AS \"unidad\", 1.5 AS \"Nivel "
                         "Base\", valor AS \"Valor\", meta AS \"Meta C/P\" FROM listado ORDER BY orden', '')")})
        Conexion().ejecutar(sql);
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("números.xlsx"));
    Exportar ventana;
    ventana.show();
    control<QLineEdit>(&ventana, QStringLiteral("Text1"))->setText(archivo);
    RegistroMensajes mensajes;
    control<QPushButton>(&ventana, QStringLiteral("Command2"))->click();
    control<QPushButton>(&ventana, QStringLiteral("Command1"))->click();
    QCOMPARE(mensajes.textos(), QStringList{QStringLiteral(" Datos exportados ") + QDir::toNativeSeparators(archivo)});

    const LibroLeido libro = leer_libro(archivo);
    QVERIFY2(libro.ok, qPrintable(libro.error));
    QCOMPARE(libro.celda(QStringLiteral("C2")).valor, QStringLiteral("Ñandú"));
    // Read as a spreadsheet program reads them: numbers in the file's own notation.
    const struct {
        const char* celda;
        double valor;
    } numeros[] = {{"G2", 1.5}, {"H2", 72.5}, {"I2", 80}, {"H3", -3.5}, {"I3", 10.25}};
    for (const auto& n : numeros) {
        const LibroLeido::Celda c = libro.celda(QLatin1String(n.celda));
        bool ok = false;
        const double leido = c.valor.toDouble(&ok);
        QVERIFY2(c.numero && ok, qPrintable(QLatin1String(n.celda) + u' ' + c.valor));
        QCOMPARE(leido, n.valor);
    }
}

int main(int argc, char* argv[])
{
    AplicacionVelmora aplicacion(argc, argv);
    TstIdioma prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "tst_idioma.moc"
