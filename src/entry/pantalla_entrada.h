#pragma once

#include <QString>

namespace velmora {

// Helpers of the entry screens beyond their controls (which ui's controles.h,
// listas.h and twips.h make and place).
namespace entrada {

// The indicator-type code the procedures take: "2" for "Departamentales",
// "1" for any other text.
QString codigo_tipo(const QString& tipo);

} // namespace entrada

} // namespace velmora
