#pragma once

#include "ui/mensajes.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>

using namespace velmora;

class QWidget;

// A private copy of a database file with its own conexion.dsn.
class BasePrueba final {
public:
    // Copies the demo database (or the given file) into a temporary folder.
    explicit BasePrueba(const QString& plantilla = ruta_base_demo());
    static QString ruta_base_demo();

    QString archivo() const { return archivo_; }
    QString dsn() const { return dsn_; }
    // Opens Conexion() on this copy.
    void abrir() const;

private:
    QTemporaryDir carpeta_;
    QString archivo_;
    QString dsn_;
};

// Writes the data source of an SQLite file with scripts/escribir_origen.sh,
// the writer of the program's own set-up.
void escribir_origen(const QString& dsn, const QString& base);

// Records every message the program shows while it lives.
class RegistroMensajes final {
public:
    struct Mensaje {
        QString texto;
        QString titulo;
        IconoMensaje icono;
    };
    RegistroMensajes();
    ~RegistroMensajes();
    RegistroMensajes(const RegistroMensajes&) = delete;
    RegistroMensajes& operator=(const RegistroMensajes&) = delete;

    QList<Mensaje> mensajes;
    QStringList textos() const;
    // Questions asked meanwhile, each answered with `respuesta`.
    QStringList preguntas;
    bool respuesta = true;
    void limpiar() { mensajes.clear(); }

private:
    Mensajero anterior_;
    Preguntador pregunta_anterior_;
};

// Writes a picture of the window into build/screenshots/<nombre>.png.
void guardar_captura(QWidget* ventana, const QString& nombre);

// The data source file of the PostgreSQL server started by the test script,
// empty when there is none.
QString dsn_postgres();

// The test server's data source pointing at the database `base`, written as
// <carpeta>/<base>.dsn.
QString escribir_dsn_postgres(const QString& carpeta, const QString& base);

// A database of its own on the test server, copied from the loaded one and
// dropped at the end. Needs dsn_postgres().
class BasePostgres final {
public:
    explicit BasePostgres(const QString& nombre);
    ~BasePostgres();
    BasePostgres(const BasePostgres&) = delete;
    BasePostgres& operator=(const BasePostgres&) = delete;

    QString dsn() const { return dsn_; }

private:
    QTemporaryDir carpeta_;
    QString nombre_;
    QString mantenimiento_;
    QString dsn_;
};

// An indicator's year as Consulta_modificar returns it through Conexion(),
// one "value|target|baseline|id" line per month.
QStringList meses_guardados(const QString& indicador, const QString& anio);

// The settings file the program writes in this test process (a temporary
// folder of its own, set before any test runs).
QString carpeta_configuracion();

// The default locale set for one test, and the previous one put back.
class LocalePrueba final {
public:
    explicit LocalePrueba(const QString& nombre) : anterior_(QLocale()) { QLocale::setDefault(QLocale(nombre)); }
    ~LocalePrueba() { QLocale::setDefault(anterior_); }
    LocalePrueba(const LocalePrueba&) = delete;
    LocalePrueba& operator=(const LocalePrueba&) = delete;

private:
    QLocale anterior_;
};
