#include "trend/grafica_tendencia.h"

#include "data/textos.h"
#include "ui/grid/modelo_grilla.h"

#include <QBarCategoryAxis>
#include <QCategoryAxis>
#include <QGraphicsScene>
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

} // namespace

QSize tamano_minimo_grafica()
{
    // Every category label whole under its column pair, the widest axis
    // labels on both sides, the three legend entries in one row, and a plot
    // area that still shows the bars.
    const QFontMetrics m(letra_grafica());
    const QFontMetrics titulo(letra_grafica(9));
    int categorias = 0;
    for (const QString& c : categorias_grafica())
        categorias = std::max(categorias, m.horizontalAdvance(c));
    const int ejes = m.horizontalAdvance(QStringLiteral("-1000000,5")) + m.horizontalAdvance(QStringLiteral("-100%"));
    const int ancho_datos = 4 * (categorias + 8) + ejes + 40;
    int leyenda = 0;
    for (const QString& s : {QStringLiteral("META"), QStringLiteral("VALOR"), QStringLiteral("DESEMPEÑO")})
        leyenda += m.horizontalAdvance(s) + m.height() + 16;
    const int ancho = std::max(ancho_datos, leyenda + 30);
    const int alto = titulo.height() + 3 * m.height() + 24 + 150;
    return {ancho, alto};
}

std::unique_ptr<QChart> crear_grafica_tendencia(const ModeloGrilla& mshtd, const ModeloGrilla& Flex2)
{
    QStringList celdas;
    for (int k : COLUMNAS_GRAFICA)
        celdas << mshtd.TextMatrix(1, k) << mshtd.TextMatrix(2, k) << Flex2.TextMatrix(4, k);
    return grafica_de_celdas(celdas);
}

std::unique_ptr<QChart> grafica_de_celdas(const QStringList& celdas)
{
    auto grafica = std::make_unique<QChart>();
    // The source cells go with the chart, so that printing draws the chart
    // the screen shows, at the page's size.
    grafica->setProperty("celdas", celdas);
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

void pintar_grafica(const QChart& mostrada, QPainter& p, const QRectF& destino)
{
    // Laid out afresh at the size it gets on the page, then drawn as lines
    // and text.
    std::unique_ptr<QChart> copia = grafica_de_celdas(mostrada.property("celdas").toStringList());
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
