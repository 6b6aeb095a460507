// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/conexion.h"

#include "data/errores.h"
#include "data/resultado_interno.h"
#include "data/textos.h"
#include "data/vigia.h"

namespace velmora {

Resultado::Resultado(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
Resultado::Resultado(Resultado&&) noexcept = default;
Resultado& Resultado::operator=(Resultado&&) noexcept = default;
Resultado::~Resultado() = default;

bool Resultado::eof() const
{
    return !d->hay_fila;
}

void Resultado::siguiente()
{
    if (!d->hay_fila)
        return;
    if (d->en_memoria) {
        ++d->posicion;
        d->hay_fila = d->posicion < d->filas.size();
    } else {
        const Vigilada vigilada;
        const LectorOdbc::Paso paso = d->lector->siguiente();
        d->hay_fila = paso == LectorOdbc::Paso::Fila;
        if (paso == LectorOdbc::Paso::Fallo)
            d->fallo(*d->consulta);
    }
}

int Resultado::indice(const QString& nombre) const
{
    const auto it = d->indices.constFind(nombre);
    if (it == d->indices.constEnd()) {
        throw ErrorBaseDatos(QString::number(kErrorCampoDesconocido),
                             QStringLiteral("El resultado no tiene el campo \"%1\"").arg(nombre));
    }
    return *it;
}

QVariant Resultado::campo(int indice) const
{
    if (!d->hay_fila) {
        throw ErrorBaseDatos(QString::number(kErrorSinFila),
                             QStringLiteral("No hay fila actual para leer el campo \"%1\"")
                                 .arg(d->nombres.value(indice)));
    }
    if (d->en_memoria)
        return d->filas[d->posicion].at(indice);
    return d->lector->valor(indice);
}

QVariant Resultado::campo(const QString& nombre) const
{
    return campo(indice(nombre));
}

QString Resultado::texto(const QString& nombre) const
{
    return texto_valor(campo(nombre));
}

QString Resultado::texto(int indice) const
{
    return texto_valor(campo(indice));
}

QStringList Resultado::campos() const
{
    return d->nombres;
}

// ---------------------------------------------------------------------------

} // namespace velmora
