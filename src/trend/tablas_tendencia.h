// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace velmora {

class ModeloGrilla;

// What the user chose on the trend screen, as the lists hold it (blanks
// included): type T, indicator K, year Y and department D.
struct ConsultaTendencia {
    QString tipo;
    QString indicador;
    QString anio;
    QString departamento;
};

// The months the tables show: row k of the result goes under month k.
inline constexpr int MESES_TENDENCIA = 12;

// The previous year as the procedures take it ("2009 " gives "2008"), or
// nullopt when the year text is not a whole number.
std::optional<QString> anio_anterior(const QString& anio);

// "Exec Ten_Des 'T', 'Y','K'" for a principal type, "Exec Ten_Des2 'T', 'Y','K','D'"
// for a departmental one, with the given year in place of Y.
QString comando_ten_des(const ConsultaTendencia& consulta, const QString& anio);

// What printing names for a consulta: "Tipo: …", "Indicador: …",
// "Departamento: …" (departmental only) and "Año: …".
QStringList seleccion_tendencia(const ConsultaTendencia& consulta);

// Fills the trend table mshtd (targets, values, status and trend icons), the
// baseline grid Flex3 and the work grid Flex2 (baselines, direction codes,
// ratios, previous year's values) for a principal or departmental consulta.
// Runs each distinct command once. When a command fails the tables are left
// empty and the error goes on to the caller.
void llenar_tablas_tendencia(const ConsultaTendencia& consulta, ModeloGrilla& mshtd,
                             ModeloGrilla& Flex3, ModeloGrilla& Flex2);

} // namespace velmora
