// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Inside data/ only (ODBC is private to the library).

#include <QMetaType>
#include <QVariant>

#include <sql.h>

#include <vector>

class QSqlQuery;

namespace velmora {

// Rows read straight from the statement handle the Qt driver executed: each
// field once, into a buffer of its own type, with the types the Qt driver
// gave the record (no empty-buffer probe, no per-cell work of the driver).
class LectorOdbc final {
public:
    enum class Paso { Fila, Fin, Fallo };

    explicit LectorOdbc(const QSqlQuery& consulta);

    Paso siguiente();
    const QVariant& valor(int i) const { return fila_[size_t(i)]; }
    int columnas() const { return int(fila_.size()); }

private:
    template <typename T>
    bool fijo(SQLUSMALLINT columna, SQLSMALLINT tipo_c, QMetaType tipo, QVariant& valor);
    template <typename Tomar>
    bool por_trozos(SQLUSMALLINT columna, SQLSMALLINT tipo_c, void* buffer, SQLLEN tamano,
                    SQLLEN terminador, bool& nulo, Tomar tomar);
    bool texto(SQLUSMALLINT columna, QVariant& valor, QMetaType tipo_nulo);
    bool binario(SQLUSMALLINT columna, QVariant& valor);
    bool leer(SQLUSMALLINT columna, QMetaType tipo, QVariant& valor);

    SQLHSTMT stmt_;
    bool texto_doble_;
    std::vector<QMetaType> tipos_;
    std::vector<QVariant> fila_;
    SQLWCHAR buffer_[512];
};

} // namespace velmora
