// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/terminar.h"
#include "app/ventanas.h"
#include "data/comandos.h"
#include "data/conexion.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/registro_ventanas.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

using namespace velmora;

// Who made a change, on the embedded database (which has no users of its
// own): the operating system's account, also where the environment names
// nobody (a service, a container, cron) or names someone else.
class TstCuentaSistema final : public QObject {
    Q_OBJECT
private slots:
    void cuenta_del_sistema_data();
    void cuenta_del_sistema();
};

void TstCuentaSistema::cuenta_del_sistema_data()
{
    QTest::addColumn<QString>("usuario_entorno");
    QTest::newRow("sin USER ni LOGNAME") << QString();
    QTest::newRow("USER de otro") << QStringLiteral("impostor");
}

void TstCuentaSistema::cuenta_del_sistema()
{
    QFETCH(QString, usuario_entorno);
    const passwd* cuenta = getpwuid(geteuid());
    QVERIFY(cuenta);
    const QString esperada = QString::fromLocal8Bit(cuenta->pw_name);
    for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
        if (usuario_entorno.isEmpty())
            qunsetenv(variable);
        else
            qputenv(variable, usuario_entorno.toLocal8Bit());
    }

    BasePrueba base;
    base.abrir();
    registrar_ventanas();
    RegistroMensajes mensajes;
    QWidget* login = RegistroVentanas::instancia().mostrar("FET049TF");
    QVERIFY(login);
    control<QComboBox>(login, "usuario")->setEditText("Administrador");
    control<QLineEdit>(login, "contraseña")->setText("mirtovask");
    pulsar(login, "cargar");
    QCOMPARE(mensajes.textos(), QStringList{});

    const QString id = meses_guardados("Margen operativo", "2024").at(0).section(u'|', 3, 3);
    Conexion().ejecutar(comando_modificar("1", "2", "3", id));
    {
        Resultado r = Conexion().ejecutar(comando_exec("Consulta_historial", {"Margen operativo"}));
        QVERIFY(!r.eof());
        QCOMPARE(r.texto("Usuario"), esperada);
        QCOMPARE(r.texto("Tipo de usuario"), QStringLiteral("Administrador"));
    }

    RegistroVentanas::instancia().descargar_todas();
    Conexion().cerrar();
}

QTEST_MAIN(TstCuentaSistema)
#include "tst_cuenta_sistema.moc"
