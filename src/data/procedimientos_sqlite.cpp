// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/procedimientos_sqlite.h"

#include "data/errores.h"
#include "data/sentencias.h"
#include "data/textos.h"

#include <QFile>
#include <QSet>
#include <QRegularExpression>

namespace velmora {

namespace {

// "1,2n,3": the argument of each ?, an "n" marking a number.
QList<ProcedimientosSqlite::Argumento> indices_de(const QString& parametros)
{
    QList<ProcedimientosSqlite::Argumento> indices;
    const QStringList partes = parametros.split(u',', Qt::SkipEmptyParts);
    for (const QString& p : partes) {
        QString t = p.trimmed();
        const bool numero = t.endsWith(u'n');
        if (numero)
            t.chop(1);
        indices.append({t.toInt(), numero});
    }
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

// SQLite's own reading of a text as a number (CAST) is not correctly
// rounded, so a number argument is bound as the double the program reads
// from it; a blank one goes as it is (Null there). Any other text is not a
// number for the program, and goes marked so that the procedure's own
// reading cannot take it either (near the largest double, CAST still finds
// one): the procedure refuses it with its own message.
QSqlQuery ProcedimientosSqlite::preparar(const Paso& paso, const QStringList& argumentos) const
{
    QSqlQuery q(sentencias_.db());
    q.setForwardOnly(true);
    if (!q.prepare(paso.sentencia))
        sentencias_.lanzar(&q, q.lastError());
    for (const Argumento& a : paso.argumentos) {
        const QString texto = a.indice >= 1 && a.indice <= argumentos.size() ? argumentos[a.indice - 1] : QString();
        if (!a.numero || texto.trimmed().isEmpty()) {
            q.addBindValue(texto);
        } else if (const std::optional<double> numero = a_numero(texto)) {
            q.addBindValue(*numero);
        } else {
            q.addBindValue(QStringLiteral("no es un número: ") + texto);
        }
    }
    if (!q.exec())
        sentencias_.lanzar(&q, q.lastError());
    return q;
}

Resultado ProcedimientosSqlite::ejecutar(const LlamadaExec& llamada)
{
    const Cuerpo& pasos = cuerpo(llamada.nombre);
    if (pasos.size() == 1)
        return sentencias_.en_vivo(preparar(pasos.front(), llamada.argumentos));

    // Several statements: all of them land or none; the last lookup's rows
    // are the result.
    sentencias_.directo(QStringLiteral("SAVEPOINT procedimiento"));
    try {
        Filas ultimas;
        for (const Paso& paso : pasos) {
            const QSqlQuery q = preparar(paso, llamada.argumentos);
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

namespace {

// A script's statements, one by one (the driver runs one at a time): split
// at each semicolon outside quotes and comments, a trigger's body kept whole
// up to its END.
QStringList sentencias_de(const QString& guion)
{
    QStringList sentencias;
    QString actual;
    bool comillas = false;
    for (qsizetype i = 0; i < guion.size(); ++i) {
        const QChar c = guion.at(i);
        if (!comillas && c == u'-' && i + 1 < guion.size() && guion.at(i + 1) == u'-') {
            while (i < guion.size() && guion.at(i) != u'\n')
                ++i;
            actual += u'\n';
            continue;
        }
        if (c == u'\'')
            comillas = !comillas;
        actual += c;
        if (c != u';' || comillas)
            continue;
        const QString t = actual.trimmed();
        static const QRegularExpression disparador(QStringLiteral("^CREATE\\s+TRIGGER\\b"),
                                                   QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression fin(QStringLiteral("\\bEND\\s*;$"), QRegularExpression::CaseInsensitiveOption);
        if (disparador.match(t).hasMatch() && !fin.match(t).hasMatch())
            continue;
        sentencias << t;
        actual.clear();
    }
    if (!actual.trimmed().isEmpty())
        sentencias << actual.trimmed();
    return sentencias;
}

} // namespace

QStringList ProcedimientosSqlite::columnas(const QString& tabla) const
{
    QStringList nombres;
    const Filas filas = sentencias_.filas(
        sentencias_.directo(QStringLiteral("PRAGMA table_xinfo(\"%1\")").arg(tabla)));
    for (const QVariantList& fila : filas.valores)
        nombres << fila.value(1).toString();
    return nombres;
}

// AUTOINCREMENT cannot be added to a table: it is built again under its own
// name with every row and id, and its indexes and triggers are made again.
// (legacy_alter_table: the other triggers and views name the table, and the
// rename must leave them as they are.)
void ProcedimientosSqlite::sin_reusar_ids(const QString& tabla) const
{
    const Filas definicion = sentencias_.filas(sentencias_.preparar(
        QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?"), {tabla}));
    if (definicion.valores.empty())
        return;
    QString sql = definicion.valores.front().value(0).toString();
    if (sql.contains(QStringLiteral("AUTOINCREMENT"), Qt::CaseInsensitive))
        return;
    static const QRegularExpression clave(QStringLiteral("(\\bid\\s+INTEGER\\s+PRIMARY\\s+KEY)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression cabeza(QStringLiteral("^\\s*CREATE\\s+TABLE\\s+(\"?)(\\w+)\\1"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString nueva = tabla + QStringLiteral("_nueva");
    sql.replace(clave, QStringLiteral("\\1 AUTOINCREMENT"));
    sql.replace(cabeza, QStringLiteral("CREATE TABLE \"%1\"").arg(nueva));

    const Filas anexos = sentencias_.filas(sentencias_.preparar(
        QStringLiteral("SELECT sql FROM sqlite_master WHERE tbl_name = ? AND type IN ('index', 'trigger') "
                       "AND sql IS NOT NULL ORDER BY type, name"),
        {tabla}));
    QStringList campos;
    for (const QVariantList& fila :
         sentencias_.filas(sentencias_.directo(QStringLiteral("PRAGMA table_info(\"%1\")").arg(tabla))).valores)
        campos << QLatin1Char('"') + fila.value(1).toString() + QLatin1Char('"');
    sentencias_.directo(sql);
    sentencias_.directo(QStringLiteral("INSERT INTO \"%1\" (%3) SELECT %3 FROM \"%2\" ORDER BY rowid")
                            .arg(nueva, tabla, campos.join(QStringLiteral(", "))));
    sentencias_.directo(QStringLiteral("DROP TABLE \"%1\"").arg(tabla));
    sentencias_.directo(QStringLiteral("ALTER TABLE \"%1\" RENAME TO \"%2\"").arg(nueva, tabla));
    for (const QVariantList& fila : anexos.valores)
        sentencias_.directo(fila.value(0).toString());
}

// Names stored before they were kept in NFC: each one that is not becomes
// its NFC form, with its history, unless another indicator already has that
// name (then both stay as they are, and a user tells them apart by deleting
// or restoring one). The same for the names of deleted indicators in the
// history.
void ProcedimientosSqlite::nombres_en_nfc() const
{
    const Filas filas = sentencias_.filas(sentencias_.directo(QStringLiteral("SELECT id, nombre FROM indicador")));
    QSet<QString> nombres;
    for (const QVariantList& fila : filas.valores)
        nombres.insert(fila.value(1).toString());
    const bool historial = columnas(QStringLiteral("historial")).contains(QStringLiteral("indicador"));
    for (const QVariantList& fila : filas.valores) {
        const QString nombre = fila.value(1).toString();
        const QString nfc = nombre.normalized(QString::NormalizationForm_C);
        if (nfc == nombre || nombres.contains(nfc))
            continue;
        sentencias_.preparar(QStringLiteral("UPDATE indicador SET nombre = ? WHERE id = ?"),
                             {nfc, fila.value(0).toString()});
        if (historial)
            sentencias_.preparar(QStringLiteral("UPDATE historial SET indicador = ? WHERE indicador = ?"), {nfc, nombre});
        nombres.insert(nfc);
    }
    if (!historial)
        return;
    // A deleted indicator's history too, so that a restore brings it back in NFC.
    const Filas borrados =
        sentencias_.filas(sentencias_.directo(QStringLiteral("SELECT DISTINCT indicador FROM historial")));
    for (const QVariantList& fila : borrados.valores) {
        const QString nombre = fila.value(0).toString();
        const QString nfc = nombre.normalized(QString::NormalizationForm_C);
        if (nfc != nombre && !nombres.contains(nombre) && !nombres.contains(nfc))
            sentencias_.preparar(QStringLiteral("UPDATE historial SET indicador = ? WHERE indicador = ?"), {nfc, nombre});
    }
}

bool ProcedimientosSqlite::al_dia() const
{
    return columnas(QStringLiteral("registro")).contains(QStringLiteral("valor_exacto"));
}

void ProcedimientosSqlite::actualizar_base()
{
    // Up to date, or not a scorecard database at all: nothing to do.
    const QStringList registro = columnas(QStringLiteral("registro"));
    if (registro.isEmpty() || registro.contains(QStringLiteral("valor_exacto")))
        return;
    QFile archivo(QStringLiteral(":/sqlite/02_procedimientos.sql"));
    if (!archivo.open(QIODevice::ReadOnly))
        throw ErrorBaseDatos(QString::number(kErrorSinProcedimiento),
                             QStringLiteral("No se pueden leer los procedimientos del programa"));
    const QString procedimientos = QString::fromUtf8(archivo.readAll());
    olvidar();
    sentencias_.directo(QStringLiteral("PRAGMA legacy_alter_table = ON"));
    sentencias_.directo(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        // Another program opening the file at the same moment may have
        // brought it up to date while this one waited for the lock.
        if (columnas(QStringLiteral("registro")).contains(QStringLiteral("valor_exacto"))) {
            sentencias_.directo(QStringLiteral("COMMIT"));
            sentencias_.directo(QStringLiteral("PRAGMA legacy_alter_table = OFF"));
            return;
        }
        sin_reusar_ids(QStringLiteral("indicador"));
        sin_reusar_ids(QStringLiteral("registro"));
        // The request views and their triggers, made again by the script.
        for (const char* vista : {"pedido_modificar", "pedido_nuevo_indicador", "pedido_eliminar",
                                  "pedido_nuevo_registro", "entrada_numero", "nombre_compuesto"})
            sentencias_.directo(QStringLiteral("DROP VIEW IF EXISTS \"%1\"").arg(QLatin1String(vista)));
        for (const char* tabla : {"entrada", "composicion"})
            sentencias_.directo(QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(QLatin1String(tabla)));
        // Before the script's checks on names exist: they are for new names,
        // and an old one may hold an invisible character (it stays).
        nombres_en_nfc();
        for (const QString& sentencia : sentencias_de(procedimientos))
            sentencias_.directo(sentencia);
        const QStringList historial = columnas(QStringLiteral("historial"));
        if (!historial.isEmpty() && !historial.contains(QStringLiteral("antes_exacto"))) {
            sentencias_.directo(QStringLiteral(
                "ALTER TABLE historial ADD COLUMN antes_exacto \"DOUBLE TEXT\" GENERATED ALWAYS AS "
                "(CASE WHEN antes IS NOT NULL THEN printf('%!.18g', antes) END) VIRTUAL"));
            sentencias_.directo(QStringLiteral(
                "ALTER TABLE historial ADD COLUMN despues_exacto \"DOUBLE TEXT\" GENERATED ALWAYS AS "
                "(CASE WHEN despues IS NOT NULL THEN printf('%!.18g', despues) END) VIRTUAL"));
            sentencias_.directo(QStringLiteral(
                "UPDATE procedimientos SET sentencia = replace(replace(sentencia, "
                "'h.antes AS \"Antes\"', 'h.antes_exacto AS \"Antes\"'), "
                "'h.despues AS \"Después\"', 'h.despues_exacto AS \"Después\"') "
                "WHERE nombre = 'Consulta_historial'"));
        }
        sentencias_.directo(QStringLiteral("COMMIT"));
    } catch (const ErrorBaseDatos&) {
        sentencias_.intentar(QStringLiteral("ROLLBACK"));
        sentencias_.intentar(QStringLiteral("PRAGMA legacy_alter_table = OFF"));
        throw;
    }
    sentencias_.directo(QStringLiteral("PRAGMA legacy_alter_table = OFF"));
}

} // namespace velmora
