#pragma once

#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Pieces the indicator screens (new, delete, yearly modification) share.
namespace entrada {

// Places a control at a position and size given in twips.
void ubicar(QWidget* control, int izquierda, int arriba, int ancho, int alto);

QLabel* etiqueta(QWidget* ventana, const QString& nombre, const QString& texto);
QLineEdit* caja(QWidget* ventana, const QString& nombre);
// An editable list: what the user types stays exactly as typed.
QComboBox* lista(QWidget* ventana, const QString& nombre);
// A button with its caption and its picture (":/botones/<imagen>.svg").
QPushButton* boton(QWidget* ventana, const QString& nombre, const QString& texto, const QString& imagen);

// The indicator-type code the procedures take: "2" for "Departamentales",
// "1" for any other text.
QString codigo_tipo(const QString& tipo);

} // namespace entrada
