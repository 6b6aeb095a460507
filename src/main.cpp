// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/aplicacion.h"
#include "app/linea_ordenes.h"

using namespace velmora;

int main(int argc, char* argv[])
{
    // --help, --version, a wrong option and a missing display are answered
    // before any window system is asked for.
    if (const std::optional<int> salida = leer_linea_ordenes(argc, argv))
        return *salida;
    AplicacionVelmora aplicacion(argc, argv);
    return arrancar(aplicacion);
}
