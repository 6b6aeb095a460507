// SPDX-License-Identifier: GPL-3.0-or-later
// Fills a grid of 100,000 rows by 9 columns (the size of a large export) and
// scrolls through it, printing each figure beside a baseline measured in the
// same run: the same cells in a plain std::vector<QString>, and in a
// QStandardItemModel shown by a QTableView (an item object per cell).
#include "ui/grid/grilla.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>

#include <algorithm>
#include <optional>
#include <cstdio>
#include <vector>

using namespace velmora;

namespace {

constexpr int kFilas = 100'000;
constexpr int kColumnas = 9;

QString celda(int f, int c)
{
    static const QStringList meses = {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio",
                                      "Agosto", "Septiembre", "Octubre", "Noviembre", "Diciembre"};
    switch (c) {
    case 0: return QString::number(2005 + f % 22) + QStringLiteral("       ");
    case 1: return meses[f % 12] + QStringLiteral("       ");
    case 2: return QStringLiteral("Indicador de prueba %1       ").arg(f % 4000);
    case 3: return QStringLiteral("Principal             ");
    case 4: return QStringLiteral("Creciente             ");
    case 5: return QStringLiteral("%                ");
    default: return QString::number((f * 7 + c) % 1000) + QStringLiteral(",5       ");
    }
}

long rss_kb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> partes = f.readAll().split(' ');
    return partes.size() > 1 ? partes[1].toLong() * 4 : 0;
}

struct Marcos {
    double media_ms = 0;
    double peor_ms = 0;
};

// Renders the viewport at many scroll positions, as a user dragging the bar would.
template <class Vista>
Marcos desplazar(Vista& vista)
{
    QImage imagen(vista.size(), QImage::Format_ARGB32_Premultiplied);
    QScrollBar* barra = vista.verticalScrollBar();
    const int pasos = 300;
    std::vector<double> tiempos;
    for (int i = 0; i < pasos; ++i) {
        barra->setValue(int(qint64(barra->maximum()) * ((i * 7919) % pasos) / pasos));
        QElapsedTimer t;
        t.start();
        vista.render(&imagen);
        tiempos.push_back(t.nsecsElapsed() / 1e6);
    }
    Marcos m;
    for (double x : tiempos)
        m.media_ms += x / pasos;
    m.peor_ms = *std::max_element(tiempos.begin(), tiempos.end());
    return m;
}

} // namespace

// Memory of one way of holding the cells, measured in a process of its own
// so that no memory freed by another measurement is reused.
long memoria_en_proceso_propio(const char* modo)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memoria"), QString::fromLatin1(modo)});
    p.waitForFinished(-1);
    return p.readAllStandardOutput().trimmed().toLong();
}

int medir_memoria(const QString& modo)
{
    const long antes = rss_kb();
    std::vector<QString> plano;
    Grilla grilla;
    QStandardItemModel estandar(0, kColumnas);
    if (modo == QLatin1String("vector")) {
        plano.resize(size_t(kFilas) * kColumnas);
        for (int f = 0; f < kFilas; ++f)
            for (int c = 0; c < kColumnas; ++c)
                plano[size_t(f) * kColumnas + c] = celda(f, c);
    } else if (modo == QLatin1String("grilla")) {
        ModeloGrilla* m = grilla.modelo();
        m->setCols(kColumnas);
        ModeloGrilla::Lote lote(*m);
        for (int f = 0; f < kFilas; ++f) {
            m->AddItem(celda(f, 0));
            for (int c = 1; c < kColumnas; ++c)
                m->setTextMatrix(f + 2, c, celda(f, c));
        }
    } else {
        estandar.setRowCount(kFilas / 10);
        for (int f = 0; f < kFilas / 10; ++f)
            for (int c = 0; c < kColumnas; ++c)
                estandar.setItem(f, c, new QStandardItem(celda(f, c)));
    }
    std::printf("%ld\n", rss_kb() - antes);
    return 0;
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--memoria")
        return medir_memoria(QString::fromLatin1(argv[2]));

    // Baseline 1: the bare cells in a vector.
    QElapsedTimer t;
    t.start();
    std::vector<QString> vector_plano(size_t(kFilas) * kColumnas);
    for (int f = 0; f < kFilas; ++f)
        for (int c = 0; c < kColumnas; ++c)
            vector_plano[size_t(f) * kColumnas + c] = celda(f, c);
    const double ms_vector = t.nsecsElapsed() / 1e6;
    const long kb_vector = memoria_en_proceso_propio("vector");

    // The grid, filled the way the export fills it: AddItem, then the cells;
    // first with a notice per change, then inside one Lote.
    auto llenar = [](Grilla& g, bool en_lote) {
        ModeloGrilla* m = g.modelo();
        m->setCols(kColumnas);
        m->setFixedCols(0);
        std::optional<ModeloGrilla::Lote> lote;
        if (en_lote)
            lote.emplace(*m);
        for (int f = 0; f < kFilas; ++f) {
            m->AddItem(celda(f, 0));
            for (int c = 1; c < kColumnas; ++c)
                m->setTextMatrix(f + 2, c, celda(f, c));
        }
    };
    double ms_avisos = 0;
    {
        Grilla g;
        g.resize(900, 600);
        g.show();
        t.start();
        llenar(g, false);
        ms_avisos = t.nsecsElapsed() / 1e6;
    }
    Grilla grilla;
    grilla.resize(900, 600);
    grilla.show();
    t.start();
    llenar(grilla, true);
    const double ms_grilla = t.nsecsElapsed() / 1e6;
    const long kb_grilla = memoria_en_proceso_propio("grilla");
    const double kb_texto = grilla.modelo()->caracteres() * 2 / 1024.0;

    // Baseline 2: a standard item model and table view.
    QStandardItemModel estandar(0, kColumnas);
    QTableView tabla;
    tabla.setModel(&estandar);
    tabla.resize(900, 600);
    tabla.show();
    t.start();
    // Item objects are so slow to create that a tenth of the rows is enough to show it.
    estandar.setRowCount(kFilas / 10);
    for (int f = 0; f < kFilas / 10; ++f)
        for (int c = 0; c < kColumnas; ++c)
            estandar.setItem(f, c, new QStandardItem(celda(f, c)));
    const double ms_estandar = t.nsecsElapsed() / 1e6;
    const long kb_estandar = memoria_en_proceso_propio("estandar");

    const Marcos marcos_grilla = desplazar(grilla);
    const Marcos marcos_tabla = desplazar(tabla);

    std::printf("Grid of %d rows x %d columns\n\n", kFilas, kColumnas);
    std::printf("%-34s %12s %14s\n", "", "fill (ms)", "memory (KiB)");
    std::printf("%-34s %12.1f %14ld\n", "std::vector<QString> (baseline)", ms_vector, kb_vector);
    std::printf("%-34s %12.1f %14s\n", "Grilla, a notice per change", ms_avisos, "");
    std::printf("%-34s %12.1f %14ld\n", "Grilla, one Lote", ms_grilla, kb_grilla);
    std::printf("%-34s %12.1f %14ld\n", "QStandardItemModel, 10,000 rows", ms_estandar, kb_estandar);
    std::printf("  text held by the grid: %.0f KiB of characters\n\n", kb_texto);
    std::printf("%-34s %12s %14s\n", "scroll, 300 jumps", "mean (ms)", "worst (ms)");
    std::printf("%-34s %12.2f %14.2f\n", "Grilla", marcos_grilla.media_ms, marcos_grilla.peor_ms);
    std::printf("%-34s %12.2f %14.2f\n", "QTableView (baseline)", marcos_tabla.media_ms, marcos_tabla.peor_ms);
    return 0;
}
