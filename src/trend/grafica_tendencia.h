// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChart>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class QChartView;
class QPainter;
class QRectF;

namespace velmora {

class ModeloGrilla;

// The quarter-end months the chart shows, as table columns, and their labels.
inline constexpr std::array<int, 4> COLUMNAS_GRAFICA{3, 6, 9, 12};
const QStringList& categorias_grafica();


// A cell text as the chart reads it: every comma becomes a full stop, then
// it is read as a number; nullopt when it is not one.
std::optional<double> dato_grafica(const QString& celda);

// The chart's twelve source cells as the tables hold them now: target
// (mshtd row 1), value (row 2) and ratio (Flex2 row 4) of each quarter-end
// column in turn.
QStringList celdas_grafica(const ModeloGrilla& mshtd, const ModeloGrilla& Flex2);

// The trend screen's chart, with the twelve source cells it was drawn from
// (target, value and ratio of each quarter-end column in turn), so that
// printing draws it again at the page's size.
class GraficaTendencia final : public QChart {
public:
    explicit GraficaTendencia(QStringList celdas) : celdas_(std::move(celdas)) {}
    const QStringList& celdas() const { return celdas_; }

private:
    QStringList celdas_;
};

// A new chart of the targets (mshtd row 1) and values (row 2) as clustered
// columns on the left axis and the performance ratios (Flex2 row 4) as a
// percentage line on the right axis, for the quarter-end columns.
std::unique_ptr<QChart> crear_grafica_tendencia(const ModeloGrilla& mshtd, const ModeloGrilla& Flex2);

// The same chart from its twelve source cells: target, value and ratio of
// each quarter-end column in turn.
std::unique_ptr<QChart> grafica_de_celdas(const QStringList& celdas);

// The least size at which every label and legend entry of the chart reads
// whole, in device-independent pixels.
QSize tamano_minimo_grafica();

// Draws the chart a screen shows into a rectangle of a printed page.
void pintar_grafica(const GraficaTendencia& mostrada, QPainter& p, const QRectF& destino);

// Shows the chart in the view, in place of (and deleting) the one before.
void poner_grafica(QChartView* vista, std::unique_ptr<QChart> grafica);

} // namespace velmora
