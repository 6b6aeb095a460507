// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/reporte_estado.h"

#include "data/comandos.h"
#include "data/conexion.h"
#include "data/textos.h"
#include "reglas/bandas.h"
#include "reglas/campos.h"
#include "reglas/mes_anterior.h"
#include "ui/grid/grilla.h"
#include "ui/leyenda.h"
#include "ui/mensajes.h"
#include "ui/twips.h"

#include <map>
#include <vector>

namespace velmora {

namespace {

// Indicator rows the grids hold before a report needs more.
constexpr int kFilasIndicador = 41;

// Height of the tallest trend picture's holder; rows get 2 pixels more.
constexpr int kAltoIcono = 435;

// Status grid columns.
enum { kIndicador, kMeta, kValor, kDesempeno, kTendencia };
// Work grid columns.
enum { kBase, kDireccion, kMes, kValorMes, kValorAnioAnterior };

struct FilaReporte {
    QString indicador, meta, valor, base, desempeno;
};
using Filas = std::vector<FilaReporte>;

// The rows of each command text of one press, walked once. A text asked for
// again is answered from the first walk, so every column it feeds comes
// from the same rows.
class Consultas final {
public:
    const Filas& filas(const QString& comando)
    {
        if (auto it = hechas_.find(comando); it != hechas_.end())
            return it->second;
        Filas filas;
        Resultado r = Conexion().ejecutar(comando);
        // Each field found by its name once per result, not once per row.
        const int indicador = r.indice(CAMPO_INDICADOR);
        const int meta = r.indice(CAMPO_META);
        const int valor = r.indice(CAMPO_VALOR);
        const int base = r.indice(CAMPO_NIVEL_BASE);
        const int id_desempeno = r.indice(CAMPO_ID_DESEMPENO);
        for (; !r.eof(); r.siguiente())
            filas.push_back({r.texto(indicador), r.texto(meta), r.texto(valor), r.texto(base), r.texto(id_desempeno)});
        return hechas_.emplace(comando, std::move(filas)).first->second;
    }

private:
    std::map<QString, Filas> hechas_;
};

void dar_filas(ModeloGrilla& estado, ModeloGrilla& trabajo, int indicadores)
{
    estado.setRows(indicadores + 1);
    trabajo.setRows(indicadores + 1);
}

void limpiar(ModeloGrilla& estado, ModeloGrilla& trabajo)
{
    // A long report grew the grids; the next one starts from their own size.
    dar_filas(estado, trabajo, kFilasIndicador);
    for (int r = 1; r <= kFilasIndicador; ++r) {
        for (int c = 0; c < trabajo.Cols(); ++c)
            trabajo.setTextMatrix(r, c, QString());
        for (int c : {kIndicador, kMeta, kValor})
            estado.setTextMatrix(r, c, QString());
        estado.setCellPicture(r, kDesempeno, QStringLiteral("Blanco"));
        estado.setCellPicture(r, kTendencia, QStringLiteral("Blanco"));
    }
}

// Field "Valor" of each row into one work grid column; rows past the grid
// match no indicator of the report.
void poner_valores(const Filas& filas, ModeloGrilla& trabajo, int columna)
{
    const int n = qMin(int(filas.size()), trabajo.Rows() - 1);
    for (int i = 0; i < n; ++i)
        trabajo.setTextMatrix(i + 1, columna, texto_celda(filas[size_t(i)].valor, 15));
}

// The procedure call for one list text (perspective or department), year
// and period.
QString comando_reporte(const FormaReporte& forma, const QString& lista, const QString& anio,
                        const QString& periodo)
{
    return comando_exec(forma.procedimiento, {lista, anio, periodo, forma.tipo});
}

} // namespace

const FormaReporte& forma_principal()
{
    static const FormaReporte forma{QStringLiteral("Reporte_Principal"), QStringLiteral("1"),
                                    {3000, 1250, 1250, 1250, 1250},      15,
                                    QStringLiteral("Valor Mes anterior"), QStringLiteral("Septiembre")};
    return forma;
}

const FormaReporte& forma_departamental()
{
    static const FormaReporte forma{QStringLiteral("Reporte_Departamentos"), QStringLiteral("2"),
                                    {3000},                               80,
                                    QStringLiteral("Valor año anterior"), QStringLiteral("septiembre")};
    return forma;
}

void preparar_grillas(Grilla& estado, ModeloGrilla& trabajo, const FormaReporte& forma,
                      const ReporteMostrado& mostrado)
{
    estado.setFixedCols(0);
    estado.setCols(5);
    estado.setFixedRows(1);
    estado.setRows(kFilasIndicador + 1);
    for (int c = 0; c < forma.anchos.size(); ++c)
        estado.setColWidth(c, forma.anchos[c]);
    trabajo.setFixedCols(0);
    trabajo.setCols(5);
    trabajo.setFixedRows(0);
    trabajo.setRows(kFilasIndicador + 1);

    const QStringList titulos = {QStringLiteral("Indicador"), QStringLiteral("Meta"), QStringLiteral("Valor"),
                                 QStringLiteral("Desempeño"), QStringLiteral("Tendencia")};
    const QStringList titulos_trabajo = {QStringLiteral("Linea Base"), QStringLiteral("Desempeño"),
                                         QStringLiteral("Mes"), QStringLiteral("Valor Mes"),
                                         forma.titulo_anio_anterior};
    for (int c = 0; c < 5; ++c) {
        estado.setTextMatrix(0, c, titulos[c]);
        trabajo.setTextMatrix(0, c, titulos_trabajo[c]);
    }
    estado.setRowHeightMin(kAltoIcono + px_a_twips(2, &estado));

    // Each picture's tooltip gives the numbers it was drawn from.
    Grilla* vista = &estado;
    ModeloGrilla* obra = &trabajo;
    const ReporteMostrado* visto = &mostrado;
    estado.setAyuda([vista, obra, visto](int fila, int columna) -> QString {
        if (fila < 1)
            return {};
        const QString mostrada = vista->modelo()->CellPicture(fila, columna);
        const QString V = vista->TextMatrix(fila, kValor);
        if (columna == kDesempeno)
            return ayuda_estado(mostrada, V, vista->TextMatrix(fila, kMeta), obra->TextMatrix(fila, kBase));
        const int comparada = visto->columna_comparada;
        if (columna == kTendencia && comparada > 0)
            return ayuda_tendencia(mostrada, V, obra->TextMatrix(fila, comparada));
        return {};
    });
}

void ver_reporte(const FormaReporte& forma, const QString& lista, const QString& anio,
                 const QString& mes, ModeloGrilla& estado, ModeloGrilla& trabajo, ReporteMostrado& mostrado)
{
    if (lista.isEmpty() || anio.isEmpty() || mes.isEmpty()) {
        mensaje(QStringLiteral("Tiene que llenar Todos los Parametros"));
        return;
    }
    // Every command runs before a cell changes: a press that fails (a lost
    // or stalled server) leaves the report shown before it, never half of
    // a new one.
    Consultas consultas;
    const Filas& filas = consultas.filas(comando_reporte(forma, lista, anio, mes));
    const int n = int(filas.size());
    const QString previo = mes_anterior(mes, forma.septiembre);
    // The month before as the work grid will hold it: none when the report
    // has no rows, and the call is made all the same.
    const Filas& del_mes_previo = consultas.filas(comando_reporte(forma, lista, anio, n > 0 ? previo : QString()));
    // A year that is not a number has no year before: January then has
    // nothing to compare with.
    const std::optional<double> y = a_numero(anio);
    const Filas* del_anio_previo =
        y ? &consultas.filas(comando_reporte(forma, lista, numero_a_texto(*y - 1), QStringLiteral("Cuarto Trimestre")))
          : nullptr;

    limpiar(estado, trabajo);
    // Printing names the choices the shown rows belong to.
    mostrado.seleccion = QStringList{lista, anio, mes};
    if (n > kFilasIndicador)
        dar_filas(estado, trabajo, n);
    for (int i = 0; i < n; ++i) {
        const FilaReporte& f = filas[size_t(i)];
        const int r = i + 1;
        estado.setTextMatrix(r, kIndicador, texto_celda(f.indicador, 80));
        estado.setTextMatrix(r, kMeta, texto_celda(f.meta, forma.ancho_meta));
        estado.setTextMatrix(r, kValor, texto_celda(f.valor, 15));
        trabajo.setTextMatrix(r, kMes, previo);
        trabajo.setTextMatrix(r, kBase, texto_celda(f.base, 15));
        trabajo.setTextMatrix(r, kDireccion, texto_celda(f.desempeno, 15));
    }

    poner_valores(del_mes_previo, trabajo, kValorMes);
    if (del_anio_previo)
        poner_valores(*del_anio_previo, trabajo, kValorAnioAnterior);

    // The icons judge the values as fetched: a cell may show a long number
    // rounded.
    for (int r = 1; r <= n; ++r) {
        const FilaReporte& f = filas[size_t(r - 1)];
        estado.setCellPicture(r, kDesempeno, icono_estado(f.valor, f.meta, f.base));
    }
    const bool enero = mes == QStringLiteral("Enero");
    // January of 2008 is compared with nothing: its trend cells stay blank.
    const bool primer_enero = enero && y && *y == 2008;
    const int comparacion = enero ? kValorAnioAnterior : kValorMes;
    mostrado.columna_comparada = primer_enero ? 0 : comparacion;
    for (int r = 1; r <= n; ++r) {
        estado.setCellPicture(r, kTendencia,
                              primer_enero ? QStringLiteral("Blanco")
                                           : icono_tendencia(filas[size_t(r - 1)].valor,
                                                             trabajo.TextMatrix(r, comparacion)));
    }
}

} // namespace velmora
