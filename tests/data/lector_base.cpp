// SPDX-License-Identifier: GPL-3.0-or-later
// A second program for the tests of a database the user can only read: run
// as a user without root (setpriv), it opens a data source, reads, tries a
// save and reads again, and prints what happened, one "key=value" a line.

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/errores.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace velmora;

int main(int argc, char** argv)
{
    QCoreApplication aplicacion(argc, argv);
    QTextStream salida(stdout);
    if (argc != 2) {
        salida << "uso: lector_base <origen de datos>\n";
        return 2;
    }
    const auto filas = [] {
        int n = 0;
        for (Resultado r = Conexion().ejecutar(comando_exec("Consulta_modificar", {"Margen operativo", "2024"}));
             !r.eof(); r.siguiente())
            ++n;
        return n;
    };
    try {
        Conexion().abrir(QStringLiteral("FILEDSN=") + QString::fromLocal8Bit(argv[1]));
        salida << "aviso=" << Conexion().aviso() << "\n";
        salida << "filas=" << filas() << "\n";
        Resultado r = Conexion().ejecutar(comando_exec("Consulta_modificar", {"Margen operativo", "2024"}));
        const QString id = r.texto(QStringLiteral("Id1"));
        try {
            Transaccion transaccion(Conexion());
            Conexion().ejecutar(comando_modificar("1", "2", "3", id));
            transaccion.confirmar();
            salida << "guardar=ok\n";
        } catch (const RechazoDatos& e) {
            salida << "guardar=" << e.numero() << "|" << e.texto() << "\n";
        }
        salida << "despues=" << filas() << "\n";
    } catch (const ErrorBaseDatos& e) {
        salida << "error=" << e.numero() << "|" << e.texto() << "\n";
        return 1;
    }
    return 0;
}
