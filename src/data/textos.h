#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// The two indicator types the screens tell apart, as the lists hold them.
inline const QString TIPO_PRINCIPAL = QStringLiteral("Principal      ");
inline const QString TIPO_DEPARTAMENTAL = QStringLiteral("Departamentales");

// "Enero" ... "Diciembre", in calendar order.
const QStringList& nombres_meses();

// A list item: the field text followed by 15 blanks, cut to n characters.
QString texto_item(const QString& campo, int n);
// A grid cell: the field text followed by 7 blanks, cut to n characters.
QString texto_celda(const QString& campo, int n);

// A database value as the cells need it: Null is empty, a number is written
// with the user's locale, a text stays as the database returned it.
QString texto_valor(const QVariant& valor);

// A number written with the user's decimal separator, without grouping.
QString numero_a_texto(double numero);

// Locale-aware text-to-number reading used by the icon rules. Surrounding
// blanks are ignored; a text that does not read as a number gives nullopt.
std::optional<double> a_numero(const QString& texto);
