// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/aplicacion.h"
#include "data/conexion.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/registro_ventanas.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <unistd.h>

namespace {

// What the program writes on standard error while it lives.
class CapturaErrores final {
public:
    CapturaErrores()
    {
        std::fflush(stderr);
        archivo_.open();
        copia_ = ::dup(STDERR_FILENO);
        ::dup2(archivo_.handle(), STDERR_FILENO);
    }
    ~CapturaErrores() { devolver(); }
    CapturaErrores(const CapturaErrores&) = delete;
    CapturaErrores& operator=(const CapturaErrores&) = delete;
    QString texto()
    {
        devolver();
        QFile leido(archivo_.fileName());
        return leido.open(QIODevice::ReadOnly) ? QString::fromUtf8(leido.readAll()) : QString();
    }

private:
    void devolver()
    {
        if (copia_ < 0)
            return;
        std::fflush(stderr);
        ::dup2(copia_, STDERR_FILENO);
        ::close(copia_);
        copia_ = -1;
    }
    QTemporaryFile archivo_;
    int copia_ = -1;
};

} // namespace

using namespace velmora;

// Start-up reads conexion.dsn from the program's own folder, so each case
// puts one there (or takes it away) before it starts.
class TstArranque final : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void con_origen_de_datos_se_ve_el_login();
    void sin_origen_de_datos_termina_con_error();
    void arranque_fallido_data();
    void arranque_fallido();
    void el_login_lleva_a_su_menu_data();
    void el_login_lleva_a_su_menu();

private:
    static QString ruta_dsn() { return QCoreApplication::applicationDirPath() + "/conexion.dsn"; }
};

void TstArranque::cleanup()
{
    QFile::remove(ruta_dsn());
    RegistroVentanas::instancia().descargar_todas();
    Conexion().cerrar();
}

void TstArranque::con_origen_de_datos_se_ve_el_login()
{
    BasePrueba base;
    QFile::remove(ruta_dsn());
    QVERIFY(QFile::copy(base.dsn(), ruta_dsn()));
    RegistroMensajes mensajes;
    QVERIFY(iniciar());
    QVERIFY(mensajes.mensajes.isEmpty());
    QVERIFY(Conexion().abierta());
    QWidget* login = RegistroVentanas::instancia().ventana("FET049TF");
    QVERIFY(login && login->isVisible());
    QWidget* principal = RegistroVentanas::instancia().ventana("Principal");
    QVERIFY(principal && !principal->isVisible());
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(w == login || !w->isVisible(), qPrintable(w->objectName()));
}

void TstArranque::sin_origen_de_datos_termina_con_error()
{
    QFile::remove(ruta_dsn());
    RegistroMensajes mensajes;
    QVERIFY(!iniciar());
    QCOMPARE(mensajes.mensajes.size(), 1);
    QVERIFY(mensajes.mensajes[0].texto.contains("conexion.dsn"));
    QVERIFY(mensajes.mensajes[0].texto.startsWith("Error IM002"));
    QVERIFY(!RegistroVentanas::instancia().ventana("FET049TF"));
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
}

void TstArranque::arranque_fallido_data()
{
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QStringList>("en_texto");
    QTest::newRow("controlador que no se carga")
        << "controlador" << QStringList{"No se puede cargar el controlador ODBC \"NoExiste\"", "conexion.dsn",
                                        "Instale el controlador"};
    QTest::newRow("archivo que no es una base de datos")
        << "dañada" << QStringList{"no es una base de datos SQLite", "basura.db", "copia de seguridad"};
    QTest::newRow("origen de datos que es una carpeta")
        << "carpeta" << QStringList{"es una carpeta, no un archivo", "conexion.dsn"};
}

// A start-up that cannot open the database says in Spanish what happened,
// which file and what to do, in the box and on standard error.
void TstArranque::arranque_fallido()
{
    QFETCH(QString, caso);
    QFETCH(QStringList, en_texto);
    QTemporaryDir carpeta;
    QFile::remove(ruta_dsn());
    if (caso == QStringLiteral("carpeta")) {
        QVERIFY(QDir().mkpath(ruta_dsn()));
    } else {
        QFile basura(carpeta.filePath(QStringLiteral("basura.db")));
        QVERIFY(basura.open(QIODevice::WriteOnly));
        basura.write(QByteArray(8192, 'x'));
        basura.close();
        QFile dsn(ruta_dsn());
        QVERIFY(dsn.open(QIODevice::WriteOnly));
        dsn.write("[ODBC]\nDRIVER=" + QByteArray(caso == QStringLiteral("controlador") ? "NoExiste" : "SQLite3")
                  + "\nDatabase=" + basura.fileName().toUtf8() + "\n");
    }
    RegistroMensajes mensajes;
    QString errores;
    {
        CapturaErrores captura;
        QVERIFY(!iniciar());
        errores = captura.texto();
    }
    QDir(ruta_dsn()).removeRecursively();
    QCOMPARE(mensajes.mensajes.size(), 1);
    const QString texto = mensajes.mensajes[0].texto;
    for (const QString& parte : en_texto) {
        QVERIFY2(texto.contains(parte), qPrintable(texto));
        QVERIFY2(errores.contains(parte), qPrintable(errores));
    }
    for (const char* ingles : {"Can't open", "file not found", "file is not a database", "Unknown error"})
        QVERIFY2(!texto.contains(QLatin1String(ingles)), qPrintable(texto));
    QVERIFY(!RegistroVentanas::instancia().ventana("FET049TF"));
}

void TstArranque::el_login_lleva_a_su_menu_data()
{
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("menu");
    QTest::newRow("administrador") << "Administrador" << "mirtovask" << "Principal";
    QTest::newRow("general") << "General" << "quandy" << "Principalgeneral";
}

// From start-up to the menu; the administrator menu shown is the one loaded
// hidden at start-up.
void TstArranque::el_login_lleva_a_su_menu()
{
    QFETCH(QString, tipo);
    QFETCH(QString, clave);
    QFETCH(QString, menu);
    BasePrueba base;
    QFile::remove(ruta_dsn());
    QVERIFY(QFile::copy(base.dsn(), ruta_dsn()));
    RegistroMensajes mensajes;
    QVERIFY(iniciar());
    RegistroVentanas& registro = RegistroVentanas::instancia();
    QWidget* principal = registro.ventana("Principal");
    QWidget* login = registro.ventana("FET049TF");

    auto* usuario = control<QComboBox>(login, "usuario");
    QTest::keyClicks(usuario->lineEdit(), tipo);
    QTest::keyClicks(control<QLineEdit>(login, "contraseña"), clave);
    pulsar(login, "cargar");

    QVERIFY(mensajes.mensajes.isEmpty());
    QVERIFY(!login->isVisible());
    QVERIFY(registro.ventana(menu)->isVisible());
    QCOMPARE(registro.ventana("Principal"), principal);
    QCOMPARE(principal->isVisible(), menu == "Principal");
}

QTEST_MAIN(TstArranque)
#include "tst_arranque.moc"
