// SPDX-License-Identifier: GPL-3.0-or-later
// The report and trend screens of the random test, opened as a user opens
// them and read back cell by cell.
#include "vistas.h"

#include "reports/departamentales.h"
#include "reports/principales.h"
#include "soporte/pantallas.h"
#include "trend/tendencia_y_desempeno.h"
#include "ui/grid/grilla.h"
#include "ui/grid/modelo_grilla.h"
#include "usuario.h"

#include <cmath>

namespace modelo {

namespace {

const QStringList kMeses = {QStringLiteral("Enero"),      QStringLiteral("Febrero"), QStringLiteral("Marzo"),
                            QStringLiteral("Abril"),      QStringLiteral("Mayo"),    QStringLiteral("Junio"),
                            QStringLiteral("Julio"),      QStringLiteral("Agosto"),  QStringLiteral("Septiembre"),
                            QStringLiteral("Octubre"),    QStringLiteral("Noviembre"), QStringLiteral("Diciembre")};

// A number cell against the model: the same double when shown whole; one
// shown rounded (marked "…") close to it.
void numero(QStringList& d, const QString& donde, const QString& celda, const Num& n)
{
    const QString t = celda.trimmed();
    if (!n) {
        if (!t.isEmpty())
            d << QStringLiteral("%1 muestra «%2», el modelo nada").arg(donde, t);
        return;
    }
    if (t.endsWith(QStringLiteral("\u2026"))) {
        const std::optional<double> x = leer_mostrado(t.chopped(1));
        if (!x || std::fabs(*x - *n) > 1e-9 * std::max(1.0, std::fabs(*n)))
            d << QStringLiteral("%1 muestra «%2», el modelo %3").arg(donde, t, mostrar(n));
        return;
    }
    const std::optional<double> x = leer_mostrado(t);
    if (!x || !mismos_bits(*x, *n))
        d << QStringLiteral("%1 muestra «%2», el modelo %3").arg(donde, t, mostrar(n));
}

void imagen(QStringList& d, const QString& donde, const QString& mostrada, const QString& esperada)
{
    if (mostrada != esperada)
        d << QStringLiteral("%1 muestra %2, el modelo %3").arg(donde, mostrada, esperada);
}

} // namespace

long& sin_revisar()
{
    static long n = 0;
    return n;
}

QStringList revisar_reporte(const Modelo& m, bool principal, int lista, int anio, int mes)
{
    std::unique_ptr<QWidget> v = principal ? std::unique_ptr<QWidget>(abrir<velmora::Principales>())
                                           : std::unique_ptr<QWidget>(abrir<velmora::Departamentales>());
    const QString nombre_lista = principal ? m.catalogo.perspectivas.at(lista) : m.catalogo.departamentos.at(lista);
    escoger(v.get(), principal ? QStringLiteral("Cmb_Perspectiva_Reporte") : QStringLiteral("Cmb_Departamentos_Reporte"),
            nombre_lista);
    escoger(v.get(), QStringLiteral("Cmb_Año_Reporte"), QString::number(anio));
    escoger(v.get(), principal ? QStringLiteral("Cmb_mes_Reporte") : QStringLiteral("Cmb_Trimestre_ReporteSocial"),
            kMeses.at(mes - 1));
    pulsar(v.get(), QStringLiteral("Button_Cargar_ReporteSocial"));
    const auto* g = control<velmora::Grilla>(v.get(), principal ? QStringLiteral("Flex3") : QStringLiteral("Flex31"));

    QStringList d;
    const std::vector<Fila> filas = m.reporte(principal, lista, anio, mes);
    if (g->Rows() < int(filas.size()) + 1)
        return {QStringLiteral("el reporte tiene %1 filas, el modelo %2 indicadores").arg(g->Rows() - 1).arg(filas.size())};
    for (int i = 0; i < int(filas.size()); ++i) {
        const Fila& f = filas[size_t(i)];
        const int r = i + 1;
        const QString donde = QStringLiteral("reporte %1 %2/%3, fila %4 (%5)").arg(nombre_lista).arg(mes).arg(anio).arg(r).arg(f.indicador);
        if (g->TextMatrix(r, 0).trimmed() != f.indicador)
            d << QStringLiteral("%1: el indicador es «%2»").arg(donde, g->TextMatrix(r, 0).trimmed());
        numero(d, donde + QStringLiteral(" Meta"), g->TextMatrix(r, 1), f.meta);
        numero(d, donde + QStringLiteral(" Valor"), g->TextMatrix(r, 2), f.valor);
        imagen(d, donde + QStringLiteral(" Desempeño"), g->modelo()->CellPicture(r, 3), f.estado);
        // The month compared with is read from its shortened cell.
        if (largo(f.comparado))
            ++sin_revisar();
        else
            imagen(d, donde + QStringLiteral(" Tendencia"), g->modelo()->CellPicture(r, 4), f.tendencia);
    }
    if (g->Rows() > int(filas.size()) + 1 && !g->TextMatrix(int(filas.size()) + 1, 0).trimmed().isEmpty())
        d << QStringLiteral("el reporte %1 muestra de más a «%2»").arg(nombre_lista, g->TextMatrix(int(filas.size()) + 1, 0));
    return d;
}

QStringList revisar_tendencia(const Modelo& m, const QString& indicador, int departamento, int anio)
{
    auto v = abrir<velmora::Tendencia_y_Desempeno>();
    const bool principal = departamento == 0;
    escoger(v.get(), QStringLiteral("Cmb_Tipo_Indicador_TendenciasyDesempeño"),
            principal ? QStringLiteral("Principal") : QStringLiteral("Departamentales"));
    escoger(v.get(), QStringLiteral("Cmb_Año_TendenciasyDesempeño"), QString::number(anio));
    escoger(v.get(), QStringLiteral("Cmb_KPI_TendenciasyDesempeño"), indicador);
    if (!principal)
        escoger(v.get(), QStringLiteral("Cmb_Departamento_TendenciasyDesempeño"), m.catalogo.departamentos.at(departamento));
    pulsar(v.get(), QStringLiteral("Button_LLenar_TendeciasyDesempeño"));
    const auto* g = control<velmora::Grilla>(v.get(), QStringLiteral("mshtd"));
    const auto* bases = control<velmora::Grilla>(v.get(), QStringLiteral("Flex3"));

    QStringList d;
    const std::vector<Fila> filas = m.tendencia_anual(indicador, departamento, anio);
    for (int k = 1; k <= 12; ++k) {
        const Fila& f = filas[size_t(k - 1)];
        const QString donde = QStringLiteral("tendencia %1 (%2) %3/%4").arg(indicador).arg(departamento).arg(k).arg(anio);
        numero(d, donde + QStringLiteral(" Meta"), g->TextMatrix(1, k), f.meta);
        numero(d, donde + QStringLiteral(" Valor"), g->TextMatrix(2, k), f.valor);
        // The table judges its numbers by their shortened cells.
        if (largo(f.valor) || largo(f.meta) || largo(f.base))
            ++sin_revisar();
        else
            imagen(d, donde + QStringLiteral(" Desempeño"), g->modelo()->CellPicture(4, k), f.estado);
        if (largo(f.valor) || largo(f.comparado))
            ++sin_revisar();
        else
            imagen(d, donde + QStringLiteral(" Tendencia"), g->modelo()->CellPicture(5, k), f.tendencia);
        if (principal)
            numero(d, donde + QStringLiteral(" Nivel Base"), bases->TextMatrix(1, k),
                   m.registro(indicador, 0, anio, k).base);
    }
    return d;
}

} // namespace modelo
