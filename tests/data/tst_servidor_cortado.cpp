// SPDX-License-Identifier: GPL-3.0-or-later
// A server whose connection is cut or held at a chosen statement, through a
// loopback proxy in front of the throwaway PostgreSQL server of
// scripts/con_postgres.sh, with the shipped data source settings
// (UseDeclareFetch=1: the driver reads rows through a cursor, and outside a
// transaction commits a statement's work when it closes that cursor).

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"
#include "soporte/intermediario_tcp.h"
#include "soporte/soporte.h"

#include <QtTest>

#include <memory>

using namespace velmora;

namespace {

// Control back in the event loop: the press is over.
void ocioso()
{
    QCoreApplication::processEvents();
}

// What any of the saves below changes, read as one text.
QString firma()
{
    Resultado r = Conexion().ejecutar(QStringLiteral(
        "SELECT (SELECT count(*) FROM indicador) || '|' || (SELECT count(*) FROM historial) || '|' || "
        "(SELECT coalesce(sum(valor), 0) FROM registro) AS firma"));
    return r.texto(QStringLiteral("firma"));
}

} // namespace

class TstServidorCortado final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void confirmacion_cortada_data();
    void confirmacion_cortada();
    void cierre_retenido();
    void reconexion_retenida();

private:
    void abrir(const LimitesTiempo& limites = {});

    std::unique_ptr<BasePostgres> base_;
    std::unique_ptr<IntermediarioTcp> intermediario_;
    QTemporaryDir carpeta_;
};

void TstServidorCortado::initTestCase()
{
    if (dsn_postgres().isEmpty())
        QFAIL("no PostgreSQL server (VELMORA_PG_DSN): run the tests through scripts/con_postgres.sh");
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    base_ = std::make_unique<BasePostgres>(QStringLiteral("velmora_cortado_%1").arg(QCoreApplication::applicationPid()));
}

void TstServidorCortado::cleanupTestCase()
{
    base_.reset();
}

void TstServidorCortado::init()
{
    intermediario_ = std::make_unique<IntermediarioTcp>(socket_de_dsn(base_->dsn()));
    abrir();
}

void TstServidorCortado::cleanup()
{
    Conexion().cerrar();
    Conexion().fijar_limites(LimitesTiempo{});
    intermediario_.reset();
}

void TstServidorCortado::abrir(const LimitesTiempo& limites)
{
    Conexion().cerrar();
    Conexion().fijar_limites(limites);
    Conexion().abrir("FILEDSN=" + dsn_por_intermediario(base_->dsn(), carpeta_.path(), intermediario_->puerto()));
    QVERIFY(Conexion().fijar_sesion(comando_exec("Sesion_programa", {"Administrador", "ana"})));
    ocioso();
}

// The connection dropped when the save's commit goes out: the server never
// got it, nothing was stored, and the user is told the save may or may not
// have landed, never that it did.
void TstServidorCortado::confirmacion_cortada_data()
{
    QTest::addColumn<QString>("preparar");
    QTest::addColumn<QString>("comando");
    QTest::addColumn<QString>("procedimiento");
    QTest::newRow("nuevo registro")
        << QString() << comando_exec("Nuevo_registro", {"3", "Enero", "Margen operativo", "2", "1", "1", "1", "10", "20", "5"})
        << "Nuevo_registro";
    QTest::newRow("eliminar") << QString() << comando_exec("eliminar", {"Margen operativo"}) << "eliminar";
    QTest::newRow("nuevo indicador") << QString() << comando_exec("Nuevo_Indicador", {"Cortado al confirmar", "1"})
                                     << "Nuevo_Indicador";
    QTest::newRow("restaurar") << comando_exec("eliminar", {"Clientes nuevos"})
                               << comando_exec("Restaurar_indicador", {"Clientes nuevos"}) << "Restaurar_indicador";
}

void TstServidorCortado::confirmacion_cortada()
{
    QFETCH(QString, preparar);
    QFETCH(QString, comando);
    QFETCH(QString, procedimiento);
    if (!preparar.isEmpty())
        Conexion().ejecutar(preparar);
    ocioso();
    const QString antes = firma();
    ocioso();

    // After the statement that calls it (its name in quotes there, as a
    // bound argument it is not).
    intermediario_->al_ver("commit", IntermediarioTcp::Accion::Cortar, ('"' + procedimiento + '"').toUtf8());
    try {
        // As the screens do: the result dropped unread.
        Conexion().ejecutar(comando);
        QFAIL("a save whose commit never reached the server passed as stored");
    } catch (const RechazoDatos& e) {
        QCOMPARE(e.numero(), QString(kErrorConfirmacionIncierta));
        QCOMPARE(e.texto(), QStringLiteral("Se perdió la conexión con el servidor de base de datos mientras confirmaba "
                                           "el guardado: puede que se haya guardado o no. Consulte de nuevo para ver "
                                           "los valores actuales"));
        QVERIFY(!e.por_los_datos());
    }
    QVERIFY(intermediario_->disparado());
    ocioso();
    // The next press connects again and finds nothing stored.
    QCOMPARE(firma(), antes);
}

// A server that stalls while the driver closes a result's cursor (a result
// longer than the driver's block of 1000 rows, left before its end, as the
// export listing may be): the wait is cut at the statement limit, not
// waited out, and the next call says the server did not answer.
void TstServidorCortado::cierre_retenido()
{
    LimitesTiempo limites;
    limites.conectar_s = 2;
    limites.sentencia_s = 3;
    abrir(limites);
    intermediario_->fijar_espera_maxima(20);
    intermediario_->al_ver("close", IntermediarioTcp::Accion::Retener, "\"Exportar\"");
    {
        Resultado r = Conexion().ejecutar(comando_exec("Exportar"));
        QVERIFY(!r.eof());
    }
    QVERIFY(intermediario_->disparado());
    QVERIFY2(!intermediario_->soltado_por_espera(), "closing the cursor waited for the stalled server");
    try {
        Conexion().ejecutar(comando_exec("Consulta_modificar", {"Margen operativo", "2024"}));
        QFAIL("a call on the cut connection passed");
    } catch (const RechazoDatos& e) {
        QCOMPARE(e.texto(), QStringLiteral("El servidor de base de datos no respondió en 3 segundos; se dejó de "
                                           "esperar y no se guardó nada. Intente de nuevo cuando el servidor responda"));
    }
    ocioso();
    QCOMPARE(meses_guardados("Margen operativo", "2024").size(), 12);
}

// A server that stalls while the driver sets a new connection up (after the
// old one was lost): the whole open is under the connect limit.
void TstServidorCortado::reconexion_retenida()
{
    LimitesTiempo limites;
    limites.conectar_s = 2;
    limites.sentencia_s = 3;
    abrir(limites);
    intermediario_->fijar_espera_maxima(20);
    intermediario_->al_ver("datestyle", IntermediarioTcp::Accion::Retener);
    intermediario_->cortar_todas();
    try {
        Conexion().ejecutar(comando_exec("Consulta_modificar", {"Margen operativo", "2024"}));
        QFAIL("a connection the server never set up passed");
    } catch (const RechazoDatos& e) {
        QCOMPARE(e.texto(), QStringLiteral("El servidor de base de datos no respondió en 2 segundos al conectar. "
                                           "Intente de nuevo cuando el servidor responda"));
    }
    QVERIFY(intermediario_->disparado());
    QVERIFY2(!intermediario_->soltado_por_espera(), "the new connection waited for the stalled server");
    ocioso();
    QCOMPARE(meses_guardados("Margen operativo", "2024").size(), 12);
}

QTEST_GUILESS_MAIN(TstServidorCortado)
#include "tst_servidor_cortado.moc"
