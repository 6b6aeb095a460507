// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QChartView;
class QFrame;
class QWidget;

namespace velmora {

class Grilla;

// The trend window's designed client area, in twips.
inline constexpr int kAnchoVentanaTendencia = 14895;
inline constexpr int kAltoVentanaTendencia = 7575;

// Places the trend screen's table, baselines and chart in the room its
// window has. At the designed size everything is where it was designed; a
// wider window first widens the table until all twelve months show, then the
// chart; a taller one gives the chart the height, up to the design's
// proportion of its width (no tall narrow chart). The chart never gets
// smaller than the size at which its labels read whole: the table gives up
// room (and scrolls) instead.
class DisposicionTendencia final : public QObject {
public:
    DisposicionTendencia(QWidget* ventana, Grilla* tabla, Grilla* bases, QChartView* grafica, QFrame* marco_tabla,
                         QFrame* marco_bases, QFrame* marco_grafica);

    // The least window size at which the chart keeps its least size.
    QSize minimo() const;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void aplicar();

    QWidget* ventana_;
    Grilla* tabla_;
    Grilla* bases_;
    QChartView* grafica_;
    QFrame* marco_tabla_;
    QFrame* marco_bases_;
    QFrame* marco_grafica_;
};

} // namespace velmora
