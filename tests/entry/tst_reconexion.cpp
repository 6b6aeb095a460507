// SPDX-License-Identifier: GPL-3.0-or-later
// A server restart survived: on the throwaway PostgreSQL server of
// scripts/con_postgres.sh, restarted between two presses and during a save.

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"
#include "data/textos.h"
#include "entry/modificar.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/grid/grilla.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>
#include <memory>

using namespace velmora;

namespace {

// Control back in the event loop: the press is over, the program idles.
void ocioso()
{
    QCoreApplication::processEvents();
}

// Modificar shown with one year of "Margen operativo" fetched and February
// typed over, not saved; `antes` gets the twelve months the database holds.
void consultar_y_teclear(Modificar& ventana, const QString& anio, const QString& febrero, QStringList& antes)
{
    ventana.show();
    control<QComboBox>(&ventana, "Combo_kpi")->setEditText("Margen operativo");
    control<QComboBox>(&ventana, "Combo_año")->setEditText(anio);
    pulsar(&ventana, "boton_consulta");
    antes = meses_guardados("Margen operativo", anio);
    QCOMPARE(antes.size(), 12);
    control<Grilla>(&ventana, "MSFlexGrid1")->setTextMatrix(1, 2, febrero);
    ocioso();
}

// The server's processes stopped (kill -STOP of the postmaster and its
// children), as a machine that hangs leaves them, while it lives; resumed
// after.
class ServidorDetenido final {
public:
    ServidorDetenido()
    {
        QProcess pg_ctl;
        pg_ctl.start(qEnvironmentVariable("VELMORA_PG_CTL"), {"status"});
        pg_ctl.waitForFinished(30000);
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("PID: (\\d+)")).match(QString::fromLocal8Bit(pg_ctl.readAllStandardOutput()));
        if (!m.hasMatch())
            return;
        const QString postmaster = m.captured(1);
        for (const QString& entrada : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(entrada));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            // "pid (name) state ppid ...": the name may hold blanks.
            const QString linea = QString::fromLocal8Bit(stat.readAll());
            const QStringList resto = linea.mid(linea.lastIndexOf(u')') + 2).split(u' ');
            if (resto.size() > 1 && resto.at(1) == postmaster)
                procesos_ << entrada.toInt();
        }
        procesos_.prepend(postmaster.toInt());
        for (const int pid : procesos_)
            ::kill(pid, SIGSTOP);
        // A program that waits without limit would hang the test: the server
        // resumes after a while anyway, and the test fails instead.
        reanudar_ = std::thread([this] {
            std::unique_lock cerrojo(mutex_);
            aviso_.wait_for(cerrojo, std::chrono::seconds(40), [this] { return fin_; });
            for (const int pid : procesos_)
                ::kill(pid, SIGCONT);
        });
    }
    ~ServidorDetenido()
    {
        {
            const std::lock_guard cerrojo(mutex_);
            fin_ = true;
        }
        aviso_.notify_all();
        if (reanudar_.joinable())
            reanudar_.join();
    }
    ServidorDetenido(const ServidorDetenido&) = delete;
    ServidorDetenido& operator=(const ServidorDetenido&) = delete;
    bool detenido() const { return procesos_.size() > 1; }

private:
    QList<int> procesos_;
    std::mutex mutex_;
    std::condition_variable aviso_;
    bool fin_ = false;
    std::thread reanudar_;
};

} // namespace

class TstReconexion final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void reinicio_entre_dos_pulsaciones();
    void reinicio_durante_un_guardado();
    void reinicio_durante_el_guardado_de_modificar();
    void reinicio_a_mitad_de_una_pulsacion();
    void servidor_detenido();
    void confirmacion_sin_respuesta();

private:
    static void reiniciar();

    std::unique_ptr<BasePostgres> base_;
};

void TstReconexion::reiniciar()
{
    // A fast restart ends every session with "terminating connection due to
    // administrator command", as maintenance or a fail-over does.
    QProcess pg_ctl;
    pg_ctl.start(qEnvironmentVariable("VELMORA_PG_CTL"), {"restart", "-m", "fast"});
    QVERIFY(pg_ctl.waitForFinished(120000));
    QCOMPARE(pg_ctl.exitCode(), 0);
}

void TstReconexion::initTestCase()
{
    if (dsn_postgres().isEmpty() || qEnvironmentVariable("VELMORA_PG_CTL").isEmpty())
        QFAIL("no PostgreSQL server to restart (VELMORA_PG_DSN, VELMORA_PG_CTL): run the tests through scripts/con_postgres.sh");
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    // A database of its own, copied from the loaded one.
    base_ = std::make_unique<BasePostgres>(QStringLiteral("velmora_reconexion_%1").arg(QCoreApplication::applicationPid()));
}

void TstReconexion::cleanupTestCase()
{
    base_.reset();
}

void TstReconexion::init()
{
    Conexion().abrir("FILEDSN=" + base_->dsn());
    QVERIFY(Conexion().fijar_sesion(comando_exec("Sesion_programa", {"Administrador", "ana"})));
    ocioso();
}

void TstReconexion::cleanup()
{
    Conexion().observar(nullptr);
    Conexion().cerrar();
    Conexion().fijar_limites(LimitesTiempo{});
}

void TstReconexion::reinicio_entre_dos_pulsaciones()
{
    RegistroMensajes mensajes;
    Modificar ventana;
    ventana.show();
    control<QComboBox>(&ventana, "Combo_kpi")->setEditText("Margen operativo");
    control<QComboBox>(&ventana, "Combo_año")->setEditText("2024");
    pulsar(&ventana, "boton_consulta");
    ocioso();

    reiniciar();
    ocioso();

    // The next press finds the server back and the user sees nothing unusual.
    control<Grilla>(&ventana, "MSFlexGrid1")->setTextMatrix(1, 2, "99");
    pulsar(&ventana, "boton_guardar");
    QCOMPARE(mensajes.textos(), QStringList{"Datos Guardados Exitosamente"});
    QCOMPARE(meses_guardados("Margen operativo", "2024").at(1).section(u'|', 0, 0), QStringLiteral("99"));
    // The new connection still names the program's user type.
    Resultado r = Conexion().ejecutar(comando_exec("Consulta_historial", {"Margen operativo"}));
    QVERIFY(!r.eof());
    QCOMPARE(r.texto("Campo"), QStringLiteral("Valor"));
    QCOMPARE(r.texto("Tipo de usuario"), QStringLiteral("Administrador"));
}

void TstReconexion::reinicio_durante_un_guardado()
{
    const QStringList antes = meses_guardados("Clientes nuevos", "2025");
    QCOMPARE(antes.size(), 12);
    ocioso();

    // The server goes down after the sixth month was sent, as the yearly
    // save sends them: all twelve in one transaction.
    int enviados = 0;
    Conexion().observar([&enviados](const QString& comando) {
        if (comando.startsWith(QStringLiteral("Exec modificar")) && ++enviados == 7)
            reiniciar();
    });
    QString texto;
    try {
        Transaccion t(Conexion());
        for (const QString& mes : antes)
            Conexion().ejecutar(comando_modificar("1", "2", "3", mes.section(u'|', 3, 3)));
        t.confirmar();
        QFAIL("the save went on through a restart");
    } catch (const RechazoDatos& e) {
        // A message and the user goes on, told what happened.
        texto = e.texto();
    }
    QCOMPARE(texto, QStringLiteral("Se perdió la conexión con el servidor de base de datos (se reinició o se "
                                   "detuvo); no se guardó nada de esta operación. Intente de nuevo"));
    QCOMPARE(enviados, 7);
    Conexion().observar(nullptr);
    ocioso();

    // Nothing of it was stored, and nothing recorded; the next press
    // connects again and stores.
    QCOMPARE(meses_guardados("Clientes nuevos", "2025"), antes);
    QVERIFY(Conexion().ejecutar(comando_exec("Consulta_historial", {"Clientes nuevos"})).eof());
    ocioso();
    {
        Transaccion t(Conexion());
        Conexion().ejecutar(comando_modificar("1", "2", "3", antes.at(0).section(u'|', 3, 3)));
        t.confirmar();
    }
    QCOMPARE(meses_guardados("Clientes nuevos", "2025").at(0).section(u'|', 0, 0), QStringLiteral("2"));
}

void TstReconexion::reinicio_durante_el_guardado_de_modificar()
{
    RegistroMensajes mensajes;
    Modificar ventana;
    QStringList antes;
    consultar_y_teclear(ventana, "2022", "4343", antes);
    if (QTest::currentTestFailed())
        return;

    int enviados = 0;
    Conexion().observar([&enviados](const QString& comando) {
        if (comando.startsWith(QStringLiteral("Exec modificar")) && ++enviados == 7)
            reiniciar();
    });
    pulsar(&ventana, "boton_guardar");
    Conexion().observar(nullptr);
    // The server failed, not July's values: no month is named to correct.
    QCOMPARE(mensajes.textos(), QStringList{"Se perdió la conexión con el servidor de base de datos (se reinició o se "
                                            "detuvo); no se guardó nada de esta operación. Intente de nuevo"});
    QCOMPARE(enviados, 7);
    ocioso();
    QCOMPARE(meses_guardados("Margen operativo", "2022"), antes);
}

void TstReconexion::reinicio_a_mitad_de_una_pulsacion()
{
    const QStringList antes = meses_guardados("Margen operativo", "2025");
    reiniciar();
    // The same press goes on: the failure is what it is.
    QVERIFY_THROWS_EXCEPTION(ErrorBaseDatos, meses_guardados("Margen operativo", "2025"));
    ocioso();
    QCOMPARE(meses_guardados("Margen operativo", "2025"), antes);
}

// A stalled server: the press ends within the limit with a message and
// stores nothing; while the server stays stopped the next press waits no
// longer than connecting allows; once it resumes a press stores.
void TstReconexion::servidor_detenido()
{
    // Short limits keep the test quick; the defaults work the same way.
    LimitesTiempo limites;
    limites.conectar_s = 2;
    limites.sentencia_s = 3;
    Conexion().cerrar();
    Conexion().fijar_limites(limites);
    Conexion().abrir("FILEDSN=" + base_->dsn());
    QVERIFY(Conexion().fijar_sesion(comando_exec("Sesion_programa", {"Administrador", "ana"})));

    RegistroMensajes mensajes;
    Modificar ventana;
    QStringList antes;
    consultar_y_teclear(ventana, "2023", "4242", antes);
    if (QTest::currentTestFailed())
        return;
    {
        ServidorDetenido detenido;
        QVERIFY(detenido.detenido());
        QElapsedTimer reloj;
        reloj.start();
        pulsar(&ventana, "boton_guardar");
        QVERIFY2(reloj.elapsed() < (limites.sentencia_s + 2) * 1000, qPrintable(QString::number(reloj.elapsed())));
        QCOMPARE(mensajes.textos(),
                 QStringList{"El servidor de base de datos no respondió en 3 segundos; se dejó de esperar y no se "
                             "guardó nada. Intente de nuevo cuando el servidor responda"});
        QCOMPARE(mensajes.mensajes[0].titulo, QStringLiteral("Mensajes"));
        ocioso();

        mensajes.limpiar();
        reloj.restart();
        pulsar(&ventana, "boton_guardar");
        QVERIFY2(reloj.elapsed() < (limites.conectar_s + 2) * 1000, qPrintable(QString::number(reloj.elapsed())));
        QCOMPARE(mensajes.textos(),
                 QStringList{"El servidor de base de datos no respondió en 2 segundos al conectar. Intente de "
                             "nuevo cuando el servidor responda"});
        ocioso();
    }
    mensajes.limpiar();
    pulsar(&ventana, "boton_consulta");
    QCOMPARE(mensajes.textos(), QStringList{});
    QCOMPARE(meses_guardados("Margen operativo", "2023"), antes);
    ocioso();
    control<Grilla>(&ventana, "MSFlexGrid1")->setTextMatrix(1, 2, "4242");
    pulsar(&ventana, "boton_guardar");
    QCOMPARE(mensajes.textos(), QStringList{"Datos Guardados Exitosamente"});
    QCOMPARE(meses_guardados("Margen operativo", "2023").at(1).section(u'|', 0, 0), QStringLiteral("4242"));
}

// A commit the server never answers may have landed: it says so with its own
// number, which a caller tells apart from a save that surely failed.
void TstReconexion::confirmacion_sin_respuesta()
{
    LimitesTiempo limites;
    limites.conectar_s = 2;
    limites.sentencia_s = 3;
    Conexion().cerrar();
    Conexion().fijar_limites(limites);
    Conexion().abrir("FILEDSN=" + base_->dsn());
    Transaccion transaccion(Conexion());
    QCOMPARE(Conexion().ejecutar(QStringLiteral("SELECT 1 AS n")).texto("n"), QStringLiteral("1"));
    ServidorDetenido detenido;
    QVERIFY(detenido.detenido());
    try {
        transaccion.confirmar();
        QFAIL("a commit without an answer passed");
    } catch (const RechazoDatos& e) {
        QCOMPARE(e.numero(), QString(kErrorConfirmacionIncierta));
        QVERIFY(!e.por_los_datos());
    }
}

QTEST_MAIN(TstReconexion)
#include "tst_reconexion.moc"
