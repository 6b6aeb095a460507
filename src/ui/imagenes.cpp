// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/imagenes.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <QWidget>

#include <cmath>

namespace velmora {

namespace {

QString ruta(const char* carpeta, const QString& nombre)
{
    return QStringLiteral(":/") + QLatin1String(carpeta) + u'/' + nombre + QStringLiteral(".svg");
}

// Paints the window's background picture before the window paints itself;
// keeps the last drawing while the size does not change.
class PintorFondo final : public QObject {
public:
    PintorFondo(QWidget* ventana, const QString& archivo) : QObject(ventana), ventana_(ventana), svg_(archivo) {}

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (objeto == ventana_ && evento->type() == QEvent::Paint && svg_.isValid()) {
            const qreal escala = ventana_->devicePixelRatioF();
            const QSize px = ventana_->size() * escala;
            if (dibujo_.size() != px) {
                dibujo_ = QPixmap(px);
                QPainter p(&dibujo_);
                svg_.render(&p, QRectF(QPointF(0, 0), QSizeF(px)));
                p.end();
                dibujo_.setDevicePixelRatio(escala);
            }
            QPainter p(ventana_);
            p.drawPixmap(0, 0, dibujo_);
        }
        return false;
    }

private:
    QWidget* ventana_;
    QSvgRenderer svg_;
    QPixmap dibujo_;
};

} // namespace

QString ruta_icono(const QString& nombre)
{
    return ruta("iconos", nombre);
}

QPixmap pixmap_imagen(const QString& nombre, QSize tamano, qreal escala)
{
    if (nombre.isEmpty() || tamano.isEmpty())
        return {};
    if (escala <= 0)
        escala = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const QString clave = QStringLiteral("velmora/imagen/%1/%2x%3@%4")
                              .arg(nombre)
                              .arg(tamano.width())
                              .arg(tamano.height())
                              .arg(escala);
    QPixmap pixmap;
    if (QPixmapCache::find(clave, &pixmap))
        return pixmap;

    const QString archivo = ruta_icono(nombre);
    if (!QFile::exists(archivo))
        return {};
    QSvgRenderer svg(archivo);
    if (!svg.isValid())
        return {};
    const QSize px(qRound(tamano.width() * escala), qRound(tamano.height() * escala));
    QSizeF dibujo = QSizeF(svg.defaultSize());
    dibujo.scale(QSizeF(px), Qt::KeepAspectRatio);
    pixmap = QPixmap(px);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    svg.render(&p, QRectF(QPointF((px.width() - dibujo.width()) / 2, (px.height() - dibujo.height()) / 2), dibujo));
    p.end();
    pixmap.setDevicePixelRatio(escala);
    QPixmapCache::insert(clave, pixmap);
    return pixmap;
}

QIcon icono_boton(const QString& nombre)
{
    // The SVG icon engine draws the picture afresh for every size asked.
    const QString archivo = ruta("botones", nombre);
    Q_ASSERT_X(QFile::exists(archivo), "icono_boton", qPrintable(archivo));
    return QIcon(archivo);
}

void poner_imagen(QAbstractButton* boton, const QString& nombre)
{
    boton->setIcon(icono_boton(nombre));
    boton->setIconSize(QSize(28, 28));
}

void fijar_fondo(QWidget* ventana, const QString& nombre)
{
    ventana->installEventFilter(new PintorFondo(ventana, ruta("fondos", nombre)));
}

} // namespace velmora
