// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace medir {

// A benchmark that cannot measure what it says stops, naming the reason.
[[noreturn]] inline void fallar(const QString& que)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(que));
    std::exit(1);
}

inline double ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

inline double mediana(std::vector<double> v)
{
    if (v.empty())
        return std::nan("");
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs a program to its end (its output to `salida` if given); any failure stops the benchmark.
inline void ejecutar(const QString& programa, const QStringList& argumentos, const QString& salida = {})
{
    QProcess p;
    if (!salida.isEmpty())
        p.setStandardOutputFile(salida);
    p.start(programa, argumentos);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        fallar(programa + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAllStandardError()));
}

// Picks the item whose text, blanks aside, is `texto`.
inline void elegir(QComboBox* lista, const QString& texto)
{
    for (int i = 0; i < lista->count(); ++i) {
        if (lista->itemText(i).trimmed() == texto) {
            lista->setCurrentIndex(i);
            return;
        }
    }
    fallar(QStringLiteral("no item \"%1\" in %2").arg(texto, lista->objectName()));
}

} // namespace medir
