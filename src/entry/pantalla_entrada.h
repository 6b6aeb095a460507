#pragma once

#include <QString>

// Pieces the indicator screens (new, delete, yearly modification) share.
namespace entrada {

// The indicator-type code the procedures take: "2" for "Departamentales",
// "1" for any other text.
QString codigo_tipo(const QString& tipo);

} // namespace entrada
