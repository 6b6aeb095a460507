// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/cadena_conexion.h"

#include <QRegularExpression>

namespace velmora {

QString entre_llaves(const QString& valor)
{
    QString v = valor;
    v.replace(u'}', QStringLiteral("}}"));
    return u'{' + v + u'}';
}

QString valor_en_cadena(const QString& valor)
{
    if (valor.contains(u';') || valor.contains(u'{') || valor.contains(u'}') || valor.startsWith(u' ')
        || valor.endsWith(u' '))
        return entre_llaves(valor);
    return valor;
}

QString valor_de(const QString& cadena, const QString& palabra)
{
    const QRegularExpression re(
        QStringLiteral("(?:^|;)\\s*%1\\s*=\\s*(\\{(?:[^}]|\\}\\})*\\}|[^;]*)").arg(QRegularExpression::escape(palabra)),
        QRegularExpression::CaseInsensitiveOption);
    QString v = re.match(cadena).captured(1).trimmed();
    if (v.startsWith(u'{') && v.endsWith(u'}'))
        v = v.mid(1, v.size() - 2).replace(QStringLiteral("}}"), QStringLiteral("}"));
    return v;
}

int puerto_de(const QString& cadena)
{
    return valor_de(cadena, QStringLiteral("port")).toInt();
}

// The server cancels a statement itself a little before the program stops
// waiting, so a slow but living server ends it cleanly.
int limite_servidor_ms(const LimitesTiempo& limites)
{
    return qMax(500, limites.sentencia_s * 1000 - 1000);
}

// The SQLite driver waits for another program's lock up to its Timeout
// (100 s by default, with the window frozen): a few seconds instead, then
// the user hears that someone else holds the database. The first value of a
// keyword counts, so this one goes before the data source's own.
// PostgreSQL's driver hands libpq's own options over in pqopt: a time limit
// on connecting (a stalled server accepts the socket and never answers) and
// keepalives that find a dead peer over TCP. A data source that sets pqopt
// itself keeps its own.
QString con_limites(const QString& cadena, const LimitesTiempo& limites)
{
    static const QRegularExpression sqlite(QStringLiteral("^DRIVER=\\{?[^;}]*sqlite[^;}]*\\}?;"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression postgres(QStringLiteral("^DRIVER=\\{?[^;}]*postgres"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression pqopt(QStringLiteral("(?:^|;)\\s*pqopt\\s*="),
                                          QRegularExpression::CaseInsensitiveOption);
    QString resultado = cadena;
    const QRegularExpressionMatch m = sqlite.match(cadena);
    if (m.hasMatch()) {
        resultado.insert(m.capturedEnd(), QStringLiteral("Timeout=%1;").arg(limites.bloqueo_ms));
    } else if (postgres.match(cadena).hasMatch() && !pqopt.match(cadena).hasMatch()) {
        if (!resultado.endsWith(u';'))
            resultado += u';';
        resultado += QStringLiteral("pqopt={connect_timeout=%1 keepalives=1 keepalives_idle=10 "
                                    "keepalives_interval=5 keepalives_count=3 tcp_user_timeout=%2}")
                         .arg(limites.conectar_s)
                         .arg(limites.sentencia_s * 1000);
    }
    return resultado;
}

} // namespace velmora
