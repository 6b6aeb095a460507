// SPDX-License-Identifier: GPL-3.0-or-later
// The data source reader: any file either is refused with a Spanish message
// or gives a connection string that splits, by the ODBC quoting rules, into
// exactly the file's keywords, each a plain keyword, with one DRIVER.

#include "data/errores.h"
#include "data/origen_datos.h"
#include "entrada.h"
#include "soporte/cadena_odbc.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

using namespace velmora;

namespace {

bool palabra(const QString& clave)
{
    static const QRegularExpression forma(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*\\z"));
    return forma.match(clave).hasMatch();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo)
{
    static QTemporaryDir carpeta;
    const QString ruta = carpeta.filePath(QStringLiteral("origen.dsn"));
    {
        QFile f(ruta);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(datos), static_cast<qint64>(largo));
    }
    OrigenDatos origen;
    try {
        origen = leer_origen_datos(ruta);
    } catch (const ErrorBaseDatos& e) {
        EXIGIR(e.texto().startsWith(QStringLiteral("El origen de datos")));
        return 0;
    }
    const auto pares = partir_cadena_odbc(origen.cadena);
    EXIGIR(pares.has_value());
    EXIGIR(!pares->isEmpty() && pares->front().first == QStringLiteral("DRIVER"));
    for (qsizetype k = 0; k < pares->size(); ++k) {
        EXIGIR(palabra(pares->at(k).first));
        EXIGIR(k == 0 || pares->at(k).first.compare(QStringLiteral("DRIVER"), Qt::CaseInsensitive) != 0);
        EXIGIR(!pares->at(k).second.contains(QChar(u'\0')));
        EXIGIR(!pares->at(k).second.contains(u'\r') && !pares->at(k).second.contains(u'\n'));
    }
    return 0;
}
