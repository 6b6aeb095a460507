// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/terminar.h"
#include "app/ventanas.h"
#include "data/conexion.h"
#include "soporte/pantallas.h"
#include "soporte/soporte.h"
#include "ui/registro_ventanas.h"

#include <QAbstractButton>
#include <QStringList>
#include <QtTest>

using namespace velmora;

// Every window the program registers.
inline const QStringList TODAS_LAS_VENTANAS = {
    QStringLiteral("FET049TF"),    QStringLiteral("Principal"),       QStringLiteral("Principalgeneral"),
    QStringLiteral("Reportes"),    QStringLiteral("Menu_Nuevo"),      QStringLiteral("Nuevo"),
    QStringLiteral("Eliminar"),    QStringLiteral("Modificar"),       QStringLiteral("Principales"),
    QStringLiteral("Departamentales"), QStringLiteral("Tendencia_y_Desempeño"), QStringLiteral("Exportar"),
    QStringLiteral("Nuevo_Registro"), QStringLiteral("KPI"),       QStringLiteral("Historial"),
};

// The registered windows with a real database behind them (screens load
// their lists when they are created), a record of every message, and a
// count of the times the program was ended instead of really ending it.
class EscenarioVentanas final {
public:
    EscenarioVentanas()
    {
        base_.abrir();
        registrar_ventanas();
        anterior_ = establecer_terminador([this] { ++terminado; });
    }
    ~EscenarioVentanas()
    {
        RegistroVentanas::instancia().descargar_todas();
        establecer_terminador(anterior_);
        Conexion().cerrar();
    }
    EscenarioVentanas(const EscenarioVentanas&) = delete;
    EscenarioVentanas& operator=(const EscenarioVentanas&) = delete;

    static RegistroVentanas& registro() { return RegistroVentanas::instancia(); }

    // The named control of a loaded window.
    template <typename T = QAbstractButton>
    static T* control(const QString& ventana, const QString& nombre)
    {
        QWidget* v = registro().ventana(ventana);
        if (!v)
            qFatal("window %s not loaded", qPrintable(ventana));
        return ::control<T>(v, nombre);
    }

    // The windows that are loaded now, visible or not.
    static QStringList cargadas()
    {
        QStringList nombres;
        for (const QString& n : TODAS_LAS_VENTANAS)
            if (registro().ventana(n))
                nombres << n;
        return nombres;
    }

    static QStringList visibles()
    {
        QStringList nombres;
        for (const QString& n : TODAS_LAS_VENTANAS)
            if (QWidget* v = registro().ventana(n); v && v->isVisible())
                nombres << n;
        return nombres;
    }

    RegistroMensajes mensajes;
    int terminado = 0;

private:
    BasePrueba base_;
    Terminador anterior_;
};
