// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ventana_escritorio.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace velmora {

namespace {

constexpr char kTamanoDiseno[] = "velmora_tamano_diseno";

QString clave_geometria(const QString& nombre)
{
    return QStringLiteral("ventanas/") + nombre + QStringLiteral("/geometria");
}

// Lives as a child of its window and acts on the window's own events, and on
// the key presses its controls leave unused.
class ComportamientoVentana final : public QObject {
public:
    ComportamientoVentana(QWidget* ventana, const QString& nombre) : QObject(ventana), ventana_(ventana), nombre_(nombre)
    {
        ventana->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (objeto != ventana_)
            return false;
        switch (evento->type()) {
        case QEvent::KeyPress:
            return tecla(static_cast<QKeyEvent*>(evento));
        case QEvent::Hide:
            if (!evento->spontaneous())
                configuracion().setValue(clave_geometria(nombre_), ventana_->saveGeometry());
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool tecla(QKeyEvent* evento)
    {
        if (evento->modifiers() & ~Qt::KeypadModifier)
            return false;
        if (evento->key() == Qt::Key_Escape) {
            // The login and the main menus end the program when closed:
            // Escape leaves them open.
            if (!ventana_->property("velmora_cerrar_termina").toBool())
                ventana_->close();
            return true;
        }
        if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
            const auto botones = ventana_->findChildren<QPushButton*>();
            for (QPushButton* boton : botones) {
                if (boton->isDefault() && boton->isVisible() && boton->isEnabled() && boton->window() == ventana_) {
                    boton->click();
                    return true;
                }
            }
        }
        return false;
    }

    QWidget* ventana_;
    QString nombre_;
};

// Keeps the distances a control had to its parent's right and bottom edges.
class Anclaje final : public QObject {
public:
    Anclaje(QWidget* control, int anclas)
        : QObject(control), control_(control), anclas_(anclas), padre_(control->parentWidget())
    {
        // Distances as designed, even when the window started smaller.
        QSize diseno = padre_->property(kTamanoDiseno).toSize();
        if (!diseno.isValid())
            diseno = padre_->size();
        derecha_ = diseno.width() - control->geometry().right();
        abajo_ = diseno.height() - control->geometry().bottom();
        padre_->installEventFilter(this);
        aplicar();
    }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (objeto == padre_ && evento->type() == QEvent::Resize)
            aplicar();
        return false;
    }

private:
    void aplicar()
    {
        {
            QRect r = control_->geometry();
            const int derecha = padre_->width() - derecha_;
            const int abajo = padre_->height() - abajo_;
            if (anclas_ & int(Ancla::CrecerAncho))
                r.setRight(qMax(r.left() + control_->minimumWidth(), derecha));
            else if (anclas_ & int(Ancla::MoverDerecha))
                r.moveRight(derecha);
            if (anclas_ & int(Ancla::CrecerAlto))
                r.setBottom(qMax(r.top() + control_->minimumHeight(), abajo));
            else if (anclas_ & int(Ancla::MoverAbajo))
                r.moveBottom(abajo);
            control_->setGeometry(r);
        }
    }

    QWidget* control_;
    int anclas_;
    QWidget* padre_;
    int derecha_;
    int abajo_;
};

// Room a window manager's frame takes around the client area: the real one
// once the window is shown, a likely one before (a title bar of about the
// text's height and a thin border).
QMargins marco_de(const QWidget* ventana)
{
    if (ventana->isVisible()) {
        const QRect fuera = ventana->frameGeometry();
        const QRect dentro = ventana->geometry();
        const QMargins real(dentro.left() - fuera.left(), dentro.top() - fuera.top(), fuera.right() - dentro.right(),
                            fuera.bottom() - dentro.bottom());
        if (real.top() > 2)
            return real;
    }
    const int borde = 4;
    const int titulo = qMax(ventana->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, ventana),
                            ventana->fontMetrics().height() + 14);
    return {borde, titulo + borde, borde, borde};
}

// Keeps a window, its frame included, inside the screen's available area:
// smaller when it would not fit, moved when it would stick out.
void encajar(QWidget* ventana, bool centrar)
{
    const QScreen* pantalla = ventana->screen();
    if (!pantalla || ventana->isMaximized() || ventana->isFullScreen())
        return;
    const QRect disponible = pantalla->availableGeometry();
    const QMargins marco = marco_de(ventana);
    const QSize cabe = disponible.size().shrunkBy(marco);
    ventana->setMinimumSize(ventana->minimumSize().boundedTo(cabe));
    ventana->resize(ventana->size().boundedTo(cabe));
    QRect fuera(ventana->pos(), ventana->size().grownBy(marco));
    const QPoint antes = fuera.topLeft();
    if (centrar)
        fuera.moveCenter(disponible.center());
    if (fuera.right() > disponible.right())
        fuera.moveRight(disponible.right());
    if (fuera.bottom() > disponible.bottom())
        fuera.moveBottom(disponible.bottom());
    if (fuera.left() < disponible.left())
        fuera.moveLeft(disponible.left());
    if (fuera.top() < disponible.top())
        fuera.moveTop(disponible.top());
    // A top-level window's position is its frame's corner; one that fits
    // stays where it was put.
    if (fuera.topLeft() != antes)
        ventana->move(fuera.topLeft());
}

// Once shown, the window manager's real frame is known: a window that
// sticks out with it is brought back in.
class Encaje final : public QObject {
public:
    explicit Encaje(QWidget* ventana) : QObject(ventana), ventana_(ventana) { ventana->installEventFilter(this); }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (objeto == ventana_ && evento->type() == QEvent::Show)
            QTimer::singleShot(0, this, [this] {
                const QScreen* pantalla = ventana_->screen();
                if (pantalla && !pantalla->availableGeometry().contains(ventana_->frameGeometry()))
                    encajar(ventana_, false);
            });
        return false;
    }

private:
    QWidget* ventana_;
};

// The position of the access-key mark in a caption, or -1.
int marca(const QString& texto)
{
    for (int i = 0; i + 1 < texto.size(); ++i) {
        if (texto.at(i) != u'&')
            continue;
        if (texto.at(i + 1) == u'&') {
            ++i;
            continue;
        }
        return texto.at(i + 1).isLetterOrNumber() ? i : -1;
    }
    return -1;
}

} // namespace

QSettings& configuracion()
{
    static QSettings ajustes(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("velmora"),
                             QStringLiteral("velmora"));
    return ajustes;
}

QString texto_visible(const QString& texto)
{
    QString visible;
    for (int i = 0; i < texto.size(); ++i) {
        if (texto.at(i) == u'&' && i + 1 < texto.size())
            ++i;
        visible += texto.at(i);
    }
    return visible;
}

void poner_teclas_acceso(QWidget* ventana)
{
    // A label that names a box (its buddy) takes its key first: Alt + the
    // letter puts the cursor in the box. Then the buttons.
    struct Rotulo {
        QWidget* control;
        std::function<QString()> texto;
        std::function<void(const QString&)> poner;
    };
    QList<Rotulo> rotulos;
    for (QLabel* e : ventana->findChildren<QLabel*>()) {
        if (e->window() == ventana && e->buddy() && e->textFormat() != Qt::RichText && !e->text().isEmpty())
            rotulos.append({e, [e] { return e->text(); }, [e](const QString& t) { e->setText(t); }});
    }
    for (QAbstractButton* b : ventana->findChildren<QAbstractButton*>()) {
        if (b->window() == ventana)
            rotulos.append({b, [b] { return b->text(); }, [b](const QString& t) { b->setText(t); }});
    }
    QSet<QChar> usadas;
    QList<Rotulo> sin_tecla;
    for (const Rotulo& r : std::as_const(rotulos)) {
        const QString texto = r.texto();
        const int i = marca(texto);
        if (i >= 0)
            usadas.insert(texto.at(i + 1).toLower());
        else
            sin_tecla << r;
    }
    for (const Rotulo& r : std::as_const(sin_tecla)) {
        // A lone "&" is meant as itself ("Crear & Eliminar").
        QString texto;
        const QString original = r.texto();
        for (int i = 0; i < original.size(); ++i) {
            if (original.at(i) == u'&') {
                texto += QStringLiteral("&&");
                if (i + 1 < original.size() && original.at(i + 1) == u'&')
                    ++i;
            } else {
                texto += original.at(i);
            }
        }
        const QString visible = texto_visible(texto);
        // Word initials first, then any letter of the caption.
        QList<int> candidatas;
        for (int i = 0; i < visible.size(); ++i)
            if (visible.at(i).isLetter() && (i == 0 || !visible.at(i - 1).isLetter()))
                candidatas << i;
        for (int i = 0; i < visible.size(); ++i)
            if (visible.at(i).isLetter() && !candidatas.contains(i))
                candidatas << i;
        for (int i : candidatas) {
            const QChar letra = visible.at(i).toLower();
            if (usadas.contains(letra))
                continue;
            usadas.insert(letra);
            // Map the visible position back into the escaped caption.
            int pos = 0;
            for (int v = 0; v < i; ++v, ++pos)
                if (texto.at(pos) == u'&')
                    ++pos;
            texto.insert(pos, u'&');
            break;
        }
        r.poner(texto);
    }
}

void preparar_ventana(QWidget* ventana, const QString& nombre)
{
    poner_teclas_acceso(ventana);
    new ComportamientoVentana(ventana, nombre);
    const QByteArray geometria = configuracion().value(clave_geometria(nombre)).toByteArray();
    // A saved place is brought back onto a screen that shrank; a new window
    // starts centred. Either way its frame stays inside the available area.
    const bool guardada = !geometria.isEmpty() && ventana->restoreGeometry(geometria);
    encajar(ventana, !guardada);
    new Encaje(ventana);
}

void anclar(QWidget* control, int anclas)
{
    new Anclaje(control, anclas);
}

} // namespace velmora
