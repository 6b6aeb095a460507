#include "data/procedimientos_sqlite.h"

#include "data/errores.h"
#include "data/sentencias.h"

namespace velmora {

namespace {

QList<int> indices_de(const QString& parametros)
{
    QList<int> indices;
    const QStringList partes = parametros.split(u',', Qt::SkipEmptyParts);
    for (const QString& p : partes)
        indices << p.trimmed().toInt();
    return indices;
}

} // namespace

ProcedimientosSqlite::ProcedimientosSqlite(const Sentencias& sentencias) : sentencias_(sentencias) {}

// All of them before a store transaction, so that it never has to read one:
// a read would take a shared lock that then has to grow into a write lock
// while another writer waits (SQLite's upgrade deadlock).
void ProcedimientosSqlite::cargar_todos()
{
    if (todos_cargados_)
        return;
    const Filas filas = sentencias_.filas(sentencias_.directo(
        QStringLiteral("SELECT nombre, sentencia, parametros FROM procedimientos ORDER BY nombre, paso")));
    QHash<QString, Cuerpo> todos;
    for (const QVariantList& fila : filas.valores)
        todos[fila[0].toString()].push_back({fila[1].toString(), indices_de(fila[2].toString())});
    for (auto it = todos.begin(); it != todos.end(); ++it)
        if (!cuerpos_.contains(it.key()))
            cuerpos_.insert(it.key(), std::move(it.value()));
    todos_cargados_ = true;
}

void ProcedimientosSqlite::ver_comando(const QString& comando)
{
    if (comando.contains(QStringLiteral("procedimientos"), Qt::CaseInsensitive))
        olvidar();
}

void ProcedimientosSqlite::olvidar()
{
    cuerpos_.clear();
    todos_cargados_ = false;
}

const ProcedimientosSqlite::Cuerpo& ProcedimientosSqlite::cuerpo(const QString& nombre)
{
    const auto it = cuerpos_.constFind(nombre);
    if (it != cuerpos_.constEnd())
        return *it;
    const Filas filas = sentencias_.filas(sentencias_.preparar(
        QStringLiteral("SELECT sentencia, parametros FROM procedimientos WHERE nombre = ? ORDER BY paso"),
        {nombre}));
    Cuerpo pasos;
    for (const QVariantList& fila : filas.valores)
        pasos.push_back({fila[0].toString(), indices_de(fila[1].toString())});
    if (pasos.empty()) {
        throw ErrorBaseDatos(QString::number(kErrorSinProcedimiento),
                             QStringLiteral("No existe el procedimiento \"%1\"").arg(nombre));
    }
    return *cuerpos_.insert(nombre, std::move(pasos));
}

Resultado ProcedimientosSqlite::ejecutar(const LlamadaExec& llamada)
{
    const Cuerpo& pasos = cuerpo(llamada.nombre);
    auto argumentos_de = [&](const QList<int>& indices) {
        QStringList valores;
        for (int i : indices)
            valores << (i >= 1 && i <= llamada.argumentos.size() ? llamada.argumentos[i - 1] : QString());
        return valores;
    };
    if (pasos.size() == 1)
        return sentencias_.en_vivo(sentencias_.preparar(pasos.front().sentencia,
                                                        argumentos_de(pasos.front().argumentos)));

    // Several statements: all of them land or none; the last lookup's rows
    // are the result.
    sentencias_.directo(QStringLiteral("SAVEPOINT procedimiento"));
    try {
        Filas ultimas;
        for (const Paso& paso : pasos) {
            const QSqlQuery q = sentencias_.preparar(paso.sentencia, argumentos_de(paso.argumentos));
            if (q.isSelect())
                ultimas = sentencias_.filas(q);
        }
        sentencias_.directo(QStringLiteral("RELEASE procedimiento"));
        return en_memoria(std::move(ultimas));
    } catch (const ErrorBaseDatos&) {
        sentencias_.intentar(QStringLiteral("ROLLBACK TO procedimiento"));
        sentencias_.intentar(QStringLiteral("RELEASE procedimiento"));
        throw;
    }
}

} // namespace velmora
