#include "ui/maqueta.h"

#include "ui/imagenes.h"
#include "ui/leyenda.h"
#include "ui/traducciones.h"

#include <QApplication>
#include <QDateTime>
#include <QFontMetricsF>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QSvgRenderer>

#include <memory>

namespace velmora {

namespace {

// Sizes in points (1/72 inch), turned into device pixels once the device is known.
constexpr double kLetra = 9;
constexpr double kLetraTitulo = 15;
constexpr double kLetraPie = 8;
constexpr double kRelleno = 3;       // around a cell's text
constexpr double kImagen = 14;       // a cell's picture
constexpr double kEntreBloques = 12; // between tables, chart and legend

QFont letra(double puntos, bool negrita = false)
{
    QFont f = QApplication::font();
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    return f;
}

// Rows that show nothing (the empty rows a report grid keeps) are left out.
bool vacia(const TablaImpresa& t, int fila)
{
    for (const QString& c : t.textos[fila])
        if (!c.trimmed().isEmpty())
            return false;
    if (fila < t.imagenes.size())
        for (const QString& i : t.imagenes[fila])
            if (!i.isEmpty() && i != QStringLiteral("Blanco"))
                return false;
    return true;
}

// A table measured for the page: the rows it prints, each column's width
// and the height of a row, in device pixels.
struct TablaMedida {
    QList<int> filas;
    QList<double> anchos;
    double alto_fila = 0;
};

// Lays the document out page by page. Run twice: first without a painter to
// count the pages ("Página 1 de N"), then drawing.
class Maqueta final {
public:
    Maqueta(const DocumentoImpreso& documento, QPagedPaintDevice& dispositivo, QPainter* p, int total)
        : doc_(documento), disp_(dispositivo), p_(p), total_(total),
          dpi_(dispositivo.logicalDpiY()), ancho_(dispositivo.width()), alto_(dispositivo.height()),
          impreso_(QStringLiteral("Impreso el ")
                   + idioma_programa().toString(QDateTime::currentDateTime(),
                                                QStringLiteral("d 'de' MMMM 'de' yyyy, H:mm")))
    {
    }

    int hacer()
    {
        empezar_pagina();
        for (const TablaImpresa& t : doc_.tablas)
            tabla(t);
        if (doc_.grafica)
            grafica();
        leyenda();
        pie();
        return pagina_ + 1;
    }

private:
    double px(double puntos) const { return puntos * dpi_ / 72.0; }
    double abajo() const { return alto_ - px(kLetraPie) * 2.2; }
    bool cabe(double alto) const { return y_ + alto <= abajo(); }

    double ancho_texto(const QFont& f, const QString& t) const
    {
        return QFontMetricsF(f, &disp_).horizontalAdvance(t);
    }
    double alto_linea(const QFont& f) const { return QFontMetricsF(f, &disp_).height(); }

    void texto(const QRectF& r, const QFont& f, const QString& t, int alineacion)
    {
        if (!p_)
            return;
        p_->setFont(f);
        p_->setPen(Qt::black);
        p_->drawText(r, alineacion | Qt::TextSingleLine, t);
    }

    void imagen(const QRectF& r, const QString& nombre)
    {
        if (!p_ || nombre.isEmpty())
            return;
        auto& svg = svgs_[nombre];
        if (!svg)
            svg = std::make_unique<QSvgRenderer>(ruta_icono(nombre));
        if (svg->isValid())
            svg->render(p_, r);
    }

    void empezar_pagina()
    {
        y_ = 0;
        const QFont titulo = letra(kLetraTitulo, true);
        const double alto_titulo = alto_linea(titulo);
        texto(QRectF(0, y_, ancho_, alto_titulo), titulo, doc_.titulo, Qt::AlignLeft | Qt::AlignVCenter);
        const QFont normal = letra(kLetra);
        texto(QRectF(0, y_, ancho_, alto_titulo), normal, impreso_, Qt::AlignRight | Qt::AlignVCenter);
        y_ += alto_titulo;
        if (!doc_.seleccion.isEmpty()) {
            const double alto = alto_linea(letra(kLetra, true)) * 1.3;
            texto(QRectF(0, y_, ancho_, alto), letra(kLetra, true), doc_.seleccion.join(QStringLiteral("    ")),
                  Qt::AlignLeft | Qt::AlignVCenter);
            y_ += alto;
        }
        if (p_) {
            p_->setPen(QPen(Qt::black, px(0.8)));
            p_->drawLine(QPointF(0, y_ + px(2)), QPointF(ancho_, y_ + px(2)));
        }
        y_ += px(kEntreBloques);
    }

    void pie()
    {
        const QFont f = letra(kLetraPie);
        const double alto = alto_linea(f);
        texto(QRectF(0, alto_ - alto, ancho_, alto), f,
              QStringLiteral("Página %1 de %2").arg(pagina_ + 1).arg(qMax(total_, pagina_ + 1)),
              Qt::AlignRight | Qt::AlignVCenter);
        texto(QRectF(0, alto_ - alto, ancho_, alto), f, doc_.titulo, Qt::AlignLeft | Qt::AlignVCenter);
    }

    void nueva_pagina()
    {
        pie();
        if (p_)
            disp_.newPage();
        ++pagina_;
        empezar_pagina();
    }

    // Each column as wide as its widest text, at least its heading.
    TablaMedida medir(const TablaImpresa& t) const
    {
        const int columnas = int(t.encabezados.size());
        const QFont normal = letra(kLetra);
        const QFont negrita = letra(kLetra, true);
        TablaMedida m;
        for (int f = 0; f < t.textos.size(); ++f)
            if (!vacia(t, f))
                m.filas << f;
        m.anchos = QList<double>(columnas, 0);
        bool con_imagen = false;
        for (int c = 0; c < columnas; ++c) {
            m.anchos[c] = ancho_texto(negrita, t.encabezados[c].trimmed());
            for (int f : m.filas) {
                const bool fija = c < t.columnas_fijas;
                m.anchos[c] = qMax(m.anchos[c], ancho_texto(fija ? negrita : normal, t.textos[f].value(c).trimmed()));
                if (f < t.imagenes.size() && !t.imagenes[f].value(c).isEmpty()) {
                    m.anchos[c] = qMax(m.anchos[c], px(kImagen));
                    con_imagen = true;
                }
            }
            m.anchos[c] += 2 * px(kRelleno) + px(1);
        }
        m.alto_fila = qMax(alto_linea(normal), con_imagen ? px(kImagen) : 0.0) + 2 * px(kRelleno);
        return m;
    }

    // Bands of columns that fit across the page, as many as the widths
    // need, the columns shared out evenly among them (January to June, July
    // to December); each band starts with the row headings.
    QList<QList<int>> bandas(const TablaImpresa& t, const QList<double>& anchos) const
    {
        const int columnas = int(anchos.size());
        const int fijas_n = qMin(t.columnas_fijas, columnas);
        double fijas = 0;
        for (int c = 0; c < fijas_n; ++c)
            fijas += anchos[c];
        int n_bandas = 1;
        double ocupado = fijas;
        for (int c = fijas_n; c < columnas; ++c) {
            if (ocupado + anchos[c] > ancho_ && ocupado > fijas) {
                ++n_bandas;
                ocupado = fijas;
            }
            ocupado += anchos[c];
        }
        const int cuerpo = columnas - fijas_n;
        QList<QList<int>> resultado;
        for (;; ++n_bandas) {
            resultado.clear();
            bool caben = true;
            for (int b = 0; b < n_bandas; ++b) {
                QList<int> banda;
                double w = fijas;
                for (int c = 0; c < fijas_n; ++c)
                    banda << c;
                for (int c = fijas_n + cuerpo * b / n_bandas; c < fijas_n + cuerpo * (b + 1) / n_bandas; ++c) {
                    banda << c;
                    w += anchos[c];
                }
                caben &= w <= ancho_ || banda.size() - fijas_n <= 1;
                resultado << banda;
            }
            if (caben || n_bandas >= qMax(1, cuerpo))
                return resultado;
        }
    }

    // The band's columns spread over the page: room left over is shared as
    // the screen's widths share it.
    QList<double> repartir(const TablaImpresa& t, const QList<int>& cols, const QList<double>& anchos) const
    {
        double total = 0, diseno = 0;
        for (int c : cols) {
            total += anchos[c];
            diseno += t.anchos.value(c, 960);
        }
        QList<double> w;
        const double sobra = qMax(0.0, ancho_ - total);
        for (int c : cols)
            w << anchos[c] + sobra * t.anchos.value(c, 960) / qMax(1.0, diseno);
        return w;
    }

    void tabla(const TablaImpresa& t)
    {
        if (t.encabezados.isEmpty())
            return;
        const TablaMedida m = medir(t);
        for (const QList<int>& cols : bandas(t, m.anchos))
            banda(t, m, cols, repartir(t, cols, m.anchos));
    }

    // One band's heading and rows, the heading again on each new page.
    void banda(const TablaImpresa& t, const TablaMedida& m, const QList<int>& cols, const QList<double>& w)
    {
        const QFont normal = letra(kLetra);
        const QFont negrita = letra(kLetra, true);
        if (!cabe(2 * m.alto_fila))
            nueva_pagina();
        encabezados(t, cols, w, m.alto_fila, negrita);
        for (int f : m.filas) {
            if (!cabe(m.alto_fila)) {
                nueva_pagina();
                encabezados(t, cols, w, m.alto_fila, negrita);
            }
            double x = 0;
            for (int i = 0; i < cols.size(); ++i) {
                const int c = cols[i];
                const QRectF r(x, y_, w[i], m.alto_fila);
                const bool fija = c < t.columnas_fijas;
                celda(r, t.textos[f].value(c).trimmed(), f < t.imagenes.size() ? t.imagenes[f].value(c) : QString(),
                      fija ? negrita : normal, fija);
                x += w[i];
            }
            y_ += m.alto_fila;
        }
        y_ += px(kEntreBloques);
    }

    void encabezados(const TablaImpresa& t, const QList<int>& cols, const QList<double>& w, double alto,
                     const QFont& f)
    {
        double x = 0;
        for (int i = 0; i < cols.size(); ++i) {
            celda(QRectF(x, y_, w[i], alto), t.encabezados[cols[i]].trimmed(), QString(), f, true);
            x += w[i];
        }
        y_ += alto;
    }

    void celda(const QRectF& r, const QString& t, const QString& nombre_imagen, const QFont& f, bool fija)
    {
        if (p_) {
            if (fija)
                p_->fillRect(r, QColor(0xe6, 0xe6, 0xe6));
            p_->setPen(QPen(QColor(0x80, 0x80, 0x80), px(0.5)));
            p_->setBrush(Qt::NoBrush);
            p_->drawRect(r);
        }
        if (!nombre_imagen.isEmpty()) {
            QRectF cuadro(0, 0, px(kImagen), px(kImagen));
            cuadro.moveCenter(r.center());
            imagen(cuadro, nombre_imagen);
        }
        texto(r.adjusted(px(kRelleno), 0, -px(kRelleno), 0), f, t, Qt::AlignLeft | Qt::AlignVCenter);
    }

    void grafica()
    {
        // Wide as the page, and tall enough for every label to read whole.
        const double ancho = ancho_;
        const double alto = qMin(ancho * 0.5, abajo() * 0.5);
        if (!cabe(alto))
            nueva_pagina();
        if (p_) {
            p_->save();
            doc_.grafica(*p_, QRectF(0, y_, ancho, alto));
            p_->restore();
        }
        y_ += alto + px(kEntreBloques);
    }

    void leyenda()
    {
        const QFont negrita = letra(kLetra, true);
        const QFont normal = letra(kLetra);
        const QStringList& nombres = imagenes_leyenda();
        const double fila = qMax(alto_linea(normal), px(kImagen)) + px(kRelleno);
        // Two columns when the meanings fit side by side, else one.
        const double sangria = px(kImagen) + 2 * px(kRelleno);
        double primera = 0;
        double segunda = 0;
        const int mitad = int(nombres.size() + 1) / 2;
        for (int i = 0; i < nombres.size(); ++i) {
            const double w = sangria + ancho_texto(normal, significado_imagen(nombres[i]));
            if (i < mitad)
                primera = qMax(primera, w);
            else
                segunda = qMax(segunda, w);
        }
        const bool dos = primera + px(2 * kRelleno) + segunda <= ancho_;
        const int por_columna = dos ? mitad : int(nombres.size());
        const double alto = alto_linea(negrita) * 1.4 + por_columna * fila;
        if (!cabe(alto))
            nueva_pagina();
        texto(QRectF(0, y_, ancho_, alto_linea(negrita)), negrita, QStringLiteral("Leyenda"),
              Qt::AlignLeft | Qt::AlignVCenter);
        y_ += alto_linea(negrita) * 1.4;
        for (int i = 0; i < nombres.size(); ++i) {
            const double x = i < por_columna ? 0 : primera + px(2 * kRelleno);
            const double y = y_ + (i % por_columna) * fila;
            const QRectF figura(x, y, px(kImagen), px(kImagen));
            imagen(figura, nombres[i]);
            if (p_ && nombres[i] == QStringLiteral("Blanco")) {
                // A white picture on white paper: its edge shows where it is.
                p_->setPen(QPen(QColor(0x80, 0x80, 0x80), px(0.5)));
                p_->setBrush(Qt::NoBrush);
                p_->drawRect(figura);
            }
            const QRectF r(x + sangria, y, ancho_ - x - sangria, px(kImagen));
            texto(r, normal, significado_imagen(nombres[i]), Qt::AlignLeft | Qt::AlignVCenter);
        }
        y_ += por_columna * fila;
    }

    const DocumentoImpreso& doc_;
    QPagedPaintDevice& disp_;
    QPainter* p_;
    int total_;
    double dpi_;
    double ancho_;
    double alto_;
    QString impreso_;
    int pagina_ = 0;
    double y_ = 0;
    QHash<QString, std::shared_ptr<QSvgRenderer>> svgs_;
};

} // namespace

int pintar_documento(const DocumentoImpreso& documento, QPagedPaintDevice& dispositivo)
{
    const int paginas = Maqueta(documento, dispositivo, nullptr, 0).hacer();
    QPainter p;
    if (!p.begin(&dispositivo))
        return 0;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const int hechas = Maqueta(documento, dispositivo, &p, paginas).hacer();
    p.end();
    return hechas;
}

} // namespace velmora
