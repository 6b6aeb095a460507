// SPDX-License-Identifier: GPL-3.0-or-later
// Command builders and their parser: any name without blanks or quotes and
// any arguments come back as they went in, whatever the separator; any text
// the parser accepts builds again into a command it reads the same way.

#include "data/comandos.h"
#include "entrada.h"

#include <cstdio>

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo)
{
    const QStringList c = campos(datos, largo);
    const QString& nombre = c.front();
    const QStringList argumentos = c.mid(1);

    if (!nombre.isEmpty() && !nombre.contains(u' ') && !nombre.contains(u'\'')) {
        const LlamadaExec esperada{nombre, argumentos};
        EXIGIR(analizar_exec(comando_exec(nombre, argumentos)) == esperada);
        EXIGIR(analizar_exec(comando_exec_tendencia(nombre, argumentos)) == esperada);
        if (argumentos.size() == 4 && nombre == QStringLiteral("modificar"))
            EXIGIR(analizar_exec(comando_modificar(argumentos[0], argumentos[1], argumentos[2],
                                                   argumentos[3]))
                   == esperada);
    }

    // The raw input as a command text.
    const QString texto = c.join(u'\x01');
    if (const auto llamada = analizar_exec(texto))
        EXIGIR(analizar_exec(comando_exec(llamada->nombre, llamada->argumentos)) == llamada);

    // A quoted value never lets a quote through undoubled.
    const QString citado = entre_comillas(texto);
    EXIGIR(citado.front() == u'\'' && citado.back() == u'\'');
    EXIGIR(!citado.mid(1, citado.size() - 2).replace(QStringLiteral("''"), QString()).contains(u'\''));
    return 0;
}
