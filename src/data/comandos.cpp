// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/comandos.h"

namespace velmora {

QString entre_comillas(const QString& valor)
{
    QString doblado = valor;
    doblado.replace(u'\'', QStringLiteral("''"));
    return u'\'' + doblado + u'\'';
}

QString comando_consulta(const QString& tabla)
{
    const QString nombre = tabla.contains(u' ') ? u'[' + tabla + u']' : tabla;
    return QStringLiteral("select * from ") + nombre + u' ';
}

static QString armar_exec(const QString& nombre, const QStringList& argumentos,
                          const QString& primer_separador)
{
    QString texto = QStringLiteral("Exec ") + nombre;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        if (i == 0)
            texto += u' ';
        else
            texto += (i == 1 ? primer_separador : QStringLiteral(","));
        texto += entre_comillas(argumentos[i]);
    }
    return texto;
}

QString comando_exec(const QString& nombre, const QStringList& argumentos)
{
    return armar_exec(nombre, argumentos, QStringLiteral(","));
}

QString comando_exec_tendencia(const QString& nombre, const QStringList& argumentos)
{
    return armar_exec(nombre, argumentos, QStringLiteral(", "));
}

QString comando_modificar(const QString& base, const QString& valor, const QString& meta,
                          const QString& id)
{
    return comando_exec(QStringLiteral("modificar"), {base, valor, meta, id}) + u' ';
}

std::optional<LlamadaExec> analizar_exec(const QString& comando)
{
    static const QString prefijo = QStringLiteral("Exec ");
    if (!comando.startsWith(prefijo, Qt::CaseInsensitive))
        return std::nullopt;
    qsizetype i = prefijo.size();
    const qsizetype n = comando.size();
    while (i < n && comando[i] == u' ')
        ++i;
    const qsizetype inicio_nombre = i;
    while (i < n && comando[i] != u' ' && comando[i] != u'\'')
        ++i;
    LlamadaExec llamada;
    llamada.nombre = comando.mid(inicio_nombre, i - inicio_nombre);
    if (llamada.nombre.isEmpty())
        return std::nullopt;

    auto saltar_blancos = [&] {
        while (i < n && comando[i] == u' ')
            ++i;
    };
    saltar_blancos();
    if (i == n)
        return llamada;
    while (true) {
        if (i >= n || comando[i] != u'\'')
            return std::nullopt;
        ++i;
        QString valor;
        while (true) {
            if (i >= n)
                return std::nullopt; // unterminated quote
            if (comando[i] == u'\'') {
                if (i + 1 < n && comando[i + 1] == u'\'') {
                    valor += u'\'';
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            valor += comando[i++];
        }
        llamada.argumentos << valor;
        saltar_blancos();
        if (i == n)
            return llamada;
        if (comando[i] != u',')
            return std::nullopt;
        ++i;
        saltar_blancos();
    }
}

} // namespace velmora
