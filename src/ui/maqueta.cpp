// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <QTextLayout>

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
constexpr double kParteFijas = 0.45; // of the page width, the most a table's row headings take
constexpr QLatin1StringView kEntreElecciones{"    "};

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

// A table with nothing to show past its row headings (a departmental
// indicator's baselines) is not printed.
bool sin_datos(const TablaImpresa& t)
{
    for (int f = 0; f < t.textos.size(); ++f) {
        for (int c = t.columnas_fijas; c < t.textos[f].size(); ++c)
            if (!t.textos[f][c].trimmed().isEmpty())
                return false;
        if (f < t.imagenes.size())
            for (int c = t.columnas_fijas; c < t.imagenes[f].size(); ++c)
                if (!t.imagenes[f][c].isEmpty() && t.imagenes[f][c] != QStringLiteral("Blanco"))
                    return false;
    }
    return true;
}

// A table measured for the page: the rows it prints, each column's width
// and each printed row's height, in device pixels.
struct TablaMedida {
    QList<int> filas;
    QList<double> anchos;
    QList<double> altos; // one per entry of filas
    double alto_encabezado = 0;
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

    // The text broken into lines no wider than `ancho`: at blanks, and
    // inside a word only when the word alone is wider.
    QStringList lineas(const QFont& f, const QString& t, double ancho) const
    {
        if (t.isEmpty() || ancho_texto(f, t) <= ancho)
            return {t};
        QTextLayout disposicion(t, f, &disp_);
        QTextOption opcion;
        opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        disposicion.setTextOption(opcion);
        QStringList resultado;
        disposicion.beginLayout();
        for (QTextLine linea = disposicion.createLine(); linea.isValid(); linea = disposicion.createLine()) {
            linea.setLineWidth(ancho);
            resultado << t.mid(linea.textStart(), linea.textLength()).trimmed();
        }
        disposicion.endLayout();
        return resultado;
    }

    // Lines one under the other, centred as a block in the rectangle's height.
    void texto_en_lineas(const QRectF& r, const QFont& f, const QStringList& ls)
    {
        const double alto = alto_linea(f);
        double y = r.top() + (r.height() - alto * ls.size()) / 2;
        for (const QString& l : ls) {
            texto(QRectF(r.left(), y, r.width(), alto), f, l, Qt::AlignLeft | Qt::AlignVCenter);
            y += alto;
        }
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
            const QFont negrita = letra(kLetra, true);
            const double alto = alto_linea(negrita) * 1.3;
            for (const QString& l : lineas_seleccion(negrita)) {
                texto(QRectF(0, y_, ancho_, alto), negrita, l, Qt::AlignLeft | Qt::AlignVCenter);
                y_ += alto;
            }
        }
        if (p_) {
            p_->setPen(QPen(Qt::black, px(0.8)));
            p_->drawLine(QPointF(0, y_ + px(2)), QPointF(ancho_, y_ + px(2)));
        }
        y_ += px(kEntreBloques);
    }

    // The choices side by side as long as they fit across the page, the
    // rest on the lines below; a choice wider than the page wraps itself.
    QStringList lineas_seleccion(const QFont& f) const
    {
        QStringList resultado;
        QString actual;
        for (const QString& eleccion : doc_.seleccion) {
            const QString junto = actual.isEmpty() ? eleccion : actual + kEntreElecciones + eleccion;
            if (ancho_texto(f, junto) <= ancho_) {
                actual = junto;
                continue;
            }
            if (!actual.isEmpty())
                resultado << actual;
            QStringList partes = lineas(f, eleccion, ancho_);
            actual = partes.takeLast();
            resultado << partes;
        }
        if (!actual.isEmpty())
            resultado << actual;
        return resultado;
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

    double margen_celda() const { return 2 * px(kRelleno) + px(1); }

    // Each column as wide as its widest text, at least its heading. The row
    // headings (a row's name) take at most kParteFijas of the page, their
    // texts wrapping onto more lines, so that the values beside them fit
    // across and every printed row shows its name.
    TablaMedida medir(const TablaImpresa& t) const
    {
        const int columnas = int(t.encabezados.size());
        const int fijas = qMin(t.columnas_fijas, columnas);
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
                const bool fija = c < fijas;
                m.anchos[c] = qMax(m.anchos[c], ancho_texto(fija ? negrita : normal, t.textos[f].value(c).trimmed()));
                if (f < t.imagenes.size() && !t.imagenes[f].value(c).isEmpty()) {
                    m.anchos[c] = qMax(m.anchos[c], px(kImagen));
                    con_imagen = true;
                }
            }
            m.anchos[c] += margen_celda();
        }
        double ancho_fijas = 0;
        for (int c = 0; c < fijas; ++c)
            ancho_fijas += m.anchos[c];
        if (ancho_fijas > ancho_ * kParteFijas)
            for (int c = 0; c < fijas; ++c)
                m.anchos[c] *= ancho_ * kParteFijas / ancho_fijas;
        const double una_linea = qMax(alto_linea(normal), con_imagen ? px(kImagen) : 0.0) + 2 * px(kRelleno);
        m.alto_encabezado = una_linea;
        for (int f : m.filas) {
            double alto = una_linea;
            for (int c = 0; c < fijas; ++c) {
                const int n = int(lineas(negrita, t.textos[f].value(c).trimmed(), m.anchos[c] - margen_celda()).size());
                alto = qMax(alto, n * alto_linea(negrita) + 2 * px(kRelleno));
            }
            m.altos << alto;
        }
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
        if (t.encabezados.isEmpty() || sin_datos(t))
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
        if (!cabe(m.alto_encabezado + (m.altos.isEmpty() ? 0 : m.altos.first())))
            nueva_pagina();
        encabezados(t, cols, w, m.alto_encabezado, negrita);
        for (int i = 0; i < m.filas.size(); ++i) {
            const int f = m.filas[i];
            const double alto = m.altos[i];
            if (!cabe(alto)) {
                nueva_pagina();
                encabezados(t, cols, w, m.alto_encabezado, negrita);
            }
            double x = 0;
            for (int j = 0; j < cols.size(); ++j) {
                const int c = cols[j];
                const QRectF r(x, y_, w[j], alto);
                const bool fija = c < t.columnas_fijas;
                celda(r, t.textos[f].value(c).trimmed(), f < t.imagenes.size() ? t.imagenes[f].value(c) : QString(),
                      fija ? negrita : normal, fija);
                x += w[j];
            }
            y_ += alto;
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
        const QRectF dentro = r.adjusted(px(kRelleno), 0, -px(kRelleno), 0);
        texto_en_lineas(dentro, f, lineas(f, t, dentro.width()));
    }

    void grafica()
    {
        // Wide as the page, and tall enough for every label to read whole;
        // down to its least height when that keeps the legend on this page.
        const double ancho = ancho_;
        double alto = qMin(ancho * 0.5, abajo() * 0.5);
        const double minimo = doc_.grafica_minima.isEmpty() ? alto : qMin(alto, px(doc_.grafica_minima.height()));
        const double resto = abajo() - y_ - px(kEntreBloques) - alto_leyenda() - 1;
        if (resto < alto && resto >= minimo)
            alto = resto;
        if (!cabe(alto))
            nueva_pagina();
        if (p_) {
            p_->save();
            doc_.grafica(*p_, QRectF(0, y_, ancho, alto));
            p_->restore();
        }
        y_ += alto + px(kEntreBloques);
    }

    // How the legend's meanings are set: two columns when they fit side by
    // side, else one.
    struct FormaLeyenda {
        double fila = 0;
        double sangria = 0;
        double primera = 0; // the first column's width
        int por_columna = 0;
        double alto = 0;
    };

    FormaLeyenda forma_leyenda() const
    {
        const QFont negrita = letra(kLetra, true);
        const QFont normal = letra(kLetra);
        const QStringList& nombres = imagenes_leyenda();
        FormaLeyenda l;
        l.fila = qMax(alto_linea(normal), px(kImagen)) + px(kRelleno);
        l.sangria = px(kImagen) + 2 * px(kRelleno);
        double segunda = 0;
        const int mitad = int(nombres.size() + 1) / 2;
        for (int i = 0; i < nombres.size(); ++i) {
            const double w = l.sangria + ancho_texto(normal, significado_imagen(nombres[i]));
            if (i < mitad)
                l.primera = qMax(l.primera, w);
            else
                segunda = qMax(segunda, w);
        }
        const bool dos = l.primera + px(2 * kRelleno) + segunda <= ancho_;
        l.por_columna = dos ? mitad : int(nombres.size());
        l.alto = alto_linea(negrita) * 1.4 + l.por_columna * l.fila;
        return l;
    }

    double alto_leyenda() const { return forma_leyenda().alto; }

    void leyenda()
    {
        const QFont negrita = letra(kLetra, true);
        const QFont normal = letra(kLetra);
        const QStringList& nombres = imagenes_leyenda();
        const FormaLeyenda forma = forma_leyenda();
        const double fila = forma.fila;
        const double sangria = forma.sangria;
        const double primera = forma.primera;
        const int por_columna = forma.por_columna;
        if (!cabe(forma.alto))
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
