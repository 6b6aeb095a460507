// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/sentencias.h"

#include "data/resultado_interno.h"
#include "data/vigia.h"

#include <QSqlRecord>

namespace velmora {

namespace {

QSqlError error_lectura()
{
    return QSqlError(QStringLiteral("No se pudieron leer las filas del resultado"), QString(),
                     QSqlError::StatementError);
}

QStringList nombres_de(const QSqlRecord& registro)
{
    QStringList nombres;
    for (int i = 0; i < registro.count(); ++i)
        nombres << registro.fieldName(i);
    return nombres;
}

// The next row, telling a failed fetch from the end of the rows.
bool siguiente(const Sentencias& sentencias, LectorOdbc& lector, const QSqlQuery& q)
{
    const Vigilada vigilada;
    switch (lector.siguiente()) {
    case LectorOdbc::Paso::Fila:
        return true;
    case LectorOdbc::Paso::Fin:
        return false;
    case LectorOdbc::Paso::Fallo:
        break;
    }
    sentencias.lanzar(&q, error_lectura());
}

} // namespace

Resultado en_memoria(Filas filas)
{
    auto r = std::make_unique<Resultado::Impl>();
    r->en_memoria = true;
    r->poner_nombres(std::move(filas.nombres));
    r->filas = std::move(filas.valores);
    r->hay_fila = !r->filas.empty();
    return Resultado(std::move(r));
}

QSqlDatabase Sentencias::db() const
{
    return QSqlDatabase::database(kNombreConexion, false);
}

QSqlQuery Sentencias::preparar(const QString& sql, const QStringList& argumentos) const
{
    const Vigilada vigilada;
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        lanzar(&q, q.lastError());
    for (const QString& a : argumentos)
        q.addBindValue(a);
    if (!q.exec())
        lanzar(&q, q.lastError());
    return q;
}

QSqlQuery Sentencias::directo(const QString& sql) const
{
    const Vigilada vigilada;
    QSqlQuery q(db());
    q.setForwardOnly(true);
    if (!q.exec(sql))
        lanzar(&q, q.lastError());
    return q;
}

void Sentencias::intentar(const QString& sql) const
{
    const Vigilada vigilada;
    QSqlQuery q(db());
    q.exec(sql);
}

void Sentencias::orden(const QString& sql) const
{
    QSqlQuery q = directo(sql);
    soltar(q);
}

void Sentencias::soltar(QSqlQuery& q)
{
    const Vigilada vigilada;
    q.finish();
}

Resultado Sentencias::en_vivo(QSqlQuery q) const
{
    auto r = std::make_unique<Resultado::Impl>();
    if (!q.isSelect()) {
        soltar(q);
    } else {
        r->poner_nombres(nombres_de(q.record()));
        r->fallo = [this](const QSqlQuery& fallida) { lanzar(&fallida, error_lectura()); };
        r->consulta.emplace(std::move(q));
        r->lector.emplace(*r->consulta);
        r->hay_fila = siguiente(*this, *r->lector, *r->consulta);
    }
    return Resultado(std::move(r));
}

Filas Sentencias::filas(const QSqlQuery& q) const
{
    Filas filas;
    filas.nombres = nombres_de(q.record());
    LectorOdbc lector(q);
    while (siguiente(*this, lector, q)) {
        QVariantList fila;
        fila.reserve(filas.nombres.size());
        for (int i = 0; i < filas.nombres.size(); ++i)
            fila << lector.valor(i);
        filas.valores.push_back(std::move(fila));
    }
    return filas;
}

Filas Sentencias::filas_y_cierre(QSqlQuery q) const
{
    Filas leidas = filas(q);
    soltar(q);
    return leidas;
}

} // namespace velmora
