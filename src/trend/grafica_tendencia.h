#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class QChart;
class QChartView;

namespace velmora {

class ModeloGrilla;

// The quarter-end months the chart shows, as table columns, and their labels.
inline constexpr std::array<int, 4> COLUMNAS_GRAFICA{3, 6, 9, 12};
const QStringList& categorias_grafica();

// How the right axis writes a percentage point (the line holds ratio x 100).
inline constexpr char FORMATO_PORCENTAJE[] = "%.0f%%";

// A cell text as the chart reads it: every comma becomes a full stop, then
// it is read as a number; nullopt when it is not one.
std::optional<double> dato_grafica(const QString& celda);

// A new chart of the targets (mshtd row 1) and values (row 2) as clustered
// columns on the left axis and the performance ratios (Flex2 row 4) as a
// percentage line on the right axis, for the quarter-end columns.
std::unique_ptr<QChart> crear_grafica_tendencia(const ModeloGrilla& mshtd, const ModeloGrilla& Flex2);

// Shows the chart in the view, in place of (and deleting) the one before.
void poner_grafica(QChartView* vista, std::unique_ptr<QChart> grafica);

} // namespace velmora
