// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace velmora {
class Resultado;
}

// Rows of one field of a command's result, as the cells show them.
QStringList columna(const QString& comando, const QString& campo);
QStringList columna(velmora::Resultado resultado, const QString& campo);

// The control of a window by its object name; a missing one ends the test
// program at once (the caller could not go on anyway).
template <class T>
T* control(const QWidget* ventana, const QString& nombre)
{
    T* c = ventana->findChild<T*>(nombre);
    if (!c)
        qFatal("no control %s", qPrintable(nombre));
    return c;
}

// A click on the named button of the window.
void pulsar(const QWidget* ventana, const QString& boton);

// The texts of a list's items, in order.
QStringList items(const QComboBox* lista);

// Picks the item with exactly this text the way a user does: opens the
// list, moves to the item and presses Return.
void elegir(QComboBox* lista, const QString& texto);
void elegir(const QWidget* ventana, const QString& lista, const QString& texto);

// Types a text key by key into the control: one key a character (an emoji
// is one key), accented letters included, which QTest::keyClicks (Latin-1
// only) cannot.
void teclear(QWidget* control, const QString& texto);

// The texts of one row of a grid (Grilla or ModeloGrilla), column by column.
template <class G>
QStringList fila(const G& grilla, int f)
{
    QStringList textos;
    for (int c = 0; c < grilla.Cols(); ++c)
        textos << grilla.TextMatrix(f, c);
    return textos;
}

// Every cell of a grid as "text|picture", row by row: to see that nothing
// changed.
template <class G>
QStringList contenido(const G& grilla)
{
    QStringList celdas;
    for (int f = 0; f < grilla.Rows(); ++f)
        for (int c = 0; c < grilla.Cols(); ++c)
            celdas << grilla.TextMatrix(f, c) + u'|' + grilla.CellPicture(f, c);
    return celdas;
}

// Every command text run on the connection while it lives.
class Comandos final {
public:
    Comandos();
    ~Comandos();
    Comandos(const Comandos&) = delete;
    Comandos& operator=(const Comandos&) = delete;
    QStringList textos;
};
