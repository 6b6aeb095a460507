// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/permisos.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/diagnostico.h"
#include "data/errores.h"

namespace velmora {

PermisosCuenta permisos_cuenta()
{
    ConexionBD& conexion = Conexion();
    try {
        Resultado r = conexion.ejecutar(comando_exec(QStringLiteral("Consulta_permisos")));
        if (r.eof())
            return {};
        return {r.texto(QStringLiteral("Usuario")), r.campo(QStringLiteral("Modificar")).toInt() != 0};
    } catch (const RechazoDatos&) {
        throw;
    } catch (const ErrorBaseDatos& e) {
        if (clasificar_error(conexion.dialecto(), e.estado(), e.numero().toInt()) == ClaseError::SinProcedimiento)
            return {};
        throw;
    }
}

} // namespace velmora
