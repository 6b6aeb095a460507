// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/conexion.h"
#include "data/origen_datos.h"

#include <QProcess>
#include <QtTest>

using namespace velmora;

// Where the user's data source, database and exports live, and the set-up
// script that creates the first two. Every case works in a temporary home.
class TstDatosUsuario final : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void origen_junto_al_programa_primero();
    void origen_del_usuario_data();
    void origen_del_usuario();
    void exportar_en_documentos_data();
    void exportar_en_documentos();
    void preparar_crea_base_y_origen_data();
    void preparar_crea_base_y_origen();
    void preparar_nunca_sobrescribe();
    void preparar_rehace_la_base_borrada();
    void preparar_trae_los_datos_de_la_carpeta_antigua();

private:
    QString en_hogar(const QString& ruta) const { return hogar_->filePath(ruta); }
    static QString junto_al_programa()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/conexion.dsn");
    }
    // Runs scripts/preparar_datos.sh in the temporary home; with xdg false
    // the XDG variables are unset, so the defaults below HOME apply.
    QString preparar(bool xdg = true, const QString& antigua = {}) const;
    static QByteArray leer(const QString& ruta);
    static void escribir(const QString& ruta, const QByteArray& contenido);

    std::unique_ptr<QTemporaryDir> hogar_;
};

void TstDatosUsuario::init()
{
    hogar_ = std::make_unique<QTemporaryDir>();
    QVERIFY(hogar_->isValid());
    qputenv("HOME", QFile::encodeName(hogar_->path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(en_hogar(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(en_hogar(QStringLiteral("datos"))));
    QFile::remove(junto_al_programa());
}

void TstDatosUsuario::cleanup()
{
    QFile::remove(junto_al_programa());
    Conexion().cerrar();
}

QString TstDatosUsuario::preparar(bool xdg, const QString& antigua) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), hogar_->path());
    if (!xdg) {
        env.remove(QStringLiteral("XDG_CONFIG_HOME"));
        env.remove(QStringLiteral("XDG_DATA_HOME"));
    }
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    QStringList argumentos;
    if (!antigua.isEmpty())
        argumentos << antigua;
    p.start(QStringLiteral(VELMORA_RAIZ "/scripts/preparar_datos.sh"), argumentos);
    const bool terminado = p.waitForFinished(60000);
    const QString salida = QString::fromUtf8(p.readAll());
    if (!terminado || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("FALLO: ") + salida;
    return salida;
}

QByteArray TstDatosUsuario::leer(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TstDatosUsuario::escribir(const QString& ruta, const QByteArray& contenido)
{
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenido);
}

// A deployment that ships its data source beside the program wins over the
// user's own.
void TstDatosUsuario::origen_junto_al_programa_primero()
{
    const QString del_usuario = en_hogar(QStringLiteral("config/velmora/conexion.dsn"));
    escribir(del_usuario, "[ODBC]\n");
    QCOMPARE(ruta_origen_datos(), del_usuario);
    escribir(junto_al_programa(), "[ODBC]\n");
    QCOMPARE(ruta_origen_datos(), junto_al_programa());
}

void TstDatosUsuario::origen_del_usuario_data()
{
    QTest::addColumn<bool>("xdg");
    QTest::addColumn<QString>("esperado"); // below the temporary home
    QTest::newRow("XDG_CONFIG_HOME") << true << QStringLiteral("config/velmora/conexion.dsn");
    QTest::newRow("sin XDG_CONFIG_HOME") << false << QStringLiteral(".config/velmora/conexion.dsn");
}

// With no data source anywhere the path (and so the start-up error) is the
// user's own one, where set-up writes it.
void TstDatosUsuario::origen_del_usuario()
{
    QFETCH(bool, xdg);
    QFETCH(QString, esperado);
    if (!xdg)
        qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(ruta_origen_datos(), en_hogar(esperado));
    QVERIFY(!QFileInfo::exists(en_hogar(esperado)));
}

void TstDatosUsuario::exportar_en_documentos_data()
{
    QTest::addColumn<QByteArray>("carpetas_usuario"); // user-dirs.dirs, empty for none
    QTest::addColumn<QString>("carpeta");
    QTest::newRow("Documents") << QByteArray() << QStringLiteral("Documents");
    QTest::newRow("XDG_DOCUMENTS_DIR")
        << QByteArray("XDG_DOCUMENTS_DIR=\"$HOME/Mis documentos\"\n") << QStringLiteral("Mis documentos");
}

// The default export file is Datos.xlsx in the documents folder, which is
// there afterwards even on a first start.
void TstDatosUsuario::exportar_en_documentos()
{
    QFETCH(QByteArray, carpetas_usuario);
    QFETCH(QString, carpeta);
    if (!carpetas_usuario.isEmpty())
        escribir(en_hogar(QStringLiteral("config/user-dirs.dirs")), carpetas_usuario);
    QCOMPARE(ruta_exportar_por_defecto(), en_hogar(carpeta + QStringLiteral("/Datos.xlsx")));
    QVERIFY(QFileInfo(en_hogar(carpeta)).isDir());
}

void TstDatosUsuario::preparar_crea_base_y_origen_data()
{
    QTest::addColumn<bool>("xdg");
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("datos");
    QTest::newRow("XDG") << true << QStringLiteral("config/velmora") << QStringLiteral("datos/velmora");
    QTest::newRow("sin XDG") << false << QStringLiteral(".config/velmora")
                             << QStringLiteral(".local/share/velmora");
}

// A first set-up writes the demo database and an owner-only data source that
// names it, and the program then opens it through its own lookup.
void TstDatosUsuario::preparar_crea_base_y_origen()
{
    QFETCH(bool, xdg);
    QFETCH(QString, config);
    QFETCH(QString, datos);
    const QString salida = preparar(xdg);
    QVERIFY2(!salida.startsWith(QStringLiteral("FALLO")), qPrintable(salida));
    const QString dsn = en_hogar(config + QStringLiteral("/conexion.dsn"));
    const QString base = en_hogar(datos + QStringLiteral("/velmora.db"));
    QVERIFY(QFileInfo(base).size() > 0);
    QVERIFY(leer(dsn).contains("\nDatabase=" + QFile::encodeName(base) + '\n'));
    QCOMPARE(QFileInfo(dsn).permissions() & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                            | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                            | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
             QFile::ReadOwner | QFile::WriteOwner);

    if (!xdg)
        qunsetenv("XDG_CONFIG_HOME");
    QCOMPARE(ruta_origen_datos(), dsn);
    Conexion().abrir(QStringLiteral("FILEDSN=") + ruta_origen_datos());
    Resultado r = Conexion().ejecutar(QStringLiteral("select count(*) AS n from indicador"));
    QVERIFY(r.texto(QStringLiteral("n")).toInt() > 0);
}

// Set-up runs before every start: what the user has is never replaced.
void TstDatosUsuario::preparar_nunca_sobrescribe()
{
    QVERIFY(!preparar().startsWith(QStringLiteral("FALLO")));
    const QString dsn = en_hogar(QStringLiteral("config/velmora/conexion.dsn"));
    const QString base = en_hogar(QStringLiteral("datos/velmora/velmora.db"));
    const QByteArray base_antes = leer(base) + "cambios del usuario";
    escribir(base, base_antes);
    const QByteArray propio = "[ODBC]\nDRIVER=PostgreSQL Unicode\nServername=servidor\n";
    escribir(dsn, propio);
    QVERIFY(!preparar().startsWith(QStringLiteral("FALLO")));
    QCOMPARE(leer(dsn), propio);
    QCOMPARE(leer(base), base_antes);
    // A data source of one's own that names no embedded database: none is made.
    QVERIFY(QFile::remove(base));
    QVERIFY(!preparar().startsWith(QStringLiteral("FALLO")));
    QVERIFY(!QFileInfo::exists(base));
    QCOMPARE(leer(dsn), propio);
}

// Deleting the database is the way to start again from the demo data.
void TstDatosUsuario::preparar_rehace_la_base_borrada()
{
    QVERIFY(!preparar().startsWith(QStringLiteral("FALLO")));
    const QString dsn = en_hogar(QStringLiteral("config/velmora/conexion.dsn"));
    const QString base = en_hogar(QStringLiteral("datos/velmora/velmora.db"));
    const QByteArray origen = leer(dsn);
    QVERIFY(QFile::remove(base));
    QVERIFY(!preparar().startsWith(QStringLiteral("FALLO")));
    QVERIFY(QFileInfo(base).size() > 0);
    QCOMPARE(leer(dsn), origen);
}

// The older layout kept the database and the data source beside the program
// in build/: the first set-up copies them instead of starting from demo data.
void TstDatosUsuario::preparar_trae_los_datos_de_la_carpeta_antigua()
{
    const QString antigua = en_hogar(QStringLiteral("build/PROG"));
    escribir(antigua + QStringLiteral("/velmora.db"), "datos de la organización");
    escribir(antigua + QStringLiteral("/conexion.dsn"),
             "[ODBC]\nDRIVER=SQLite3\nDatabase=" + QFile::encodeName(antigua) + "/velmora.db\n");
    QVERIFY(!preparar(true, antigua).startsWith(QStringLiteral("FALLO")));
    const QString base = en_hogar(QStringLiteral("datos/velmora/velmora.db"));
    QCOMPARE(leer(base), QByteArray("datos de la organización"));
    QVERIFY(leer(en_hogar(QStringLiteral("config/velmora/conexion.dsn")))
                .contains("\nDatabase=" + QFile::encodeName(base) + '\n'));
    QVERIFY(QFileInfo::exists(antigua + QStringLiteral("/velmora.db")));

    // A data source of one's own there (a server) is kept as it is.
    QVERIFY(QDir(en_hogar(QStringLiteral("config"))).removeRecursively());
    QVERIFY(QDir(en_hogar(QStringLiteral("datos"))).removeRecursively());
    const QByteArray propio = "[ODBC]\nDRIVER=PostgreSQL Unicode\nServername=servidor\n";
    escribir(antigua + QStringLiteral("/conexion.dsn"), propio);
    QVERIFY(!preparar(true, antigua).startsWith(QStringLiteral("FALLO")));
    QCOMPARE(leer(en_hogar(QStringLiteral("config/velmora/conexion.dsn"))), propio);
}

QTEST_GUILESS_MAIN(TstDatosUsuario)
#include "tst_datos_usuario.moc"
