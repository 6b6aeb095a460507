// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/archivo_sqlite.h"

#include "data/cadena_conexion.h"
#include "data/dialectos.h"
#include "data/errores.h"

#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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

bool solo_lectura(const QString& archivo)
{
#ifdef Q_OS_UNIX
    const QFileInfo info(archivo);
    return ::access(QFile::encodeName(info.absoluteFilePath()).constData(), W_OK) != 0
           || ::access(QFile::encodeName(info.absolutePath()).constData(), W_OK) != 0;
#else
    const QFileInfo info(archivo);
    return !info.isWritable() || !QFileInfo(info.absolutePath()).isWritable();
#endif
}

} // namespace velmora
