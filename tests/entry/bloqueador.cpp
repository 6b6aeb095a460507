// SPDX-License-Identifier: GPL-3.0-or-later
// A second program on the same database file, for the tests of two programs
// at once. "exclusivo <dsn>" holds BEGIN EXCLUSIVE until a line arrives on
// its input; "guardar <dsn> <id> <valor> <ms>" stores one record's value in a
// store transaction and holds it for ms milliseconds before confirming;
// "restaurar <dsn> <indicador> <ms>" restores a deleted indicator the same way.
// It writes "listo" once it holds the lock.
#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"

#include <QCoreApplication>
#include <QThread>

#include <iostream>
#include <string>

using namespace velmora;

int main(int argc, char** argv)
{
    QCoreApplication aplicacion(argc, argv);
    const QStringList args = aplicacion.arguments();
    if (args.size() < 3)
        return 2;
    try {
        Conexion().abrir(QStringLiteral("FILEDSN=") + args[2]);
        if (args[1] == QStringLiteral("exclusivo")) {
            Conexion().ejecutar(QStringLiteral("BEGIN EXCLUSIVE"));
            std::cout << "listo" << std::endl;
            std::string linea;
            std::getline(std::cin, linea);
            Conexion().ejecutar(QStringLiteral("ROLLBACK"));
        } else if (args[1] == QStringLiteral("guardar") && args.size() == 6) {
            Transaccion transaccion(Conexion());
            Conexion().ejecutar(comando_modificar(QStringLiteral("1"), args[4], QStringLiteral("2"), args[3]));
            std::cout << "listo" << std::endl;
            QThread::msleep(args[5].toULong());
            transaccion.confirmar();
        } else if (args[1] == QStringLiteral("restaurar") && args.size() == 5) {
            Transaccion transaccion(Conexion());
            Conexion().ejecutar(comando_exec(QStringLiteral("Restaurar_indicador"), {args[3]}));
            std::cout << "listo" << std::endl;
            QThread::msleep(args[4].toULong());
            transaccion.confirmar();
        } else {
            return 2;
        }
    } catch (const ErrorBaseDatos& e) {
        std::cerr << e.mensaje().toStdString() << std::endl;
        return 1;
    }
    return 0;
}
