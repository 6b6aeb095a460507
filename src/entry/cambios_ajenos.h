// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace velmora {

// One record as a screen fetched it, to be saved over.
struct RegistroLeido {
    QString mes; // the month's name (or quarter), as the message names it
    QString id;
    QString valor, meta, base;
    // What the record was a record of: an id deleted and given again (by an
    // older database) must not pass for the fetched record.
    QString indicador, anio;
};

// Reads each record again, inside the caller's store transaction (locked
// where the engine can), and compares it with what the screen fetched: the
// same indicator, year and month, and the same numbers. The
// refusal naming every month someone else changed and its values now, or an
// empty text when nothing changed. `boton` is the caption that fetches again.
QString cambios_ajenos(const QList<RegistroLeido>& leidos, const QString& boton);

} // namespace velmora
