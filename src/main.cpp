#include "app/aplicacion.h"
#include "ui/traducciones.h"

#include <QCommandLineParser>
#include <QCoreApplication>

using namespace velmora;

namespace {

// --help and --version answer and end before any window system is needed,
// so they work over ssh and in scripts without a display.
void leer_argumentos(int& argc, char** argv)
{
    QCoreApplication nucleo(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELMORA_VERSION));
    instalar_traducciones(nucleo);
    QCommandLineParser argumentos;
    argumentos.setApplicationDescription(
        QStringLiteral("Velmora: tablero de indicadores clave de desempeño (KPI)."));
    argumentos.addHelpOption();
    argumentos.addVersionOption();
    // Qt's own options (-platform, -style...) belong to QApplication.
    // "-reverse" must not read as -r -e -v..., which would ask for the version.
    argumentos.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    argumentos.parse(QCoreApplication::arguments());
    if (argumentos.isSet(QStringLiteral("help")))
        argumentos.showHelp(0);
    if (argumentos.isSet(QStringLiteral("version")))
        argumentos.showVersion();
}

} // namespace

int main(int argc, char* argv[])
{
    leer_argumentos(argc, argv);
    AplicacionVelmora aplicacion(argc, argv);
    return arrancar(aplicacion);
}
