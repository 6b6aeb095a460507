// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Inside data/ only: what a Resultado holds, filled by the statements that
// give rows (sentencias.cpp) and walked by Resultado (resultado.cpp).

#include "data/conexion.h"
#include "data/lector_odbc.h"
#include "data/vigia.h"

#include <QHash>
#include <QSqlQuery>

#include <functional>
#include <optional>
#include <vector>

namespace velmora {

struct Resultado::Impl {
    Impl() = default;
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;
    // Releasing a live result closes its cursor on the server (with the
    // shipped PostgreSQL settings, a round trip): watched as any call.
    ~Impl()
    {
        if (!consulta)
            return;
        const Vigilada vigilada;
        lector.reset();
        consulta->finish();
    }

    std::optional<QSqlQuery> consulta; // walked live, its rows read by lector
    std::optional<LectorOdbc> lector;
    std::vector<QVariantList> filas;   // or held in memory (multi-step procedures)
    size_t posicion = 0;
    bool en_memoria = false;
    bool hay_fila = false;
    QStringList nombres;
    QHash<QString, int> indices;
    // Raises the error of a failed fetch; a failure is never the end of the rows.
    std::function<void(const QSqlQuery&)> fallo;

    void poner_nombres(QStringList campos)
    {
        nombres = std::move(campos);
        indices.clear();
        for (int i = 0; i < nombres.size(); ++i) {
            // The first of two equal names wins, as field lookup by name does.
            if (!indices.contains(nombres[i]))
                indices.insert(nombres[i], i);
        }
    }
};

} // namespace velmora
