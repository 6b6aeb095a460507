// SPDX-License-Identifier: GPL-3.0-or-later
// What the program does with a SQLite file that is not what it expects: not
// its database, one of a newer version, one on a full disk, one the user can
// only read (run as a user without root, whoever runs the suite).

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"
#include "soporte/sin_root.h"
#include "soporte/soporte.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QtTest>

#include <sys/mount.h>
#include <unistd.h>

#include <memory>

using namespace velmora;

namespace {

bool sqlite3(const QString& archivo, const QByteArray& sql)
{
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), archivo});
    if (!p.waitForStarted())
        return false;
    p.write(sql);
    p.closeWriteChannel();
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QByteArray huella(const QString& archivo)
{
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QString valor_guardado(const QString& id)
{
    return Conexion().ejecutar(comando_exec("Consulta_registro", {id})).texto(QStringLiteral("Valor"));
}

} // namespace

class TstArchivoSqlite final : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
    void cleanup() { Conexion().cerrar(); }
    void base_ajena();
    void version_nueva();
    void version_sellada();
    void disco_lleno();
    void solo_lectura_data();
    void solo_lectura();
};

// An SQLite file with other tables: refused when it is opened, at start-up
// before the login, naming the file; nothing written into it.
void TstArchivoSqlite::base_ajena()
{
    QTemporaryDir dir;
    const QString archivo = dir.filePath("otra.db");
    QVERIFY(sqlite3(archivo, "CREATE TABLE clientes (id INTEGER PRIMARY KEY, nombre TEXT);\n"
                             "INSERT INTO clientes (nombre) VALUES ('Ana');\n"));
    const QByteArray antes = huella(archivo);
    const QString dsn = dir.filePath("conexion.dsn");
    escribir_origen(dsn, archivo);
    try {
        Conexion().abrir("FILEDSN=" + dsn);
        QFAIL("another program's database was opened");
    } catch (const ErrorBaseDatos& e) {
        QCOMPARE(e.numero(), QString(kErrorBaseAjena));
        QCOMPARE(e.texto(), QStringLiteral("El archivo \"%1\" no es una base de datos de Velmora: no tiene las tablas "
                                           "del programa. Corrija Database en el origen de datos para que indique la "
                                           "base de datos del programa.")
                                .arg(QDir::toNativeSeparators(archivo)));
    }
    QVERIFY(!Conexion().abierta());
    QCOMPARE(huella(archivo), antes);
}

// A database stamped by a newer version is refused, naming the file, and
// left exactly as it was (no column of this version added, no procedure
// replaced).
void TstArchivoSqlite::version_nueva()
{
    BasePrueba base;
    QVERIFY(sqlite3(base.archivo(), "PRAGMA user_version = 7;\nALTER TABLE registro RENAME COLUMN valor_exacto TO exacto;\n"));
    const QByteArray antes = huella(base.archivo());
    try {
        base.abrir();
        QFAIL("a newer version's database was opened");
    } catch (const ErrorBaseDatos& e) {
        QCOMPARE(e.numero(), QString(kErrorVersionNueva));
        QCOMPARE(e.texto(), QStringLiteral("La base de datos \"%1\" es de una versión más nueva de Velmora (versión 7 "
                                           "de la base; este programa llega a la 1). No se abre, para no estropearla: "
                                           "use la versión del programa que la creó o una más nueva.")
                                .arg(QDir::toNativeSeparators(base.archivo())));
    }
    QVERIFY(!Conexion().abierta());
    QCOMPARE(huella(base.archivo()), antes);
}

// The database carries its version: the demo one from its script, one made
// before the stamp once the program opened it.
void TstArchivoSqlite::version_sellada()
{
    BasePrueba base;
    base.abrir();
    QCOMPARE(Conexion().ejecutar("PRAGMA user_version").campo(0).toInt(), 1);
    Conexion().cerrar();
    QVERIFY(sqlite3(base.archivo(), "PRAGMA user_version = 0;\n"));
    base.abrir();
    QCOMPARE(Conexion().aviso(), QString());
    QCOMPARE(Conexion().ejecutar("PRAGMA user_version").campo(0).toInt(), 1);
}

// A save on a full disk: a message that nothing was stored, the program goes
// on, the file is whole.
void TstArchivoSqlite::disco_lleno()
{
    if (::geteuid() != 0)
        QFAIL("mounting the small disk this test fills needs root");
    QTemporaryDir dir;
    const QString disco = dir.filePath("disco");
    QVERIFY(QDir().mkpath(disco));
    QVERIFY2(::mount("tmpfs", QFile::encodeName(disco).constData(), "tmpfs", 0, "size=1m") == 0,
             qPrintable(QString::fromLocal8Bit(strerror(errno))));
    const auto desmontar = qScopeGuard([&disco] { ::umount2(QFile::encodeName(disco).constData(), MNT_DETACH); });
    const QString archivo = QDir(disco).filePath("prueba.db");
    QVERIFY(QFile::copy(BasePrueba::ruta_base_demo(), archivo));
    QFile::setPermissions(archivo, QFile::ReadOwner | QFile::WriteOwner);
    const QString dsn = dir.filePath("conexion.dsn");
    escribir_origen(dsn, archivo);
    Conexion().abrir("FILEDSN=" + dsn);
    const QString id = Conexion()
                           .ejecutar(comando_exec("Consulta_modificar", {"Margen operativo", "2024"}))
                           .texto(QStringLiteral("Id1"));
    const QString antes = valor_guardado(id);
    // Every byte left taken.
    {
        QFile relleno(QDir(disco).filePath("relleno"));
        QVERIFY(relleno.open(QIODevice::WriteOnly));
        const QByteArray bloque(4096, 'x');
        while (relleno.write(bloque) == bloque.size() && relleno.flush()) {
        }
    }
    try {
        Transaccion transaccion(Conexion());
        Conexion().ejecutar(comando_modificar("1", "987654", "3", id));
        transaccion.confirmar();
        QFAIL("a save on a full disk passed");
    } catch (const RechazoDatos& e) {
        QCOMPARE(e.numero(), QString(kErrorSinEspacio));
        QCOMPARE(e.texto(), QStringLiteral("No se guardó nada: no queda espacio en el disco de la base de datos \"%1\". "
                                           "Libere espacio en ese disco y guarde de nuevo.")
                                .arg(QDir::toNativeSeparators(archivo)));
    }
    QCOMPARE(valor_guardado(id), antes);
    QCOMPARE(Conexion().ejecutar("PRAGMA integrity_check").campo(0).toString(), QStringLiteral("ok"));
    // Room again: the same save lands.
    QVERIFY(QFile::remove(QDir(disco).filePath("relleno")));
    {
        Transaccion transaccion(Conexion());
        Conexion().ejecutar(comando_modificar("1", "987654", "3", id));
        transaccion.confirmar();
    }
    QCOMPARE(valor_guardado(id), QStringLiteral("987654"));
    Conexion().cerrar();
}

// The file (0400) or its folder (0555) the user cannot write, the user
// without root: reports work, a save is refused with what to do, the
// program goes on.
void TstArchivoSqlite::solo_lectura_data()
{
    QTest::addColumn<bool>("carpeta");
    QTest::newRow("archivo 0400") << false;
    QTest::newRow("carpeta 0555") << true;
}

void TstArchivoSqlite::solo_lectura()
{
    QFETCH(bool, carpeta);
    QTemporaryDir dir(QStringLiteral("/tmp/velmora-solo-XXXXXX"));
    const QString raiz = carpeta_para_todos(dir);
    const QString folder = QDir(raiz).filePath("base");
    QVERIFY(QDir().mkpath(folder));
    const QString archivo = QDir(folder).filePath("prueba.db");
    QVERIFY(QFile::copy(BasePrueba::ruta_base_demo(), archivo));
    const QString dsn = QDir(raiz).filePath("conexion.dsn");
    escribir_origen(dsn, archivo);
    QVERIFY(QFile::setPermissions(dsn, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    QVERIFY(dar_al_usuario(folder));
    QVERIFY(dar_al_usuario(archivo));
    const auto lectura = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto paso = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(archivo, carpeta ? lectura | QFile::WriteOwner : lectura));
    QVERIFY(QFile::setPermissions(folder, carpeta ? lectura | paso : lectura | paso | QFile::WriteOwner));
    const auto abrir_carpeta = qScopeGuard([&folder] {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    const QByteArray antes = huella(archivo);
    int codigo = -1;
    QString errores;
    const QString salida = como_sin_root(QStringLiteral(VELMORA_LECTOR_BASE), raiz, {dsn}, codigo, errores);
    QVERIFY2(codigo == 0, qPrintable(salida + errores));
    QCOMPARE(salida.split(u'\n', Qt::SkipEmptyParts),
             (QStringList{"aviso=", "filas=12",
                          "guardar=" + QString(kErrorSoloLectura)
                              + QStringLiteral("|No se guardó nada: su usuario solo puede leer la base de datos \"%1\" "
                                               "(el archivo o su carpeta no le permiten escribir). Puede seguir "
                                               "consultando; para guardar, pida a quien administra el equipo "
                                               "permiso de escritura en el archivo y en su carpeta.")
                                    .arg(archivo),
                          "despues=12"}));
    QCOMPARE(huella(archivo), antes);
}

QTEST_GUILESS_MAIN(TstArchivoSqlite)
#include "tst_archivo_sqlite.moc"
