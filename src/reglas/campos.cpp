// SPDX-License-Identifier: GPL-3.0-or-later
#include "reglas/campos.h"

namespace velmora {

const CamposKPI& campos_kpi(bool departamental)
{
    static const CamposKPI principal{
        {CAMPO_TIPO_INDICADOR, CAMPO_UNIDAD, CAMPO_NIVEL_BASE, CAMPO_VALOR, CAMPO_META, CAMPO_ANIO}, CAMPO_ID};
    static const CamposKPI departamento{{CAMPO_TIPO_INDICADOR_DEPARTAMENTO, CAMPO_TIPO_UNIDAD, CAMPO_LINEA_BASE,
                                         CAMPO_VALOR, CAMPO_META_DEPARTAMENTO, CAMPO_ANIO},
                                        CAMPO_ID1};
    return departamental ? departamento : principal;
}

} // namespace velmora
