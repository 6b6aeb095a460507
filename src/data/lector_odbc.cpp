// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/lector_odbc.h"

#include "data/diagnostico.h"

#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <sqlext.h>

namespace velmora {

LectorOdbc::LectorOdbc(const QSqlQuery& consulta)
    : stmt_(handle_de(consulta.result()->handle())),
      texto_doble_(consulta.numericalPrecisionPolicy() == QSql::HighPrecision)
{
    const QSqlRecord registro = consulta.record();
    for (int i = 0; i < registro.count(); ++i)
        tipos_.push_back(registro.field(i).metaType());
    fila_.resize(tipos_.size());
}

LectorOdbc::Paso LectorOdbc::siguiente()
{
    const SQLRETURN r = SQLFetch(stmt_);
    if (r == SQL_NO_DATA)
        return Paso::Fin;
    if (!SQL_SUCCEEDED(r))
        return Paso::Fallo;
    for (size_t i = 0; i < tipos_.size(); ++i)
        if (!leer(SQLUSMALLINT(i + 1), tipos_[i], fila_[i]))
            return Paso::Fallo;
    return Paso::Fila;
}

template <typename T>
bool LectorOdbc::fijo(SQLUSMALLINT columna, SQLSMALLINT tipo_c, QMetaType tipo, QVariant& valor)
{
    T dato{};
    SQLLEN indicador = 0;
    if (!SQL_SUCCEEDED(SQLGetData(stmt_, columna, tipo_c, &dato, sizeof dato, &indicador)))
        return false;
    valor = indicador == SQL_NULL_DATA ? QVariant(tipo) : QVariant::fromValue(dato);
    return true;
}

// One column's value in pieces of the buffer's size until the driver has no
// more, each piece's length in bytes handed to tomar. A piece that fills the
// buffer ends in the driver's terminator (terminador bytes), not part of the
// value. False on a failure; nulo when the column holds Null.
template <typename Tomar>
bool LectorOdbc::por_trozos(SQLUSMALLINT columna, SQLSMALLINT tipo_c, void* buffer, SQLLEN tamano,
                            SQLLEN terminador, bool& nulo, Tomar tomar)
{
    nulo = false;
    for (;;) {
        SQLLEN indicador = 0;
        const SQLRETURN r = SQLGetData(stmt_, columna, tipo_c, buffer, tamano, &indicador);
        if (r == SQL_NO_DATA)
            return true;
        if (!SQL_SUCCEEDED(r))
            return false;
        if (indicador == SQL_NULL_DATA) {
            nulo = true;
            return true;
        }
        const bool cortado = r == SQL_SUCCESS_WITH_INFO
                             && (indicador == SQL_NO_TOTAL || indicador > tamano - terminador);
        tomar(qsizetype(cortado ? tamano - terminador : indicador));
        if (!cortado)
            return true;
    }
}

bool LectorOdbc::texto(SQLUSMALLINT columna, QVariant& valor, QMetaType tipo_nulo)
{
    QString texto;
    bool nulo = false;
    const bool leido = por_trozos(columna, SQL_C_WCHAR, buffer_, sizeof buffer_, sizeof(SQLWCHAR), nulo,
                                  [&](qsizetype bytes) {
                                      texto.append(QStringView(reinterpret_cast<const char16_t*>(buffer_),
                                                               bytes / qsizetype(sizeof(SQLWCHAR))));
                                  });
    if (!leido)
        return false;
    if (nulo) {
        valor = QVariant(tipo_nulo);
        return true;
    }
    if (texto.isNull())
        texto = QStringLiteral("");
    valor = texto;
    return true;
}

bool LectorOdbc::binario(SQLUSMALLINT columna, QVariant& valor)
{
    QByteArray datos;
    char trozo[4096];
    bool nulo = false;
    if (!por_trozos(columna, SQL_C_BINARY, trozo, sizeof trozo, 0, nulo,
                    [&](qsizetype bytes) { datos.append(trozo, bytes); }))
        return false;
    valor = nulo ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(datos);
    return true;
}

bool LectorOdbc::leer(SQLUSMALLINT columna, QMetaType tipo, QVariant& valor)
{
    switch (tipo.id()) {
    case QMetaType::Int:
        return fijo<qint32>(columna, SQL_C_SLONG, tipo, valor);
    case QMetaType::UInt:
        return fijo<quint32>(columna, SQL_C_ULONG, tipo, valor);
    case QMetaType::LongLong:
        return fijo<qint64>(columna, SQL_C_SBIGINT, tipo, valor);
    case QMetaType::ULongLong:
        return fijo<quint64>(columna, SQL_C_UBIGINT, tipo, valor);
    case QMetaType::Double:
        if (texto_doble_) // the exact digits, as the Qt driver gives them then
            return texto(columna, valor, tipo);
        return fijo<double>(columna, SQL_C_DOUBLE, tipo, valor);
    case QMetaType::QString:
        return texto(columna, valor, tipo);
    case QMetaType::QByteArray:
        return binario(columna, valor);
    default:
        // Dates and the rest: their text, converted as the Qt driver would.
        if (!texto(columna, valor, tipo))
            return false;
        if (!valor.isNull())
            valor.convert(tipo);
        return true;
    }
}

} // namespace velmora
