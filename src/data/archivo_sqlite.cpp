#include "data/archivo_sqlite.h"

#include "data/cadena_conexion.h"
#include "data/dialectos.h"
#include "data/errores.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

void exigir_base_sqlite(const QString& cadena)
{
    if (!cadena_sqlite(cadena))
        return;
    const QString archivo = valor_de(cadena, QStringLiteral("Database"));
    if (archivo.isEmpty() || archivo == QStringLiteral(":memory:") || QFileInfo(archivo).isFile())
        return;
    throw ErrorBaseDatos(kErrorSinOrigen,
                         QStringLiteral("No existe la base de datos \"%1\"").arg(QDir::toNativeSeparators(archivo)));
}

} // namespace velmora
