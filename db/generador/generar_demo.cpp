// SPDX-License-Identifier: GPL-3.0-or-later
// generar_demo: writes the demo data of the scorecard database as SQL, the
// same rows for SQLite and PostgreSQL, on standard output.
//
//   generar_demo [--motor sqlite|postgresql] [--indicadores N] [--años N]
//
// Without a size it writes the demo catalogue (20 principal and 12
// departmental indicators in five departments) with monthly values for
// 2008, 2009 and 2024 to 2026. --indicadores adds synthetic indicators after
// the catalogue up to N; --años gives values to the last N years up to 2026.
// Every indicator has a record per month of every year of the year table
// (the schema's triggers create them), so 4000 indicators make about a
// million records.
//
// The output holds no transaction statements: the loading scripts wrap it.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

enum Direccion { Creciente = 1, Decreciente = 2 };
enum Unidad { Porcentaje = 1, Horas = 2, Numero = 3, Dias = 4, Dinero = 5, Minutos = 6 };

struct Modelo {
    const char* nombre;
    int perspectiva;              // 1..4 for a principal indicator, 0 otherwise
    std::vector<int> departamentos; // departmental indicators
    Direccion direccion;
    Unidad unidad;
    double base;
    double meta;
    int decimales;
};

const char* const kDepartamentos[] = {"Ventas", "Producción", "Finanzas", "Recursos Humanos",
                                      "Logística"};

const std::vector<Modelo>& catalogo()
{
    static const std::vector<Modelo> c = {
        // Financiero
        {"Margen operativo", 1, {}, Creciente, Porcentaje, 8, 15, 1},
        {"Ingresos por ventas", 1, {}, Creciente, Dinero, 850000, 1000000, 0},
        {"Costo por unidad producida", 1, {}, Decreciente, Dinero, 42.5, 36, 2},
        {"Rotación de cartera", 1, {}, Decreciente, Dias, 60, 45, 0},
        {"Rentabilidad sobre activos", 1, {}, Creciente, Porcentaje, 4, 7, 1},
        // Clientes
        {"Satisfacción del cliente", 2, {}, Creciente, Porcentaje, 70, 90, 1},
        {"Reclamos recibidos", 2, {}, Decreciente, Numero, 40, 15, 0},
        {"Tiempo de respuesta a reclamos", 2, {}, Decreciente, Horas, 48, 24, 1},
        {"Clientes nuevos", 2, {}, Creciente, Numero, 20, 45, 0},
        {"Retención de clientes", 2, {}, Creciente, Porcentaje, 80, 92, 1},
        {"Tiempo de espera en caja", 2, {}, Decreciente, Minutos, 12, 5, 1},
        // Procesos Internos
        {"Entregas a tiempo", 3, {}, Creciente, Porcentaje, 85, 97, 1},
        {"Tiempo de ciclo de producción", 3, {}, Decreciente, Horas, 36, 28, 1},
        {"Productos defectuosos", 3, {}, Decreciente, Porcentaje, 4, 1.5, 2},
        {"Disponibilidad de equipos", 3, {}, Creciente, Porcentaje, 98, 98, 1},
        {"Tiempo medio de reparación", 3, {}, Decreciente, Minutos, 90, 45, 0},
        // Capital Intangible
        {"Horas de capacitación por empleado", 4, {}, Creciente, Horas, 2, 6, 1},
        {"Rotación de personal", 4, {}, Decreciente, Porcentaje, 12, 6, 1},
        {"Clima laboral", 4, {}, Creciente, Porcentaje, 65, 85, 1},
        {"Proyectos de mejora implementados", 4, {}, Creciente, Numero, 1, 5, 0},
        // Departmental
        {"Cumplimiento de cuota de ventas", 0, {1}, Creciente, Porcentaje, 70, 100, 1},
        {"Visitas a clientes", 0, {1}, Creciente, Numero, 80, 120, 0},
        {"Unidades producidas", 0, {2}, Creciente, Numero, 9000, 12000, 0},
        {"Paradas no programadas", 0, {2}, Decreciente, Horas, 12, 2, 1},
        {"Días de cierre contable", 0, {3}, Decreciente, Dias, 10, 5, 0},
        {"Pagos a proveedores a tiempo", 0, {3}, Creciente, Porcentaje, 80, 98, 1},
        {"Tiempo de contratación", 0, {4}, Decreciente, Dias, 45, 25, 0},
        {"Empleados capacitados", 0, {4}, Creciente, Porcentaje, 50, 90, 1},
        {"Costo de flete por pedido", 0, {5}, Decreciente, Dinero, 18.5, 14, 2},
        {"Pedidos despachados el mismo día", 0, {5}, Creciente, Porcentaje, 75, 95, 1},
        {"Tiempo de carga por camión", 0, {5}, Decreciente, Minutos, 50, 30, 0},
        {"Ausentismo", 0, {1, 2, 4}, Decreciente, Porcentaje, 6, 2.5, 1},
    };
    return c;
}

// Months left without a value (the record keeps its target and baseline),
// and one month with no number at all.
struct Hueco {
    const char* indicador;
    int departamento;
    int anio;
    int mes;
    bool todo;
};
const Hueco kHuecos[] = {
    {"Satisfacción del cliente", 0, 2025, 3, false},
    {"Clientes nuevos", 0, 2026, 2, false},
    {"Visitas a clientes", 1, 2025, 7, false},
    {"Horas de capacitación por empleado", 0, 2024, 8, true},
};

// splitmix64: the same numbers on every platform.
struct Azar {
    std::uint64_t estado;
    std::uint64_t siguiente()
    {
        std::uint64_t z = (estado += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [a, b).
    double entre(double a, double b)
    {
        return a + (b - a) * static_cast<double>(siguiente() >> 11) / 9007199254740992.0;
    }
};

std::string numero(double v, int decimales)
{
    char texto[64];
    std::snprintf(texto, sizeof texto, "%.*f", decimales, v);
    if (std::strcmp(texto, "-0") == 0 || std::strspn(texto, "-0.") == std::strlen(texto))
        return "0";
    return texto;
}

std::string literal(const std::string& s)
{
    std::string r = "'";
    for (char c : s) {
        r += c;
        if (c == '\'')
            r += '\'';
    }
    return r + "'";
}

struct Indicador {
    int id;
    std::string nombre;
    const Modelo* modelo;
    int perspectiva;
    std::vector<int> departamentos;
};

void uso()
{
    std::fprintf(stderr,
                 "uso: generar_demo [--motor sqlite|postgresql] [--indicadores N] [--años N]\n");
    std::exit(2);
}

} // namespace

int main(int argc, char** argv)
{
    bool postgres = false;
    long total = -1;
    long anios = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hay_valor = i + 1 < argc;
        if (a == "--motor" && hay_valor) {
            const std::string m = argv[++i];
            if (m == "postgresql" || m == "postgres")
                postgres = true;
            else if (m != "sqlite")
                uso();
        } else if (a == "--indicadores" && hay_valor) {
            total = std::strtol(argv[++i], nullptr, 10);
        } else if ((a == "--años" || a == "--anios") && hay_valor) {
            anios = std::strtol(argv[++i], nullptr, 10);
            if (anios < 0 || anios > 22)
                uso();
        } else {
            uso();
        }
    }

    const auto& modelos = catalogo();
    if (total < 0)
        total = static_cast<long>(modelos.size());
    std::vector<int> con_valores;
    if (anios < 0)
        con_valores = {2008, 2009, 2024, 2025, 2026};
    else
        for (long a = 2026 - anios + 1; a <= 2026; ++a)
            con_valores.push_back(static_cast<int>(a));

    // The catalogue first, then synthetic indicators that borrow a model and
    // spread over the perspectives and departments.
    std::vector<Indicador> indicadores;
    for (long i = 0; i < total; ++i) {
        const Modelo& m = modelos[static_cast<size_t>(i) % modelos.size()];
        Indicador ind{static_cast<int>(i + 1), m.nombre, &m, m.perspectiva, m.departamentos};
        if (i >= static_cast<long>(modelos.size())) {
            char nombre[100];
            std::snprintf(nombre, sizeof nombre, "%s %05ld", m.nombre, i + 1);
            ind.nombre = nombre;
            if (i % 5 < 3) {
                ind.perspectiva = static_cast<int>(i % 4) + 1;
                ind.departamentos.clear();
            } else {
                ind.perspectiva = 0;
                ind.departamentos = {static_cast<int>(i % 5) + 1};
            }
        }
        indicadores.push_back(std::move(ind));
    }

    std::printf("-- SPDX-License-Identifier: GPL-3.0-or-later\n");
    std::printf("-- Demo data written by generar_demo (db/generador); do not edit by hand.\n");
    std::printf("INSERT INTO Departamentos (id, \"Departamento\") VALUES\n");
    for (size_t d = 0; d < std::size(kDepartamentos); ++d)
        std::printf("    (%zu, %s)%s\n", d + 1, literal(kDepartamentos[d]).c_str(),
                    d + 1 < std::size(kDepartamentos) ? "," : ";");

    // Inserting an indicator or a department link creates its records.
    for (size_t i = 0; i < indicadores.size(); i += 200) {
        std::printf("INSERT INTO indicador (id, nombre, id_tipo, id_perspectiva, id_desempeno, "
                    "id_unidad) VALUES\n");
        for (size_t j = i; j < std::min(indicadores.size(), i + 200); ++j) {
            const Indicador& ind = indicadores[j];
            const bool principal = ind.perspectiva != 0;
            std::printf("    (%d, %s, %d, %s, %d, %d)%s\n", ind.id, literal(ind.nombre).c_str(),
                        principal ? 1 : 2,
                        principal ? std::to_string(ind.perspectiva).c_str() : "NULL",
                        ind.modelo->direccion, ind.modelo->unidad,
                        j + 1 < std::min(indicadores.size(), i + 200) ? "," : ";");
        }
    }
    std::vector<std::pair<int, int>> enlaces;
    for (const Indicador& ind : indicadores)
        for (int d : ind.departamentos)
            enlaces.emplace_back(ind.id, d);
    for (size_t i = 0; i < enlaces.size(); i += 500) {
        std::printf("INSERT INTO indicador_departamento (id_indicador, id_departamento) VALUES\n");
        const size_t fin = std::min(enlaces.size(), i + 500);
        for (size_t j = i; j < fin; ++j)
            std::printf("    (%d, %d)%s\n", enlaces[j].first, enlaces[j].second,
                        j + 1 < fin ? "," : ";");
    }
    if (postgres)
        std::printf("SELECT setval(pg_get_serial_sequence('indicador', 'id'), "
                    "(SELECT max(id) FROM indicador));\n");

    // Values: a walk of the share of the way from baseline to target, so
    // months fall in every status band and move up and down by various steps.
    const char* real = postgres ? "double precision" : "REAL";
    std::printf("CREATE TEMP TABLE carga (id_indicador INTEGER, id_departamento INTEGER, "
                "id_anio INTEGER, mes INTEGER, valor %s, meta %s, linea_base %s, "
                "PRIMARY KEY (id_indicador, id_departamento, id_anio, mes));\n",
                real, real, real);
    long filas = 0;
    auto fila = [&](const std::string& texto) {
        if (filas % 500 == 0)
            std::printf("%sINSERT INTO carga VALUES\n", filas ? ";\n" : "");
        else
            std::printf(",\n");
        std::printf("    %s", texto.c_str());
        ++filas;
    };
    for (const Indicador& ind : indicadores) {
        const Modelo& m = *ind.modelo;
        std::vector<int> series = ind.departamentos;
        if (series.empty())
            series = {0};
        for (int dep : series) {
            Azar azar{static_cast<std::uint64_t>(ind.id) * 1000003ULL + static_cast<unsigned>(dep)};
            double avance = azar.entre(0.2, 1.0);
            for (int anio : con_valores) {
                for (int mes = 1; mes <= 12; ++mes) {
                    // Mean-reverting steps, now and then a jump.
                    double paso = azar.entre(-0.3, 0.3) + 0.25 * (0.8 - avance);
                    if (azar.entre(0, 1) < 0.12)
                        paso += azar.entre(-0.9, 0.9);
                    avance = std::fmin(1.5, std::fmax(-0.4, avance + paso));
                    double valor;
                    if (m.meta == m.base)
                        valor = m.base + azar.entre(-3.0, 1.5);
                    else
                        valor = m.base + avance * (m.meta - m.base);
                    valor = std::fmax(0.0, valor);
                    if (m.unidad == Porcentaje)
                        valor = std::fmin(100.0, valor);
                    std::string v = numero(valor, m.decimales);
                    std::string meta = numero(m.meta, m.decimales);
                    std::string base = numero(m.base, m.decimales);
                    for (const Hueco& h : kHuecos) {
                        if (ind.nombre == h.indicador && dep == h.departamento && anio == h.anio
                            && mes == h.mes) {
                            v = "NULL";
                            if (h.todo)
                                meta = base = "NULL";
                        }
                    }
                    fila("(" + std::to_string(ind.id) + ", " + std::to_string(dep) + ", "
                         + std::to_string(anio - 2004) + ", " + std::to_string(mes) + ", " + v
                         + ", " + meta + ", " + base + ")");
                }
            }
        }
    }
    if (filas)
        std::printf(";\n");
    std::printf("UPDATE registro SET valor = c.valor, meta = c.meta, linea_base = c.linea_base\n"
                "    FROM carga c\n"
                "    WHERE registro.id_indicador = c.id_indicador\n"
                "      AND registro.id_departamento = c.id_departamento\n"
                "      AND registro.id_anio = c.id_anio AND registro.mes = c.mes;\n");
    std::printf("DROP TABLE carga;\n");
    // Only the tables loaded here: a bare ANALYZE warns about every shared
    // catalog when the loading role is not a superuser.
    if (postgres)
        std::printf("ANALYZE departamentos, indicador, indicador_departamento, registro;\n");
    else
        std::printf("ANALYZE;\n");
    return 0;
}
