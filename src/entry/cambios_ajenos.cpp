// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/cambios_ajenos.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/textos.h"
#include "reglas/campos.h"

namespace velmora {

namespace {

// "70" and "70,0" are the same number; an empty value equals only another.
bool mismo_valor(const QString& a, const QString& b)
{
    const QString x = a.trimmed();
    const QString y = b.trimmed();
    if (x.isEmpty() || y.isEmpty())
        return x.isEmpty() && y.isEmpty();
    const std::optional<double> nx = a_numero(x);
    const std::optional<double> ny = a_numero(y);
    if (nx && ny)
        return *nx == *ny;
    return x == y;
}

// A quarter stands for its last month.
QString mes_de(const QString& periodo)
{
    static const QStringList trimestres = {QStringLiteral("primer trimestre"), QStringLiteral("segundo trimestre"),
                                           QStringLiteral("tercer trimestre"), QStringLiteral("cuarto trimestre")};
    const QString p = periodo.trimmed().toLower();
    const qsizetype t = trimestres.indexOf(p);
    return t >= 0 ? nombres_meses().at(3 * t + 2).toLower() : p;
}

// A server whose procedure predates the identity fields never gives an id
// again (its ids are an identity column): the id alone tells it there.
bool mismo_registro(const Resultado& r, const RegistroLeido& leido)
{
    if (!r.campos().contains(QStringLiteral("Indicador")))
        return true;
    auto igual = [](const QString& a, const QString& b) { return a.trimmed() == b.trimmed(); };
    return igual(r.texto(QStringLiteral("Indicador")), leido.indicador)
        && igual(r.texto(QStringLiteral("año")), leido.anio)
        && r.texto(QStringLiteral("Mes")).trimmed().toLower() == mes_de(leido.mes);
}

QString mostrar(const QString& valor)
{
    return valor.trimmed().isEmpty() ? QStringLiteral("vacío") : valor.trimmed();
}

} // namespace

QString cambios_ajenos(const QList<RegistroLeido>& leidos, const QString& boton)
{
    QStringList cambiados;
    for (const RegistroLeido& leido : leidos) {
        Resultado r = Conexion().ejecutar(comando_exec(QStringLiteral("Consulta_registro"), {leido.id}));
        if (r.eof() || !mismo_registro(r, leido)) {
            cambiados << leido.mes + QStringLiteral(" (ya no existe)");
            continue;
        }
        const QString valor = r.texto(CAMPO_VALOR);
        const QString meta = r.texto(CAMPO_META);
        const QString base = r.texto(CAMPO_NIVEL_BASE);
        if (mismo_valor(valor, leido.valor) && mismo_valor(meta, leido.meta) && mismo_valor(base, leido.base))
            continue;
        cambiados << QStringLiteral("%1 (Valor: %2; Meta: %3; Nivel Base: %4)")
                         .arg(leido.mes, mostrar(valor), mostrar(meta), mostrar(base));
    }
    if (cambiados.isEmpty())
        return {};
    return QStringLiteral("Otro usuario cambió estos valores después de que usted los consultó: ")
        + cambiados.join(QStringLiteral(", "))
        + QStringLiteral(". No se guardó nada. Pulse %1 para ver los valores actuales.").arg(boton);
}

} // namespace velmora
