// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/errores_sistema.h"

#include <QStorageInfo>

#include <cerrno>

namespace velmora {

QString texto_error_sistema(int numero)
{
    // The C library's own texts follow the process's locale, which may well
    // be C (English): the user reads these instead.
    switch (numero) {
    case ENOENT:
        return QStringLiteral("no existe el archivo o la carpeta");
    case EACCES:
    case EPERM:
        return QStringLiteral("no tiene permiso");
    case EROFS:
        return QStringLiteral("el disco es de solo lectura");
    case ENOSPC:
        return QStringLiteral("no queda espacio en el disco");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("se agotó su cuota de disco");
#endif
    case EFBIG:
        return QStringLiteral("el archivo es demasiado grande");
    case EISDIR:
        return QStringLiteral("es una carpeta");
    case ENOTDIR:
        return QStringLiteral("una parte de la ruta no es una carpeta");
    case ENAMETOOLONG:
        return QStringLiteral("el nombre es demasiado largo");
    case ELOOP:
        return QStringLiteral("hay un ciclo de enlaces simbólicos");
    case EEXIST:
        return QStringLiteral("el archivo ya existe");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("el archivo está en uso");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("hay demasiados archivos abiertos");
    case ENOMEM:
        return QStringLiteral("no hay memoria suficiente");
    case EIO:
        return QStringLiteral("error de lectura o escritura en el disco");
    case EXDEV:
        return QStringLiteral("el destino está en otro disco");
    case EINVAL:
        return QStringLiteral("nombre no válido");
    case 0:
        return QStringLiteral("error desconocido");
    default:
        return QStringLiteral("error del sistema número %1").arg(numero);
    }
}

bool falta_espacio(int numero)
{
    return numero == ENOSPC || numero == EFBIG
#ifdef EDQUOT
           || numero == EDQUOT
#endif
        ;
}

bool disco_casi_lleno(const QString& carpeta)
{
    constexpr qint64 kPoco = 1024 * 1024;
    const QStorageInfo disco(carpeta);
    return disco.isValid() && disco.bytesAvailable() >= 0 && disco.bytesAvailable() < kPoco;
}

} // namespace velmora
