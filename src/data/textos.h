// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace velmora {

// The two indicator types the screens tell apart, as the lists hold them.
inline const QString TIPO_PRINCIPAL = QStringLiteral("Principal      ");
inline const QString TIPO_DEPARTAMENTAL = QStringLiteral("Departamentales");

// "Enero" ... "Diciembre", in calendar order.
const QStringList& nombres_meses();

// The first n characters (code points, as the databases count them: an
// emoji is one character, never half of one).
QString cortar(const QString& texto, int n);
// Characters (code points) of the text.
int largo(const QString& texto);

// A list item: the field text followed by 15 blanks, cut to n characters.
QString texto_item(const QString& campo, int n);
// A grid cell: the field text followed by 7 blanks, cut to n characters.
// A number too long for the cell is written in a shorter form of the same
// value when one fits, else rounded and marked with MARCA_CORTE, so that it
// is never mistaken for a different whole number.
QString texto_celda(const QString& campo, int n);
inline const QString MARCA_CORTE = QStringLiteral("\u2026");

// The kind of number a database value holds: a floating-point one, a whole
// one, or none (Null, a text, a date...).
enum class TipoNumero { Ninguno, Real, Entero };
TipoNumero tipo_numero(const QVariant& valor);

// A database value as the cells need it: Null is empty, a number is written
// with the user's locale, a text stays as the database returned it.
QString texto_valor(const QVariant& valor);

// A number written with the user's decimal separator, without grouping, in
// full (it reads back as the same double): plain digits in the usual range
// or when they take at most 15 characters, else with an exponent.
QString numero_a_texto(double numero);

// The program's reading of a number text, in every locale the same and the
// same as the stores' own check: blanks around, an optional sign, digits with
// at most one decimal comma or point, an optional exponent. A text that is not
// such a number, looks like a thousands group ("1.000", "12,500"), or lies
// outside what a double holds (too large, or so small it would be zero) gives
// nullopt.
std::optional<double> a_numero(const QString& texto);

// A text that was stored, written as a fetch of it reads: a number in full
// (numero_a_texto), a blank text empty, anything else as it is.
QString texto_guardado(const QString& texto);

} // namespace velmora
