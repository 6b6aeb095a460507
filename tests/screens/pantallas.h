#pragma once

#include <QComboBox>
#include <QString>
#include <QStringList>
#include <QWidget>

// Rows of one field of a command's result, as the cells show them.
QStringList columna(const QString& comando, const QString& campo);

// The control of a window by its object name; fails the test when missing.
template <class T>
T* control(QWidget* ventana, const QString& nombre)
{
    T* c = ventana->findChild<T*>(nombre);
    if (!c)
        qFatal("no control %s", qPrintable(nombre));
    return c;
}

// Picks the item with exactly this text the way a user does: opens the
// list, moves to the item and presses Return.
void elegir(QComboBox* lista, const QString& texto);

// Every command text run on the connection while it lives.
class Comandos final {
public:
    Comandos();
    ~Comandos();
    Comandos(const Comandos&) = delete;
    Comandos& operator=(const Comandos&) = delete;
    QStringList textos;
};
