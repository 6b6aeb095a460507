#pragma once

#include <QString>

class QPushButton;
class QWidget;

// A menu button: caption and picture, named for tests and accessibility,
// tall enough for its picture and as wide as its column.
QPushButton* boton_menu(QWidget* ventana, const QString& nombre, const QString& texto, const QString& imagen);
