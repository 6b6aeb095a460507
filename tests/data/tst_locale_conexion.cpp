// SPDX-License-Identifier: GPL-3.0-or-later
// The connection sets the process's locale once, never again on a later
// connect or reconnect, while other threads (the watch, Qt's own) may be
// reading it. Every setlocale call of this program is counted here.

#include "data/conexion.h"
#include "soporte/soporte.h"

#include <QtTest>

#include <atomic>
#include <clocale>
#include <dlfcn.h>

namespace {

std::atomic<int> cambios{0};

} // namespace

// Takes the place of the C library's setlocale in this program; counts the
// calls that change the locale and passes every call on.
extern "C" char* setlocale(int categoria, const char* locale) noexcept
{
    using Funcion = char* (*)(int, const char*);
    static const auto original = reinterpret_cast<Funcion>(dlsym(RTLD_NEXT, "setlocale"));
    if (locale)
        ++cambios;
    return original(categoria, locale);
}

using namespace velmora;

class TstLocaleConexion final : public QObject {
    Q_OBJECT
private slots:
    void una_sola_vez();
};

void TstLocaleConexion::una_sola_vez()
{
    BasePrueba base;
    base.abrir();
    QVERIFY(Conexion().abierta());
    const int antes = cambios.load();
    for (int vez = 0; vez < 3; ++vez) {
        Conexion().cerrar();
        base.abrir();
    }
    QCOMPARE(cambios.load(), antes);
    Conexion().cerrar();
}

QTEST_GUILESS_MAIN(TstLocaleConexion)
#include "tst_locale_conexion.moc"
