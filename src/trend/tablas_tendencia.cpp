// SPDX-License-Identifier: GPL-3.0-or-later
#include "trend/tablas_tendencia.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/textos.h"
#include "reglas/bandas.h"
#include "reglas/campos.h"
#include "ui/grid/modelo_grilla.h"

#include <cmath>

namespace velmora {

namespace {

constexpr int ANCHO_CELDA = 15;
constexpr int COLUMNAS_BORRADAS = 20; // Flex2 columns a press empties

// Fields of one result row, named as each procedure names them.
struct Campos {
    QString meta;
    QString valor;
    QString base;
    QString desempeno;
};

Campos campos_de(const QString& tipo)
{
    if (tipo == TIPO_PRINCIPAL)
        return {CAMPO_META, CAMPO_VALOR, CAMPO_NIVEL_BASE, CAMPO_ID_DESEMPENO};
    return {CAMPO_META_DEPARTAMENTO, CAMPO_VALOR, CAMPO_LINEA_BASE, CAMPO_ID_DESEMPENO};
}

QString celda(const Resultado& r, const QString& campo)
{
    return texto_celda(r.texto(campo), ANCHO_CELDA);
}

std::optional<int> anio_numero(const QString& anio)
{
    const std::optional<double> n = a_numero(anio);
    if (!n || *n != std::trunc(*n) || std::abs(*n) > 1e9)
        return std::nullopt;
    return static_cast<int>(*n);
}

} // namespace

std::optional<QString> anio_anterior(const QString& anio)
{
    const std::optional<int> n = anio_numero(anio);
    if (!n)
        return std::nullopt;
    return QString::number(*n - 1);
}

QString comando_ten_des(const ConsultaTendencia& consulta, const QString& anio)
{
    if (consulta.tipo == TIPO_PRINCIPAL)
        return comando_exec_tendencia(QStringLiteral("Ten_Des"),
                                      {consulta.tipo, anio, consulta.indicador});
    return comando_exec_tendencia(QStringLiteral("Ten_Des2"),
                                  {consulta.tipo, anio, consulta.indicador, consulta.departamento});
}

QStringList seleccion_tendencia(const ConsultaTendencia& consulta)
{
    QStringList seleccion{QStringLiteral("Tipo: ") + consulta.tipo.trimmed(),
                          QStringLiteral("Indicador: ") + consulta.indicador.trimmed()};
    if (consulta.tipo != TIPO_PRINCIPAL)
        seleccion << QStringLiteral("Departamento: ") + consulta.departamento.trimmed();
    seleccion << QStringLiteral("Año: ") + consulta.anio.trimmed();
    return seleccion;
}

namespace {

void llenar(const ConsultaTendencia& consulta, ModeloGrilla& mshtd, ModeloGrilla& Flex3, ModeloGrilla& Flex2)
{
    const bool principal = consulta.tipo == TIPO_PRINCIPAL;
    for (int fila = 1; fila <= 5; ++fila)
        for (int k = 1; k <= COLUMNAS_BORRADAS; ++k)
            Flex2.setTextMatrix(fila, k, QString());
    // All twelve baselines go: a departmental indicator has none to show, and
    // those of the indicator charted before would read as its own.
    for (int k = 1; k <= MESES_TENDENCIA; ++k)
        Flex3.setTextMatrix(1, k, QString());

    // One walk fills every cell of a row, so the fields of one record never
    // pair with those of another.
    const Campos campos = campos_de(consulta.tipo);
    int k = 1;
    for (Resultado r = Conexion().ejecutar(comando_ten_des(consulta, consulta.anio));
         !r.eof() && k <= MESES_TENDENCIA; r.siguiente(), ++k) {
        mshtd.setTextMatrix(1, k, celda(r, campos.meta));
        mshtd.setTextMatrix(2, k, celda(r, campos.valor));
        Flex2.setTextMatrix(1, k, celda(r, campos.base));
        if (principal)
            Flex3.setTextMatrix(1, k, Flex2.TextMatrix(1, k));
        Flex2.setTextMatrix(2, k, celda(r, campos.desempeno));
    }
    // Months the result does not reach read as a missing value does.
    for (; k <= MESES_TENDENCIA; ++k) {
        mshtd.setTextMatrix(1, k, texto_celda(QString(), ANCHO_CELDA));
        mshtd.setTextMatrix(2, k, texto_celda(QString(), ANCHO_CELDA));
        if (principal)
            Flex3.setTextMatrix(1, k, texto_celda(QString(), ANCHO_CELDA));
    }

    const std::optional<QString> anterior = anio_anterior(consulta.anio);
    if (anterior) {
        int j = 1;
        for (Resultado r = Conexion().ejecutar(comando_ten_des(consulta, *anterior));
             !r.eof() && j <= MESES_TENDENCIA; r.siguiente(), ++j)
            Flex2.setTextMatrix(5, j, celda(r, campos.valor));
    }

    for (int c = 1; c <= MESES_TENDENCIA; ++c) {
        const QString V = mshtd.TextMatrix(2, c);
        const QString M = mshtd.TextMatrix(1, c);
        const QString B = Flex2.TextMatrix(1, c);
        // The figure and the picture come from one rule, so they agree on a
        // band limit.
        const std::optional<double> razon = razon_estado(V, M, B);
        Flex2.setTextMatrix(4, c, razon ? numero_a_texto(*razon) : QString());
        mshtd.setCellPicture(4, c, icono_estado(V, M, B));
    }

    // January compares with the month before it, the previous December.
    // January 2008 shows blank, as the reports show it.
    if (anio_numero(consulta.anio) == 2008)
        mshtd.setCellPicture(5, 1, QStringLiteral("Blanco"));
    else
        mshtd.setCellPicture(5, 1, icono_tendencia(mshtd.TextMatrix(2, 1),
                                                   Flex2.TextMatrix(5, MESES_TENDENCIA)));
    for (int c = 2; c <= MESES_TENDENCIA; ++c)
        mshtd.setCellPicture(5, c, icono_tendencia(mshtd.TextMatrix(2, c), mshtd.TextMatrix(2, c - 1)));
}

// Every month's cells and pictures blank, as before the first "Ver".
void vaciar(ModeloGrilla& mshtd, ModeloGrilla& Flex3, ModeloGrilla& Flex2)
{
    for (int k = 1; k <= MESES_TENDENCIA; ++k) {
        for (int fila = 1; fila < mshtd.Rows(); ++fila) {
            mshtd.setTextMatrix(fila, k, QString());
            mshtd.setCellPicture(fila, k, QString());
        }
        Flex3.setTextMatrix(1, k, QString());
    }
    for (int fila = 1; fila < Flex2.Rows(); ++fila)
        for (int k = 1; k <= COLUMNAS_BORRADAS && k < Flex2.Cols(); ++k)
            Flex2.setTextMatrix(fila, k, QString());
}

} // namespace

void llenar_tablas_tendencia(const ConsultaTendencia& consulta, ModeloGrilla& mshtd,
                             ModeloGrilla& Flex3, ModeloGrilla& Flex2)
{
    // A press that fails part-way (a lost or stalled server) leaves the
    // tables empty, never this year's values beside the last one's pictures.
    try {
        llenar(consulta, mshtd, Flex3, Flex2);
    } catch (...) {
        vaciar(mshtd, Flex3, Flex2);
        throw;
    }
}

} // namespace velmora
