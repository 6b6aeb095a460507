// Two users at the same indicator at the same moment, on the throwaway
// PostgreSQL server of scripts/con_postgres.sh: a save still open when the
// indicator is deleted, and two restores at once.

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"
#include "soporte/soporte.h"

#include <QProcess>
#include <QtTest>

#include <memory>

using namespace velmora;

class TstCarrerasPostgres final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void eliminar_tras_un_guardado_abierto();
    void dos_restauraciones_a_la_vez();

private:
    // The second program, started on `args` and holding its transaction
    // once it says "listo".
    std::unique_ptr<QProcess> otro_programa(const QStringList& args);

    std::unique_ptr<BasePostgres> base_;
};

void TstCarrerasPostgres::initTestCase()
{
    if (dsn_postgres().isEmpty())
        QSKIP("no PostgreSQL server (VELMORA_PG_DSN)");
    base_ = std::make_unique<BasePostgres>(QStringLiteral("velmora_carreras_%1").arg(QCoreApplication::applicationPid()));
}

void TstCarrerasPostgres::cleanupTestCase()
{
    base_.reset();
}

void TstCarrerasPostgres::init()
{
    Conexion().abrir("FILEDSN=" + base_->dsn());
    QVERIFY(Conexion().fijar_sesion(comando_exec("Sesion_programa", {"Administrador", "ana"})));
}

void TstCarrerasPostgres::cleanup()
{
    Conexion().cerrar();
}

std::unique_ptr<QProcess> TstCarrerasPostgres::otro_programa(const QStringList& args)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(QStringLiteral(VELMORA_BLOQUEADOR), args);
    if (!p->waitForReadyRead(30000) || p->readLine().trimmed() != "listo")
        qFatal("the second program did not start its transaction");
    return p;
}

// The deletion waits for the save and records what it committed, so the
// restore brings back 777, not the value from before the save.
void TstCarrerasPostgres::eliminar_tras_un_guardado_abierto()
{
    const QStringList antes = meses_guardados("Clientes nuevos", "2024");
    QCOMPARE(antes.size(), 12);
    const QString id = antes.at(0).section(u'|', 3, 3);
    QVERIFY(antes.at(0).section(u'|', 0, 0) != QStringLiteral("777"));

    const auto guardado = otro_programa({"guardar", base_->dsn(), id, "777", "1500"});
    Conexion().ejecutar(comando_exec("eliminar", {"Clientes nuevos"}));
    QVERIFY(guardado->waitForFinished(30000));
    QCOMPARE(guardado->exitCode(), 0);

    Resultado h = Conexion().ejecutar(comando_exec("Consulta_historial", {"Clientes nuevos"}));
    QStringList borrados;
    for (; !h.eof(); h.siguiente())
        if (h.texto("Campo") == QStringLiteral("Valor") && h.texto("Año") == QStringLiteral("2024")
            && h.texto("Mes") == QStringLiteral("Enero") && h.texto("Después").isEmpty())
            borrados << h.texto("Antes");
    QCOMPARE(borrados, QStringList{"777"});

    Conexion().ejecutar(comando_exec("Restaurar_indicador", {"Clientes nuevos"}));
    QCOMPARE(meses_guardados("Clientes nuevos", "2024").at(0).section(u'|', 0, 0), QStringLiteral("777"));
}

// The second restore waits for the first and hears the indicator is back,
// in Spanish; the indicator is there once.
void TstCarrerasPostgres::dos_restauraciones_a_la_vez()
{
    Conexion().ejecutar(comando_exec("eliminar", {"Margen operativo"}));
    const auto primera = otro_programa({"restaurar", base_->dsn(), "Margen operativo", "1000"});
    QString texto;
    try {
        Conexion().ejecutar(comando_exec("Restaurar_indicador", {"Margen operativo"}));
        QFAIL("the second restore was stored too");
    } catch (const RechazoDatos& e) {
        texto = e.texto();
    }
    QVERIFY(primera->waitForFinished(30000));
    QCOMPARE(primera->exitCode(), 0);
    QCOMPARE(texto, QStringLiteral("Ya existe un indicador con ese nombre"));
    QCOMPARE(meses_guardados("Margen operativo", "2024").size(), 12);
}

QTEST_MAIN(TstCarrerasPostgres)
#include "tst_carreras_postgres.moc"
