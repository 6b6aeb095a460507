// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The field names the stored procedures return, spelled as the database
// spells them (accents, capitals and blanks included). The procedures of
// departmental records name some figures apart from the principal ones.
inline const QString CAMPO_INDICADOR = QStringLiteral("Indicador");
inline const QString CAMPO_VALOR = QStringLiteral("Valor");
inline const QString CAMPO_META = QStringLiteral("Meta C/P");
inline const QString CAMPO_META_DEPARTAMENTO = QStringLiteral("Meta");
inline const QString CAMPO_NIVEL_BASE = QStringLiteral("Nivel Base");
inline const QString CAMPO_LINEA_BASE = QStringLiteral("Linea_Base");
// The indicator's direction as a code (reports, trend) and by name (export).
inline const QString CAMPO_ID_DESEMPENO = QStringLiteral("Id_Desempeño");
inline const QString CAMPO_DESEMPENO = QStringLiteral("desempeño");
// Consulta_KPI gives the type under both names; the departmental fetch
// only under the second.
inline const QString CAMPO_TIPO_INDICADOR = QStringLiteral("Tipo Indicador");
inline const QString CAMPO_TIPO_INDICADOR_DEPARTAMENTO = QStringLiteral("Tipo_Indicador");
inline const QString CAMPO_UNIDAD = QStringLiteral("unidad");
inline const QString CAMPO_TIPO_UNIDAD = QStringLiteral("Tipo_Unidad");
inline const QString CAMPO_ANIO = QStringLiteral("año");
inline const QString CAMPO_MES = QStringLiteral("Mes");
// A record's identifier: "ID" from the principal KPI fetch, "Id1" elsewhere.
inline const QString CAMPO_ID = QStringLiteral("ID");
inline const QString CAMPO_ID1 = QStringLiteral("Id1");
// Names in the lists: the indicators of a type (under both names) and an
// indicator's departments.
inline const QString CAMPO_NOMBRE = QStringLiteral("Nombre");
inline const QString CAMPO_NOMBRE1 = QStringLiteral("Nombre1");

// The fields a KPI fetch reads: one per column of the result table and the
// record's identifier. Principal and departmental records name them apart.
struct CamposKPI {
    QStringList columnas;
    QString id;
};
const CamposKPI& campos_kpi(bool departamental);

} // namespace velmora
