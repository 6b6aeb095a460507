// SPDX-License-Identifier: GPL-3.0-or-later
// Two users at the same indicator at the same moment, on the throwaway
// PostgreSQL server of scripts/con_postgres.sh: a save still open when the
// indicator is deleted, two restores at once, a save that meets another
// user's lock for too long, and a statement that runs past its limit.

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
    void bloqueo_ajeno_largo();
    void sentencia_demasiado_larga();

private:
    // The second program, started on `args` and holding its transaction
    // once it says "listo".
    std::unique_ptr<QProcess> otro_programa(const QStringList& args);

    std::unique_ptr<BasePostgres> base_;
};

void TstCarrerasPostgres::initTestCase()
{
    if (dsn_postgres().isEmpty())
        QFAIL("no PostgreSQL server (VELMORA_PG_DSN): run the tests through scripts/con_postgres.sh");
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
    Conexion().fijar_limites(LimitesTiempo{});
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

// Another program holds a record's lock longer than a save waits for it:
// the save hears the database is busy and stores nothing, and the other
// program's value is what stays.
void TstCarrerasPostgres::bloqueo_ajeno_largo()
{
    Conexion().cerrar();
    LimitesTiempo limites;
    limites.bloqueo_ms = 500;
    Conexion().fijar_limites(limites);
    Conexion().abrir("FILEDSN=" + base_->dsn());
    const QString id = meses_guardados("Margen operativo", "2025").at(2).section(u'|', 3, 3);

    const auto otro = otro_programa({"guardar", base_->dsn(), id, "31", "3000"});
    QString texto;
    try {
        Transaccion t(Conexion());
        Conexion().ejecutar(comando_modificar("1", "32", "3", id));
        t.confirmar();
        QFAIL("the save waited for the other program");
    } catch (const RechazoDatos& e) {
        texto = e.texto();
    }
    QVERIFY(otro->state() == QProcess::Running);
    QCOMPARE(texto, QStringLiteral("La base de datos está ocupada por otro usuario; intente de nuevo"));
    QVERIFY(otro->waitForFinished(30000));
    QCOMPARE(meses_guardados("Margen operativo", "2025").at(2).section(u'|', 0, 0), QStringLiteral("31"));
}

// The server cancels a statement that outlasts its limit; the connection
// goes on for the next press.
void TstCarrerasPostgres::sentencia_demasiado_larga()
{
    Conexion().cerrar();
    LimitesTiempo limites;
    limites.sentencia_s = 2;
    Conexion().fijar_limites(limites);
    Conexion().abrir("FILEDSN=" + base_->dsn());
    QString texto;
    try {
        Conexion().ejecutar("SELECT pg_sleep(10)");
        QFAIL("the statement ran past its limit");
    } catch (const RechazoDatos& e) {
        texto = e.texto();
    }
    QCOMPARE(texto, QStringLiteral("La operación tardó más de 2 segundos y se canceló; no se guardó nada"));
    QCOMPARE(meses_guardados("Margen operativo", "2025").size(), 12);
}

QTEST_MAIN(TstCarrerasPostgres)
#include "tst_carreras_postgres.moc"
