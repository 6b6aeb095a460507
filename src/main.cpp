#include "app/aplicacion.h"

int main(int argc, char* argv[])
{
    AplicacionVelmora aplicacion(argc, argv);
    return arrancar(aplicacion);
}
