// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fet049tf.h"

#include "app/terminar.h"
#include "data/comandos.h"
#include "data/conexion.h"
#include "data/permisos.h"
#include "ui/imagenes.h"
#include "ui/mensajes.h"
#include "ui/registro_ventanas.h"
#include "ui/twips.h"
#include "ui/atender.h"
#include "ui/controles.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <vector>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace velmora {

namespace {

// The operating system's account the program runs under. Its own
// records, not the environment: a service, a container or cron may set no
// USER at all, and anyone can set it to any name.
QString cuenta_sistema()
{
#ifdef Q_OS_UNIX
    const long largo_max = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> memoria(largo_max > 0 ? static_cast<size_t>(largo_max) : 16384);
    passwd datos {};
    passwd* cuenta = nullptr;
    if (getpwuid_r(geteuid(), &datos, memoria.data(), memoria.size(), &cuenta) == 0 && cuenta && cuenta->pw_name)
        return QString::fromLocal8Bit(cuenta->pw_name);
    // An account with no entry (a container's bare uid): its number.
    return QString::number(geteuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

} // namespace

FET049TF::FET049TF(QWidget* padre) : QWidget(padre)
{
    setObjectName(QStringLiteral("FET049TF"));
    setWindowTitle(QStringLiteral("Form1"));
    // The title is the design's; a screen reader also hears what the window is.
    setAccessibleDescription(
        QStringLiteral("Inicio de sesión de Velmora: elija el tipo de usuario y escriba su contraseña"));
    fijar_fondo(this, QStringLiteral("menu"));
    terminar_al_cerrar(this);

    lbl_usuario = etiqueta(this, QStringLiteral("lbl_usuario"), QStringLiteral("Usuario"));
    usuario = new QComboBox(this);
    usuario->setObjectName(QStringLiteral("usuario"));
    usuario->setEditable(true);
    // What is typed stays as typed: no completion that would fix its case,
    // and Enter does not add it to the list.
    usuario->setCompleter(nullptr);
    usuario->setInsertPolicy(QComboBox::NoInsert);
    usuario->addItems({QStringLiteral("Administrador"), QStringLiteral("General")});
    usuario->setCurrentIndex(-1);
    lbl_usuario->setBuddy(usuario);

    lbl_contraseña = etiqueta(this, QStringLiteral("lbl_contraseña"), QStringLiteral("Contraseña"));
    contraseña = new QLineEdit(this);
    contraseña->setObjectName(QStringLiteral("contraseña"));
    contraseña->setEchoMode(QLineEdit::Password);
    contraseña->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // '*'
    lbl_contraseña->setBuddy(contraseña);

    cargar = new QPushButton(QStringLiteral("Cargar"), this);
    cargar->setObjectName(QStringLiteral("cargar"));
    cargar->setDefault(true); // Enter logs in
    cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cancelar->setObjectName(QStringLiteral("cancelar"));

    setTabOrder(usuario, contraseña);
    setTabOrder(contraseña, cargar);
    setTabOrder(cargar, cancelar);

    auto* campos = new QGridLayout;
    campos->addWidget(lbl_usuario, 0, 0);
    campos->addWidget(usuario, 0, 1);
    campos->addWidget(lbl_contraseña, 1, 0);
    campos->addWidget(contraseña, 1, 1);
    campos->setColumnStretch(1, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cargar);
    botones->addWidget(cancelar);
    auto* capa = new QVBoxLayout(this);
    capa->setContentsMargins(twips_a_px(450, this), twips_a_px(450, this), twips_a_px(450, this),
                             twips_a_px(300, this));
    capa->addLayout(campos);
    capa->addStretch();
    capa->addLayout(botones);
    fijar_area_cliente(this, 5400, 2400);

    connect(cargar, &QPushButton::clicked, this, atendido(this, &FET049TF::cargar_Click));
    connect(cancelar, &QPushButton::clicked, this, atendido(this, &FET049TF::cancelar_Click));
}

void FET049TF::cargar_Click()
{
    QString menu;
    if (usuario->currentText() == QStringLiteral("Administrador")) {
        if (contraseña->text() != QStringLiteral("mirtovask")) {
            mensaje(QStringLiteral("Contraseña no Válida"));
            return;
        }
        menu = QStringLiteral("Principal");
    } else if (usuario->currentText() == QStringLiteral("General")) {
        if (contraseña->text() != QStringLiteral("quandy")) {
            mensaje(QStringLiteral("Contraseña no Válida"));
            return;
        }
        menu = QStringLiteral("Principalgeneral");
    } else {
        mensaje(QStringLiteral("Tienes que seleccionar el tipo de Usuario"));
        return;
    }
    // The history records who changed what: the database learns the user
    // type here, and the account where the engine has no users of its own.
    Conexion().fijar_sesion(
        comando_exec(QStringLiteral("Sesion_programa"), {usuario->currentText(), cuenta_sistema()}));
    // The server decides what an account may change: one that may only
    // read is told so before the menu opens (reading still works there).
    if (menu == QStringLiteral("Principal")) {
        const PermisosCuenta permisos = permisos_cuenta();
        if (!permisos.modificar)
            mensaje(QStringLiteral("La cuenta %1 de la base de datos solo puede consultar: los reportes, la "
                                   "tendencia, la exportación y el historial funcionan, pero no se guardará "
                                   "ningún cambio")
                        .arg(permisos.cuenta));
    }
    RegistroVentanas& registro = RegistroVentanas::instancia();
    registro.ocultar(QStringLiteral("FET049TF"));
    registro.mostrar(menu);
}

void FET049TF::cancelar_Click()
{
    terminar_programa();
}

} // namespace velmora
