// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

// The month before the given month name: "Diciembre" for "Enero" and for
// any text that is not a month name (the comparison is exact, case
// included). septiembre is how the month before "Octubre" is written: the
// departmental report asks its procedure for "septiembre" in lower case.
QString mes_anterior(const QString& mes, const QString& septiembre = QStringLiteral("Septiembre"));

} // namespace velmora
