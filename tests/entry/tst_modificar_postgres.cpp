// No lost update on the PostgreSQL server of scripts/con_postgres.sh: a
// second program saves a month between the screen's fetch and its save.

#include "data/comandos.h"
#include "data/conexion.h"
#include "entry/modificar.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

namespace {

// The months of a year: value, target, baseline and identifier.
QStringList año(const QString& indicador, const QString& año)
{
    QStringList filas;
    for (Resultado r = Conexion().ejecutar(comando_exec("Consulta_modificar", {indicador, año})); !r.eof();
         r.siguiente())
        filas << r.texto("Valor") + u'|' + r.texto("Meta C/P") + u'|' + r.texto("Nivel Base") + u'|'
                + r.texto("Id1");
    return filas;
}

QString leer_archivo(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class TstModificarPostgres final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void cambio_ajeno_data();
    void cambio_ajeno();

private:
    QString escribir_dsn(const QString& base);

    QTemporaryDir carpeta_;
    QString base_;
    QString dsn_;
    QString mantenimiento_;
};

QString TstModificarPostgres::escribir_dsn(const QString& base)
{
    QStringList lineas = leer_archivo(dsn_postgres()).split(u'\n');
    for (QString& l : lineas)
        if (l.startsWith(QStringLiteral("Database="), Qt::CaseInsensitive))
            l = QStringLiteral("Database=") + base;
    const QString ruta = carpeta_.filePath(base + QStringLiteral(".dsn"));
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        qFatal("cannot write %s", qPrintable(ruta));
    f.write(lineas.join(u'\n').toUtf8());
    return ruta;
}

void TstModificarPostgres::initTestCase()
{
    if (dsn_postgres().isEmpty())
        QSKIP("no PostgreSQL server (VELMORA_PG_DSN)");
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    base_ = QStringLiteral("velmora_cambio_ajeno_%1").arg(QCoreApplication::applicationPid());
    mantenimiento_ = escribir_dsn("postgres");
    dsn_ = escribir_dsn(base_);
    Conexion().abrir("FILEDSN=" + mantenimiento_);
    Conexion().ejecutar("DROP DATABASE IF EXISTS " + base_);
    Conexion().ejecutar("CREATE DATABASE " + base_ + " TEMPLATE velmora");
    Conexion().cerrar();
}

void TstModificarPostgres::cleanupTestCase()
{
    if (base_.isEmpty())
        return;
    Conexion().abrir("FILEDSN=" + mantenimiento_);
    Conexion().ejecutar("DROP DATABASE IF EXISTS " + base_);
    Conexion().cerrar();
}

void TstModificarPostgres::init()
{
    Conexion().abrir("FILEDSN=" + dsn_);
}

void TstModificarPostgres::cleanup()
{
    Conexion().cerrar();
}

void TstModificarPostgres::cambio_ajeno_data()
{
    QTest::addColumn<int>("mes");          // the month the other program saves, 0 for none
    QTest::addColumn<QString>("esperado"); // the month as the refusal names it, empty for a save
    QTest::newRow("el mes editado") << 2 << "Febrero (Valor: 75; Meta: 2; Nivel Base: 1)";
    QTest::newRow("un mes no tocado") << 9 << "Septiembre (Valor: 75; Meta: 2; Nivel Base: 1)";
    QTest::newRow("nadie cambió nada") << 0 << "";
}

void TstModificarPostgres::cambio_ajeno()
{
    QFETCH(int, mes);
    QFETCH(QString, esperado);
    RegistroMensajes mensajes;
    Modificar ventana;
    ventana.show();
    ventana.findChild<QComboBox*>("Combo_kpi")->setEditText("Margen operativo");
    ventana.findChild<QComboBox*>("Combo_año")->setEditText("2024");
    QTest::mouseClick(ventana.findChild<QPushButton*>("boton_consulta"), Qt::LeftButton);
    const QStringList antes = año("Margen operativo", "2024");
    QCOMPARE(antes.size(), 12);
    ventana.findChild<Grilla*>("MSFlexGrid1")->setTextMatrix(1, 2, "22");

    if (mes > 0) {
        QProcess otro;
        otro.start(QStringLiteral(VELMORA_BLOQUEADOR),
                   {"guardar", dsn_, antes.at(mes - 1).section(u'|', 3, 3), "75", "0"});
        QVERIFY(otro.waitForFinished(30000));
        QCOMPARE(otro.exitCode(), 0);
    }
    const QStringList ajeno = año("Margen operativo", "2024");
    QTest::mouseClick(ventana.findChild<QPushButton*>("boton_guardar"), Qt::LeftButton);
    QCOMPARE(mensajes.mensajes.size(), 1);
    QCOMPARE(mensajes.mensajes[0].titulo, QStringLiteral("Mensajes"));
    if (esperado.isEmpty()) {
        QCOMPARE(mensajes.textos(), QStringList{"Datos Guardados Exitosamente"});
        QCOMPARE(año("Margen operativo", "2024").at(1).section(u'|', 0, 0), QStringLiteral("22"));
        return;
    }
    QCOMPARE(mensajes.textos().first(),
             "Otro usuario cambió estos valores después de que usted los consultó: " + esperado
                 + ". No se guardó nada. Pulse Aceptar para ver los valores actuales.");
    QCOMPARE(año("Margen operativo", "2024"), ajeno);
}

QTEST_MAIN(TstModificarPostgres)
#include "tst_modificar_postgres.moc"
