// SPDX-License-Identifier: GPL-3.0-or-later
#include "trend/grafica_tendencia.h"

#include "data/textos.h"
#include "ui/grid/modelo_grilla.h"

#include <QBarCategoryAxis>
#include <QCategoryAxis>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QPainter>
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

// The chart's type: small enough for the designed chart area, large enough
// to read.
QFont letra_grafica(double puntos = 8)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(puntos);
    return f;
}

// The two value axes carry their own labels, written as the grids write
// numbers (numero_a_texto: never an exponent, the user's decimal comma) at
// round steps that take in the data, zero and the mark (100% on the right).
void escala(QCategoryAxis* eje, const QList<double>& datos, double marca, const QString& sufijo)
{
    double minimo = std::min(0.0, marca);
    double maximo = std::max(0.0, marca);
    for (double d : datos) {
        minimo = std::min(minimo, d);
        maximo = std::max(maximo, d);
    }
    if (minimo == maximo)
        maximo = minimo + 1;
    const double bruto = (maximo - minimo) / 5;
    const double magnitud = std::pow(10.0, std::floor(std::log10(bruto)));
    const double n = bruto / magnitud;
    const double paso = (n <= 1 ? 1 : n <= 2 ? 2 : n <= 2.5 ? 2.5 : n <= 5 ? 5 : 10) * magnitud;
    const double desde = std::floor(minimo / paso) * paso;
    const double hasta = std::ceil(maximo / paso) * paso;
    eje->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    eje->setStartValue(desde);
    const int pasos = int(std::lround((hasta - desde) / paso));
    // Rounded to the step's own decimals: 3 x 0.1 is written 0,3, and -0 as 0.
    const double escala_decimal = std::pow(10.0, std::max(0.0, 1 - std::floor(std::log10(paso))));
    for (int i = 0; i <= pasos; ++i) {
        double v = std::round((desde + i * paso) * escala_decimal) / escala_decimal;
        if (std::fabs(v) < paso * 1e-9)
            v = 0;
        eje->append(numero_a_texto(v) + sufijo, v);
    }
    eje->setRange(desde, hasta);
}

// The texts a chart shows, each as drawn (a label cut for want of room
// ends in "...").
QStringList textos_visibles(const QChart& grafica)
{
    QStringList textos;
    if (!grafica.scene())
        return textos;
    const auto items = grafica.scene()->items();
    for (const QGraphicsItem* item : items) {
        if (!item->isVisible())
            continue;
        if (const auto* t = dynamic_cast<const QGraphicsTextItem*>(item))
            textos << t->toPlainText();
        else if (const auto* st = dynamic_cast<const QGraphicsSimpleTextItem*>(item))
            textos << st->text();
    }
    return textos;
}

// Whether a chart laid out at this size shows every label whole: the
// charting library cuts a label that has no room to "...".
bool legible(QChart& grafica, const QSizeF& tamano)
{
    grafica.resize(tamano);
    grafica.layout()->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QStringList textos = textos_visibles(grafica);
    for (const QString& t : textos)
        if (t.contains(QStringLiteral("...")) || t.contains(QChar(0x2026)))
            return false;
    for (const QString& esperada : categorias_grafica())
        if (!textos.contains(esperada))
            return false;
    for (const QString& serie : {QStringLiteral("META"), QStringLiteral("VALOR"), QStringLiteral("DESEMPEÑO")})
        if (!textos.contains(serie))
            return false;
    return true;
}

} // namespace

QSize tamano_minimo_grafica()
{
    // Measured once on a chart with long labels (seven-digit numbers, a
    // negative percentage), in the fonts this machine has: the least width
    // and height at which every label and legend entry reads whole, with a
    // little room to spare.
    static const QSize minimo = [] {
        QStringList muestra;
        for (const char* celda : {"1500000", "1450000", "0,5", "1500000", "1250000", "0,25", "1500000", "1600000",
                                  "1,15", "1500000", "900000", "-0,35"})
            muestra << QLatin1String(celda);
        QGraphicsScene escena;
        QChart* grafica = grafica_de_celdas(muestra).release();
        escena.addItem(grafica); // the scene owns it
        const QFontMetrics m(letra_grafica());
        // Title, legend, category labels and a plot area that shows the bars.
        const int alto = QFontMetrics(letra_grafica(9)).height() + 3 * m.height() + 24 + 150;
        int corto = 100;
        int largo = 1200;
        while (largo - corto > 2) {
            const int medio = (corto + largo) / 2;
            if (legible(*grafica, QSizeF(medio, alto)))
                largo = medio;
            else
                corto = medio;
        }
        return QSize(largo + m.averageCharWidth() * 2, alto);
    }();
    return minimo;
}

QStringList celdas_grafica(const ModeloGrilla& mshtd, const ModeloGrilla& Flex2)
{
    QStringList celdas;
    for (int k : COLUMNAS_GRAFICA)
        celdas << mshtd.TextMatrix(1, k) << mshtd.TextMatrix(2, k) << Flex2.TextMatrix(4, k);
    return celdas;
}

std::unique_ptr<QChart> crear_grafica_tendencia(const ModeloGrilla& mshtd, const ModeloGrilla& Flex2)
{
    return grafica_de_celdas(celdas_grafica(mshtd, Flex2));
}

std::unique_ptr<QChart> grafica_de_celdas(const QStringList& celdas)
{
    auto grafica = std::make_unique<GraficaTendencia>(celdas);
    const QFont arial = letra_grafica();
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
        const std::optional<double> meta = dato_grafica(celdas.value(3 * i));
        const std::optional<double> valor = dato_grafica(celdas.value(3 * i + 1));
        metas->append(meta.value_or(0));
        valores->append(valor.value_or(0));
        columnas << meta.value_or(0) << valor.value_or(0);
        if (const std::optional<double> razon = dato_grafica(celdas.value(3 * i + 2))) {
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

    auto* izquierdo = new QCategoryAxis;
    izquierdo->setGridLineVisible(false);
    izquierdo->setLabelsFont(arial);
    escala(izquierdo, columnas, 0, QString());
    grafica->addAxis(izquierdo, Qt::AlignLeft);
    barras->attachAxis(izquierdo);

    // The ratio's own scale, so that 1 (the target reached) reads 100%.
    auto* derecho = new QCategoryAxis;
    derecho->setGridLineVisible(false);
    derecho->setLabelsFont(arial);
    escala(derecho, porcentajes, 100, QStringLiteral("%"));
    grafica->addAxis(derecho, Qt::AlignRight);
    desempeno->attachAxis(derecho);

    grafica->legend()->setVisible(true);
    grafica->legend()->setAlignment(Qt::AlignBottom);
    grafica->legend()->setFont(arial);
    grafica->setTitle(QStringLiteral("GRAFICA"));
    QFont titulo = letra_grafica(9);
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

void pintar_grafica(const GraficaTendencia& mostrada, QPainter& p, const QRectF& destino)
{
    // Laid out afresh at the size it gets on the page, then drawn as lines
    // and text.
    std::unique_ptr<QChart> copia = grafica_de_celdas(mostrada.celdas());
    QGraphicsScene escena;
    QChart* grafica = copia.release();
    escena.addItem(grafica); // the scene owns it now
    // One layout unit a point: the chart's 8-point type prints at a reading size.
    const QSizeF tamano = destino.size() * 72.0 / p.device()->logicalDpiX();
    grafica->resize(tamano);
    grafica->setPos(0, 0);
    escena.setSceneRect(QRectF(QPointF(0, 0), tamano));
    escena.render(&p, destino, QRectF(QPointF(0, 0), tamano));
}

} // namespace velmora
