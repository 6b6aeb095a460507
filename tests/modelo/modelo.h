// SPDX-License-Identifier: GPL-3.0-or-later
// The scorecard as the random test expects it to be: indicators, their
// departments, every record's three numbers, what each deletion left for a
// restore, and what each user's screens fetched. Every operation's outcome and
// every report and trend picture are worked out here from the rules' own
// definitions, written apart from the program's code.
#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

namespace modelo {

using Num = std::optional<double>;

// The same number, bit for bit (both empty, or both the same double).
bool mismos_bits(const Num& a, const Num& b);
QString mostrar(const Num& n);

struct Registro {
    Num valor, meta, base;
    bool operator==(const Registro& o) const
    {
        return mismos_bits(valor, o.valor) && mismos_bits(meta, o.meta) && mismos_bits(base, o.base);
    }
};

// indicator, department (0 for a principal one), year, month
using Clave = std::tuple<QString, int, int, int>;

struct Indicador {
    int tipo = 1; // 1 principal, 2 departmental
    std::optional<int> perspectiva;
    int desempeno = 1;
    int unidad = 1;
    std::set<int> departamentos;
    long orden = 0;      // creation order: the lists and reports follow it
    int generacion = 0;  // a new one at each creation or restore: new record ids
    bool operator==(const Indicador& o) const
    {
        return tipo == o.tipo && perspectiva == o.perspectiva && desempeno == o.desempeno && unidad == o.unidad
            && departamentos == o.departamentos;
    }
};

// What a deletion left: the indicator and every number of its records.
struct Borrado {
    Indicador indicador;
    std::map<std::tuple<int, int, int>, Registro> numeros; // department, year, month
};

// The lookups, as the database has them (read once at the start).
struct Catalogo {
    std::map<int, QString> perspectivas, departamentos, desempenos, unidades;
    std::vector<int> anios;
};

// A typed text as a number: empty, a number, or refused.
struct Lectura {
    enum Tipo { Vacio, Numero, Invalido } tipo = Vacio;
    double numero = 0;
};
// The rule of the stores, written here on its own: blanks around, a sign,
// digits with one decimal point or comma, an optional exponent; refused: a
// thousands look ("1.000", "12,500"), what a double cannot hold.
Lectura leer(const QString& texto);
// A number as a cell shows it, read plainly (comma or point).
std::optional<double> leer_mostrado(const QString& texto);
// The shortest text that reads back as v ("%g" form, a point).
QString texto_corto(double v);

// The rules behind the pictures, on the decimals the screens show (the
// shortest text that reads back as the stored double), exactly.
QString estado(const Num& V, const Num& M, const Num& B);
QString tendencia(const Num& V, const Num& C);

// One cell of a user's Modificar grid: as fetched, or as typed.
struct Celda {
    bool tecleada = false;
    Num leido;
    QString texto;
};

struct VistaModificar {
    bool hay = false;
    QString indicador;
    int anio = 0, departamento = 0, generacion = 0;
    std::vector<Registro> leidos;            // per month, what the save compares with
    std::vector<std::vector<Celda>> celdas;  // [fila 0..2: Valor, Meta, Nivel Base][mes 0..11]
};

struct VistaKpi {
    bool hay = false;
    QString indicador;
    int anio = 0, mes = 0, departamento = 0, generacion = 0;
    Registro leido;
};

struct Usuario {
    VistaModificar modificar;
    VistaKpi kpi;
};

// What became of a press.
enum class Desenlace { Guardado, Ajeno, Rechazado, SinConsulta, Faltan };
QString nombre(Desenlace r);

struct Fila {
    QString indicador;
    Num meta, valor, base, comparado; // comparado: what the trend compares with
    QString estado, tendencia;
};

// A number whose text does not fit a 15-character cell.
bool largo(const Num& n);

struct Modelo {
    Catalogo catalogo;
    std::map<QString, Indicador> indicadores;
    std::map<Clave, Registro> registros;
    std::map<QString, Borrado> borrados;
    std::set<QString> en_historial; // names the history lists
    std::vector<Usuario> usuarios;
    long siguiente_orden = 1;
    int siguiente_generacion = 1;

    bool existe(const QString& n) const { return indicadores.count(n) > 0; }
    Registro registro(const QString& n, int d, int a, int m) const;
    // The series of an indicator: department 0, or each department.
    std::vector<int> series(const Indicador& i) const;
    std::vector<QString> por_orden(int tipo) const;

    Desenlace crear(const QString& n, int tipo);
    Desenlace eliminar(const QString& n);
    Desenlace restaurar(const QString& n);
    void consultar_modificar(int u, const QString& n, int anio);
    Desenlace guardar_modificar(int u, const std::vector<std::tuple<int, int, QString>>& tecleo);
    void consultar_kpi(int u, const QString& n, int anio, int mes, int departamento);
    Desenlace guardar_kpi(int u, const QString& valor, const QString& meta, const QString& base);
    Desenlace nuevo_registro(const QString& n, int anio, int mes, int desempeno, int perspectiva, int unidad,
                             const QString& base, const QString& meta, const QString& valor);

    std::vector<Fila> reporte(bool principal, int lista, int anio, int mes) const;
    // Rows: meta, valor, estado, tendencia per month; the baselines.
    std::vector<Fila> tendencia_anual(const QString& n, int departamento, int anio) const;

private:
    void dar_registros(const QString& n, const Indicador& i);
};

} // namespace modelo
