#include "trend/grafica_tendencia.h"

#include "ui/grid/modelo_grilla.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QColor>
#include <QFont>
#include <QPen>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace velmora {

const QStringList& categorias_grafica()
{
    static const QStringList categorias = {QStringLiteral("MARZO"), QStringLiteral("JUNIO"),
                                           QStringLiteral("SEPTIEM"), QStringLiteral("DICIEMB")};
    return categorias;
}

std::optional<double> dato_grafica(const QString& celda)
{
    QString texto = celda;
    texto.replace(u',', u'.');
    bool ok = false;
    const double numero = QLocale::c().toDouble(texto.trimmed(), &ok);
    if (!ok || !std::isfinite(numero))
        return std::nullopt;
    return numero;
}

namespace {

// Fits the axis to the data, to zero and to the mark (100% on the right),
// with a little room above and round tick values.
void ajustar_eje(QValueAxis* eje, const QList<double>& datos, double marca)
{
    double minimo = std::min(0.0, marca);
    double maximo = std::max(0.0, marca);
    for (double d : datos) {
        minimo = std::min(minimo, d);
        maximo = std::max(maximo, d);
    }
    if (minimo == maximo)
        maximo = minimo + 1;
    eje->setRange(minimo, maximo + (maximo - minimo) * 0.05);
    eje->applyNiceNumbers();
}

} // namespace

std::unique_ptr<QChart> crear_grafica_tendencia(const ModeloGrilla& mshtd, const ModeloGrilla& Flex2)
{
    auto grafica = std::make_unique<QChart>();
    // Small type and margins: the chart area is a few inches wide and every
    // label must show whole.
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(7);
    grafica->setMargins(QMargins(2, 2, 2, 2));
    grafica->layout()->setContentsMargins(0, 0, 0, 0);

    // A bar set has a place for every category: a missing number draws
    // no bar there.
    auto* metas = new QBarSet(QStringLiteral("META"));
    auto* valores = new QBarSet(QStringLiteral("VALOR"));
    auto* desempeno = new QLineSeries;
    desempeno->setName(QStringLiteral("DESEMPEÑO"));
    // Colours apart from the columns'; marks, so that a lone month shows.
    metas->setColor(QColor(0x2f, 0x6f, 0xb5));
    valores->setColor(QColor(0xf0, 0x8c, 0x1e));
    desempeno->setPen(QPen(QColor(0x2e, 0x8b, 0x3a), 2));
    desempeno->setPointsVisible(true);
    QList<double> columnas;
    QList<double> porcentajes;
    for (int i = 0; i < int(COLUMNAS_GRAFICA.size()); ++i) {
        const int k = COLUMNAS_GRAFICA[size_t(i)];
        const std::optional<double> meta = dato_grafica(mshtd.TextMatrix(1, k));
        const std::optional<double> valor = dato_grafica(mshtd.TextMatrix(2, k));
        metas->append(meta.value_or(0));
        valores->append(valor.value_or(0));
        columnas << meta.value_or(0) << valor.value_or(0);
        if (const std::optional<double> razon = dato_grafica(Flex2.TextMatrix(4, k))) {
            desempeno->append(i, *razon * 100);
            porcentajes << *razon * 100;
        }
    }
    auto* barras = new QBarSeries;
    barras->append(metas);
    barras->append(valores);
    grafica->addSeries(barras);
    grafica->addSeries(desempeno);

    auto* categorias = new QBarCategoryAxis;
    categorias->append(categorias_grafica());
    categorias->setGridLineVisible(false);
    categorias->setMinorGridLineVisible(false);
    categorias->setLabelsFont(arial);
    grafica->addAxis(categorias, Qt::AlignBottom);
    barras->attachAxis(categorias);
    desempeno->attachAxis(categorias);

    auto* izquierdo = new QValueAxis;
    izquierdo->setGridLineVisible(false);
    izquierdo->setLabelFormat(QStringLiteral("%g"));
    izquierdo->setLabelsFont(arial);
    grafica->addAxis(izquierdo, Qt::AlignLeft);
    barras->attachAxis(izquierdo);
    ajustar_eje(izquierdo, columnas, 0);

    // The ratio's own scale, so that 1 (the target reached) reads 100%.
    auto* derecho = new QValueAxis;
    derecho->setGridLineVisible(false);
    derecho->setLabelFormat(QString::fromLatin1(FORMATO_PORCENTAJE));
    derecho->setLabelsFont(arial);
    grafica->addAxis(derecho, Qt::AlignRight);
    desempeno->attachAxis(derecho);
    ajustar_eje(derecho, porcentajes, 100);

    grafica->legend()->setVisible(true);
    grafica->legend()->setAlignment(Qt::AlignBottom);
    grafica->legend()->setFont(arial);
    grafica->setTitle(QStringLiteral("GRAFICA"));
    QFont titulo = arial;
    titulo.setPointSizeF(9);
    titulo.setBold(true);
    grafica->setTitleFont(titulo);
    return grafica;
}

void poner_grafica(QChartView* vista, std::unique_ptr<QChart> grafica)
{
    QChart* anterior = vista->chart();
    vista->setChart(grafica.release());
    delete anterior;
}

} // namespace velmora
