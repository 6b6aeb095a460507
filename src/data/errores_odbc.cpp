// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/errores_odbc.h"

#include "data/diagnostico.h"
#include "data/errores.h"
#include "data/origen_datos.h"
#include "data/sentencias.h"
#include "data/vigia.h"

#include <QDir>
#include <QSqlDriver>
#include <QSqlResult>

namespace velmora {

namespace {

const QString kBaseOcupada =
    QStringLiteral("La base de datos está ocupada por otro usuario; intente de nuevo");

const QString kConexionPerdida =
    QStringLiteral("Se perdió la conexión con el servidor de base de datos (se reinició o se detuvo); "
                   "no se guardó nada de esta operación. Intente de nuevo");

const QString kSinPermiso = QStringLiteral(
    "La base de datos no permite esto a esta cuenta, que solo puede consultar; no se guardó nada. "
    "Para cambiar datos, pida al administrador de la base de datos el grupo velmora_edicion");

const QString kClaveDuplicada =
    QStringLiteral("Otro usuario acaba de guardar el mismo dato; no se guardó nada. "
                   "Consulte de nuevo para ver los valores actuales");

QString tiempo_agotado(int segundos)
{
    return QStringLiteral("La operación tardó más de %1 segundos y se canceló; no se guardó nada").arg(segundos);
}

} // namespace

QString sin_respuesta(int segundos)
{
    return QStringLiteral("El servidor de base de datos no respondió en %1 segundos; se dejó de esperar "
                          "y no se guardó nada. Intente de nuevo cuando el servidor responda")
        .arg(segundos);
}

QString sin_respuesta_al_conectar(int segundos)
{
    return QStringLiteral("El servidor de base de datos no respondió en %1 segundos al conectar. "
                          "Intente de nuevo cuando el servidor responda")
        .arg(segundos);
}

QString sin_servidor(const QString& detalle)
{
    return QStringLiteral("No se pudo conectar con el servidor de base de datos; no se guardó nada. "
                          "Intente de nuevo cuando vuelva a estar disponible (%1)")
        .arg(detalle);
}

QString confirmacion_perdida()
{
    return QStringLiteral("Se perdió la conexión con el servidor de base de datos mientras confirmaba el guardado: "
                          "puede que se haya guardado o no. Consulte de nuevo para ver los valores actuales");
}

void Sentencias::lanzar(const QSqlQuery* consulta, const QSqlError& error) const
{
    std::optional<Diagnostico> diag;
    if (consulta && consulta->result())
        diag = leer_diagnostico(TipoHandle::Sentencia, consulta->result()->handle());
    if (!diag && db().driver())
        diag = leer_diagnostico(TipoHandle::Conexion, db().driver()->handle());
    const Diagnostico final_ = diag ? *diag : diagnostico_de(error);
    QString texto = ocultar_clave(limpiar_texto(final_.texto), clave);
    if (texto.isEmpty())
        texto = ocultar_clave(error.text(), clave);
    // The watch cut a call the server left waiting: whatever the driver
    // says of the cut connection, this is what happened.
    if (abierta && Vigia::instancia().activa() && Vigia::instancia().vencida())
        throw RechazoDatos(kErrorSinRespuesta, sin_respuesta(Vigia::instancia().limite_s()), kErrorSinRespuesta,
                           RechazoDatos::Causa::Servicio);
    if (abierta) {
        switch (clasificar_error(dialecto, final_.estado, final_.nativo, final_.texto + u'\n' + error.text())) {
        case ClaseError::Bloqueo:
            // Nothing was stored and trying again later may work: the
            // user is told so and goes on.
            throw RechazoDatos(final_.numero, kBaseOcupada, final_.estado, RechazoDatos::Causa::Servicio);
        case ClaseError::Conexion:
            // The server rolled back what this connection had not
            // committed; the next press connects again.
            throw RechazoDatos(kErrorConexionPerdida, kConexionPerdida, final_.estado, RechazoDatos::Causa::Servicio);
        case ClaseError::Tiempo:
            throw RechazoDatos(final_.numero, tiempo_agotado(Vigia::instancia().limite_s()), final_.estado,
                               RechazoDatos::Causa::Servicio);
        case ClaseError::Rechazo:
            // The server's words name a function or a table; the user
            // needs to know that the account's group decides.
            if (final_.estado == kErrorSinPermiso)
                throw RechazoDatos(final_.numero, kSinPermiso, final_.estado, RechazoDatos::Causa::Servicio);
            // Two users storing the same key at once: the server's text
            // names a constraint; the user needs to know what happened.
            if (es_clave_duplicada_del_servidor(texto))
                throw RechazoDatos(final_.numero, kClaveDuplicada, final_.estado);
            throw RechazoDatos(final_.numero, texto, final_.estado);
        case ClaseError::SinEspacio:
            throw RechazoDatos(kErrorSinEspacio,
                               QStringLiteral("No se guardó nada: no queda espacio en el disco de la base de datos "
                                              "\"%1\". Libere espacio en ese disco y guarde de nuevo.")
                                   .arg(QDir::toNativeSeparators(archivo)),
                               final_.estado, RechazoDatos::Causa::Servicio);
        case ClaseError::SoloLectura:
            throw RechazoDatos(kErrorSoloLectura,
                               QStringLiteral("No se guardó nada: su usuario solo puede leer la base de datos \"%1\" "
                                              "(el archivo o su carpeta no le permiten escribir). Puede seguir "
                                              "consultando; para guardar, pida a quien administra el equipo permiso "
                                              "de escritura en el archivo y en su carpeta.")
                                   .arg(QDir::toNativeSeparators(archivo)),
                               final_.estado, RechazoDatos::Causa::Servicio);
        case ClaseError::SinProcedimiento:
        case ClaseError::Otra:
            break;
        }
    }
    throw ErrorBaseDatos(final_.numero, texto, final_.estado);
}

} // namespace velmora
