// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

class Grilla;
class ModeloGrilla;

// What tells the principal and the departmental status reports apart; the
// press of "Ver" is one and the same for both.
struct FormaReporte {
    QString procedimiento;       // "Reporte_Principal" / "Reporte_Departamentos"
    QString tipo;                // indicator-type code, the last argument
    QList<int> anchos;           // status grid widths in twips, from column 0
    int ancho_meta = 15;         // characters kept of the target
    QString titulo_anio_anterior; // heading of the work grid's last column
    QString septiembre;          // the month before "Octubre", as sent
};

// What the report on screen was fetched for, set by a "Ver" that ended
// well: the choices printing names (list text, year and month, as chosen),
// and the work grid column its trend pictures compared with (0: none).
struct ReporteMostrado {
    QStringList seleccion;
    int columna_comparada = 0;
};

const FormaReporte& forma_principal();
const FormaReporte& forma_departamental();

// Load step of both grids: shape, widths, headings and the least row
// height that fits an icon. The work grid is never shown. The pictures'
// tooltips read `mostrado`, which must outlive the grids' use.
void preparar_grillas(Grilla& estado, ModeloGrilla& trabajo, const FormaReporte& forma,
                      const ReporteMostrado& mostrado);

// "Ver": checks the three texts, clears both grids, fills them from the
// chosen period, the month before and the previous year's fourth quarter,
// then sets the status and trend icons. Each distinct command runs once.
void ver_reporte(const FormaReporte& forma, const QString& lista, const QString& anio,
                 const QString& mes, ModeloGrilla& estado, ModeloGrilla& trabajo, ReporteMostrado& mostrado);

} // namespace velmora
