// SPDX-License-Identifier: GPL-3.0-or-later
// Random sequences of what people do, three users at once on one database
// (each a process with its own connection and windows): create, delete and
// restore indicators, fetch and save a year in Modificar, fetch and save a
// month in KPI, Nuevo registro, and look at the reports and the trend. After
// every step the whole database must equal the model bit for bit, a refused
// save must have left no trace, the history replayed from the start must give
// the current state, and the screens must show what the model computes. A
// failing sequence shrinks to a short one, printed with the parameters that
// repeat it.
//
// SQLite by default; VELMORA_MOTOR=postgres runs it on the test script's
// server. RC_PARAMS sets the seed and the size of the run (README).

#include "base_modelo.h"
#include "data/conexion.h"
#include "modelo.h"
#include "soporte/soporte.h"
#include "usuario.h"
#include "vistas.h"

#include <QApplication>
#include <QJsonArray>
#include <QtTest>

#include <rapidcheck.h>
#include <rapidcheck/state.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

using namespace modelo;

namespace {

constexpr int kUsuarios = 3;

std::string s(const QString& t)
{
    return t.toStdString();
}

QString q(const std::string& t)
{
    return QString::fromStdString(t);
}

const QStringList kMeses = {QStringLiteral("Enero"),      QStringLiteral("Febrero"), QStringLiteral("Marzo"),
                            QStringLiteral("Abril"),      QStringLiteral("Mayo"),    QStringLiteral("Junio"),
                            QStringLiteral("Julio"),      QStringLiteral("Agosto"),  QStringLiteral("Septiembre"),
                            QStringLiteral("Octubre"),    QStringLiteral("Noviembre"), QStringLiteral("Diciembre")};

// Names the sequences create, delete and restore, and one the demo has.
const std::vector<std::string> kNombres = {"Índice de prueba", "Mermas del año", "Quejas atendidas",
                                           "Margen operativo"};

// ---------------------------------------------------------------------------
// The system under test: the database, the three user processes, the
// parent's own connection for the checks and the report screens.

struct Sistema {
    bool postgres = false;
    std::unique_ptr<Bases> bases;
    std::vector<std::unique_ptr<ProcesoUsuario>> usuarios;
    Estado inicio;
    std::unique_ptr<Repaso> repaso;
    qint64 ultimo_historial = 0;
    long operaciones = 0;
    long secuencias = 0;
    std::map<QString, long> desenlaces; // what became of the presses that store

    void empezar()
    {
        for (auto& u : usuarios)
            if (u)
                pedir_sin_fallo(*u, {{QStringLiteral("op"), QStringLiteral("cerrar")}});
        velmora::Conexion().cerrar();
        const QString dsn = bases->nueva();
        velmora::Conexion().abrir(QStringLiteral("FILEDSN=") + dsn);
        for (int i = 0; i < kUsuarios; ++i) {
            if (!usuarios[size_t(i)])
                usuarios[size_t(i)] = std::make_unique<ProcesoUsuario>(QCoreApplication::applicationFilePath(), i + 1);
            const QJsonObject r = pedir_sin_fallo(*usuarios[size_t(i)],
                                                  {{QStringLiteral("op"), QStringLiteral("abrir")}, {QStringLiteral("dsn"), dsn}});
            if (r.contains(QStringLiteral("error")))
                throw std::runtime_error(s(r.value(QStringLiteral("error")).toString()));
        }
        inicio = leer_estado();
        repaso = std::make_unique<Repaso>(inicio);
        ultimo_historial = inicio.ultimo_historial;
        ++secuencias;
    }

    // A user process that died is started again for the next sequence.
    QJsonObject pedir_sin_fallo(ProcesoUsuario& u, const QJsonObject& o)
    {
        try {
            return u.pedir(o);
        } catch (const std::exception&) {
            for (auto& x : usuarios)
                if (x.get() == &u)
                    x.reset();
            return {};
        }
    }

    QStringList pedir(int u, const QJsonObject& o)
    {
        ++operaciones;
        QJsonObject r;
        try {
            r = usuarios[size_t(u)]->pedir(o);
        } catch (const std::exception& e) {
            usuarios[size_t(u)].reset();
            RC_FAIL(std::string("usuario ") + std::to_string(u + 1) + ": " + e.what());
        }
        if (r.contains(QStringLiteral("error")))
            RC_FAIL("usuario " + std::to_string(u + 1) + ": " + s(r.value(QStringLiteral("error")).toString()));
        QStringList m;
        for (const QJsonValue v : r.value(QStringLiteral("mensajes")).toArray())
            m << v.toString();
        return m;
    }

    // The whole database against the model, the history against the
    // database, and no history row for what was refused.
    void comprobar(const Modelo& esperado, bool cambia)
    {
        const Estado ahora = leer_estado();
        const QStringList d = diferencias(esperado, ahora);
        if (!d.isEmpty())
            RC_FAIL("la base no es el modelo:\n  " + s(d.join(QStringLiteral("\n  "))));
        if (!cambia && ahora.ultimo_historial != ultimo_historial)
            RC_FAIL("una operación rechazada dejó historial");
        ultimo_historial = ahora.ultimo_historial;
        const QStringList h = repaso->seguir(ahora);
        if (!h.isEmpty())
            RC_FAIL("el historial no da el estado actual:\n  " + s(h.join(QStringLiteral("\n  "))));
    }
};

Sistema* activo = nullptr;

// The messages a press must show for what the model says became of it.
void mensajes(const QStringList& m, Desenlace r, const QString& exito)
{
    ++activo->desenlaces[nombre(r)];
    const auto fallar = [&](const char* que) {
        RC_FAIL(std::string(que) + " (el modelo: " + s(nombre(r)) + "); mensajes: «" + s(m.join(QStringLiteral("» «")))
                + "»");
    };
    switch (r) {
    case Desenlace::Guardado:
        if (m != QStringList{exito} && !(m.size() >= 1 && m.first() == exito && exito.startsWith(QStringLiteral("Indicador Restaurado"))))
            fallar("se esperaba el aviso de éxito");
        break;
    case Desenlace::Ajeno:
        if (m.size() != 1 || !m.first().startsWith(QStringLiteral("Otro usuario cambió estos valores")))
            fallar("se esperaba el rechazo por un cambio de otro usuario");
        break;
    case Desenlace::Rechazado:
        if (m.size() != 1 || m.first() == exito || m.first().startsWith(QStringLiteral("Otro usuario")))
            fallar("se esperaba un rechazo");
        break;
    case Desenlace::SinConsulta:
        if (m != QStringList{QStringLiteral("Tienes que realizar primero la consulta")})
            fallar("se esperaba «Tienes que realizar primero la consulta»");
        break;
    case Desenlace::Faltan:
        if (m != QStringList{QStringLiteral("Tiene que llenar Todos los Parametros")})
            fallar("se esperaba «Tiene que llenar Todos los Parametros»");
        break;
    }
}

// ---------------------------------------------------------------------------
// What the users type.

std::string decimal(long long centesimas, bool coma)
{
    const bool negativo = centesimas < 0;
    const long long a = std::llabs(centesimas);
    std::string t = std::to_string(a / 100);
    if (a % 100) {
        std::string f = std::to_string(100 + a % 100).substr(1);
        if (f.back() == '0')
            f.pop_back();
        t += (coma ? "," : ".") + f;
    }
    return (negativo ? "-" : "") + t;
}

rc::Gen<std::string> texto_numero()
{
    using namespace rc;
    return gen::weightedOneOf<std::string>({
        {5, gen::map(gen::inRange(-5, 41), [](int n) { return std::to_string(n); })},
        {4, gen::map(gen::pair(gen::inRange(-500, 5001), gen::arbitrary<bool>()),
                     [](const std::pair<int, bool>& p) { return decimal(p.first, p.second); })},
        // Numbers that need 16 or 17 digits.
        {3, gen::map(gen::tuple(gen::inRange(1, 3001), gen::element(3, 7, 9, 11, 13, 17, 19), gen::arbitrary<bool>()),
                     [](const std::tuple<int, int, bool>& t) {
                         QString x = texto_corto(double(std::get<0>(t)) / std::get<1>(t));
                         if (std::get<2>(t))
                             x.replace(u'.', u',');
                         return s(x);
                     })},
        {1, gen::element<std::string>("2,5E3", "1e-5", "7.25e1")},
        {1, gen::element<std::string>("", "  ")},
        {1, gen::element<std::string>("abc", "1.000", "12,500", "7,,5", "1e999")},
    });
}

// Value, target and baseline; often exactly on a band's limit (40, 75 or
// 100 per cent of the way), where binary division would fall a hair off.
rc::Gen<std::tuple<std::string, std::string, std::string>> trio()
{
    using namespace rc;
    const auto al_limite = gen::map(
        gen::tuple(gen::inRange(-5, 21), gen::element(28, 40, 100, -80, 205, 16, 25), gen::element(40, 75, 100, 0, 101)),
        [](const std::tuple<int, int, int>& t) {
            const auto [b, d10, k] = t;
            const long long v = b * 1000LL + d10 * k; // thousandths
            const bool negativo = v < 0;
            const long long a = std::llabs(v);
            std::string f = std::to_string(1000 + a % 1000).substr(1);
            while (!f.empty() && f.back() == '0')
                f.pop_back();
            // Three decimals would read as a thousands group: one more zero.
            if (f.size() == 3)
                f += '0';
            const std::string valor = (negativo ? "-" : "") + std::to_string(a / 1000) + (f.empty() ? "" : "," + f);
            return std::make_tuple(valor, decimal(b * 100LL + d10 * 10LL, true), std::to_string(b));
        });
    return gen::weightedOneOf<std::tuple<std::string, std::string, std::string>>(
        {{3, gen::tuple(texto_numero(), texto_numero(), texto_numero())}, {2, al_limite}});
}

// Mostly the few indicators everybody works on, so that users meet.
rc::Gen<std::string> indicador(const Modelo& m)
{
    std::vector<std::string> calientes, todos;
    const std::vector<QString> principales = m.por_orden(1);
    const std::vector<QString> departamentales = m.por_orden(2);
    for (size_t i = 0; i < principales.size() && i < 2; ++i)
        calientes.push_back(s(principales[i]));
    if (!departamentales.empty())
        calientes.push_back(s(departamentales.front()));
    for (const std::string& n : kNombres)
        if (m.existe(q(n)) && std::find(calientes.begin(), calientes.end(), n) == calientes.end())
            calientes.push_back(n);
    for (const QString& n : m.por_orden(0))
        todos.push_back(s(n));
    if (todos.empty())
        return rc::gen::just(std::string());
    if (calientes.empty())
        return rc::gen::elementOf(todos);
    return rc::gen::weightedOneOf<std::string>({{4, rc::gen::elementOf(calientes)}, {1, rc::gen::elementOf(todos)}});
}

int usuario()
{
    return *rc::gen::inRange(0, kUsuarios);
}

// A user whose window holds a fetch, when there is one: saves meet.
template <class Tiene>
int usuario_con(const Modelo& m, Tiene&& tiene)
{
    std::vector<int> con;
    for (int u = 0; u < kUsuarios; ++u)
        if (tiene(m.usuarios[size_t(u)]))
            con.push_back(u);
    if (con.empty() || *rc::gen::inRange(0, 5) == 0)
        return usuario();
    return *rc::gen::elementOf(con);
}

int anio(const Modelo& m)
{
    return *rc::gen::elementOf(m.catalogo.anios);
}

using Comando = rc::state::Command<Modelo, Sistema>;

// ---------------------------------------------------------------------------
// The operations.

struct Crear final : Comando {
    int u = usuario();
    std::string nombre = *rc::gen::elementOf(kNombres);
    bool principal = *rc::gen::arbitrary<bool>();

    void apply(Modelo& m) const override { m.crear(q(nombre), principal ? 1 : 2); }
    void run(const Modelo& m0, Sistema& sis) const override
    {
        Modelo m = m0;
        const Desenlace r = m.crear(q(nombre), principal ? 1 : 2);
        mensajes(sis.pedir(u, {{QStringLiteral("op"), QStringLiteral("crear")},
                               {QStringLiteral("nombre"), q(nombre)},
                               {QStringLiteral("tipo"), principal ? QStringLiteral("Principal") : QStringLiteral("Departamentales")}}),
                 r, QStringLiteral("Indicador Guardado Exitosamente"));
        sis.comprobar(m, r == Desenlace::Guardado);
    }
    void show(std::ostream& os) const override
    {
        os << "usuario " << u + 1 << ": Nuevo indicador «" << nombre << "» " << (principal ? "Principal" : "Departamentales");
    }
};

struct Eliminar final : Comando {
    int u = usuario();
    std::string nombre;
    explicit Eliminar(const Modelo& m) : nombre(*indicador(m)) {}

    void checkPreconditions(const Modelo& m) const override { RC_PRE(m.existe(q(nombre))); }
    void apply(Modelo& m) const override { m.eliminar(q(nombre)); }
    void run(const Modelo& m0, Sistema& sis) const override
    {
        Modelo m = m0;
        const Desenlace r = m.eliminar(q(nombre));
        mensajes(sis.pedir(u, {{QStringLiteral("op"), QStringLiteral("eliminar")}, {QStringLiteral("nombre"), q(nombre)}}), r,
                 QStringLiteral("Indicador Eliminado Exitosamente"));
        sis.comprobar(m, r == Desenlace::Guardado);
    }
    void show(std::ostream& os) const override { os << "usuario " << u + 1 << ": Eliminar «" << nombre << "»"; }
};

struct Restaurar final : Comando {
    int u = usuario();
    std::string nombre;
    explicit Restaurar(const Modelo& m)
    {
        std::vector<std::string> nombres;
        for (const QString& n : m.en_historial)
            nombres.push_back(s(n));
        std::vector<std::string> borrados;
        for (const auto& [n, b] : m.borrados)
            if (!m.existe(n))
                borrados.push_back(s(n));
        nombre = borrados.empty() ? *rc::gen::elementOf(nombres)
                                  : *rc::gen::weightedOneOf<std::string>(
                                        {{4, rc::gen::elementOf(borrados)}, {1, rc::gen::elementOf(nombres)}});
    }

    // The Historial list holds the indicators and every name the history has.
    void checkPreconditions(const Modelo& m) const override { RC_PRE(m.en_historial.count(q(nombre)) > 0); }
    void apply(Modelo& m) const override { m.restaurar(q(nombre)); }
    void run(const Modelo& m0, Sistema& sis) const override
    {
        Modelo m = m0;
        const Desenlace r = m.restaurar(q(nombre));
        mensajes(sis.pedir(u, {{QStringLiteral("op"), QStringLiteral("restaurar")}, {QStringLiteral("nombre"), q(nombre)}}), r,
                 QStringLiteral("Indicador Restaurado Exitosamente"));
        sis.comprobar(m, r == Desenlace::Guardado);
    }
    void show(std::ostream& os) const override { os << "usuario " << u + 1 << ": Historial, Restaurar «" << nombre << "»"; }
};

struct ConsultarModificar final : Comando {
    int u = usuario();
    std::string nombre;
    int a;
    // Often the year another user has on screen.
    explicit ConsultarModificar(const Modelo& m) : nombre(*indicador(m)), a(anio(m))
    {
        const int otro = usuario();
        const VistaModificar& v = m.usuarios[size_t(otro)].modificar;
        if (v.hay && m.existe(v.indicador) && *rc::gen::arbitrary<bool>()) {
            nombre = s(v.indicador);
            a = v.anio;
        }
    }

    void checkPreconditions(const Modelo& m) const override { RC_PRE(m.existe(q(nombre))); }
    void apply(Modelo& m) const override { m.consultar_modificar(u, q(nombre), a); }
    void run(const Modelo& m0, Sistema& sis) const override
    {
        const QStringList r = sis.pedir(u, {{QStringLiteral("op"), QStringLiteral("consultar_modificar")},
                                            {QStringLiteral("indicador"), q(nombre)},
                                            {QStringLiteral("anio"), QString::number(a)}});
        if (!r.isEmpty())
            RC_FAIL("la consulta mostró: " + s(r.join(u' ')));
        sis.comprobar(m0, false);
    }
    void show(std::ostream& os) const override
    {
        os << "usuario " << u + 1 << ": Modificar «" << nombre << "» " << a << ", Aceptar";
    }
};

struct GuardarModificar final : Comando {
    int u;
    explicit GuardarModificar(const Modelo& m) : u(usuario_con(m, [](const modelo::Usuario& x) { return x.modificar.hay; })) {}
    std::vector<std::tuple<int, int, std::string>> celdas = *rc::gen::container<std::vector<std::tuple<int, int, std::string>>>(
        *rc::gen::weightedElement<int>({{1, 0}, {4, 1}, {2, 2}, {1, 3}}), rc::gen::tuple(rc::gen::inRange(1, 4), rc::gen::inRange(1, 13), texto_numero()));

    std::vector<std::tuple<int, int, QString>> tecleo() const
    {
        std::vector<std::tuple<int, int, QString>> t;
        for (const auto& [f, c, x] : celdas)
            t.emplace_back(f, c, q(x));
        return t;
    }
    void apply(Modelo& m) const override { m.guardar_modificar(u, tecleo()); }
    void run(const Modelo& m0, Sistema& sis) const override
    {
        Modelo m = m0;
        const Desenlace r = m.guardar_modificar(u, tecleo());
        QJsonArray a;
        for (const auto& [f, c, x] : celdas)
            a.append(QJsonArray{f, c, q(x)});
        mensajes(sis.pedir(u, {{QStringLiteral("op"), QStringLiteral("guardar_modificar")}, {QStringLiteral("celdas"), a}}), r,
                 QStringLiteral("Datos Guardados Exitosamente"));
        sis.comprobar(m, r == Desenlace::Guardado);
    }
    void show(std::ostream& os) const override
    {
        os << "usuario " << u + 1 << ": Modificar, teclea";
        for (const auto& [f, c, x] : celdas)
            os << " [" << (f == 1 ? "Valor" : f == 2 ? "Meta" : "Nivel Base") << " " << s(kMeses.at(c - 1)) << ": \"" << x
               << "\"]";
        os << ", Guardar";
    }
};

struct ConsultarKpi final : Comando {
    int u = usuario();
    std::string nombre;
    int a, mes = *rc::gen::inRange(1, 13), departamento = 0;
    explicit ConsultarKpi(const Modelo& m) : nombre(*indicador(m)), a(anio(m))
    {
        // Often the month another user has on screen, in KPI or in Modificar.
        const modelo::Usuario& otro = m.usuarios[size_t(usuario())];
        if (otro.kpi.hay && m.existe(otro.kpi.indicador) && *rc::gen::arbitrary<bool>()) {
            nombre = s(otro.kpi.indicador);
            a = otro.kpi.anio;
            mes = otro.kpi.mes;
            departamento = otro.kpi.departamento;
            return;
        }
        if (otro.modificar.hay && m.existe(otro.modificar.indicador) && *rc::gen::arbitrary<bool>()) {
            nombre = s(otro.modificar.indicador);
            a = otro.modificar.anio;
            departamento = otro.modificar.departamento;
            return;
        }
        const auto it = m.indicadores.find(q(nombre));
        if (it != m.indicadores.end() && it->second.tipo == 2 && !it->second.departamentos.empty())
            departamento = *rc::gen::elementOf(std::vector<int>(it->second.departamentos.begin(), it->second.departamentos.end()));
    }

    void checkPreconditions(const Modelo& m) const override
    {
        const auto it = m.indicadores.find(q(nombre));
        RC_PRE(it != m.indicadores.end());
        const bool serie = it->second.tipo == 1 ? departamento == 0 : it->second.departamentos.count(departamento) > 0;
        RC_PRE(serie);
    }
    void apply(Modelo& m) const override { m.consultar_kpi(u, q(nombre), a, mes, departamento); }
    void run(const Modelo& m0, Sistema& sis) const override
    {
        const QStringList r = sis.pedir(u, {{QStringLiteral("op"), QStringLiteral("consultar_kpi")},
                                            {QStringLiteral("indicador"), q(nombre)},
                                            {QStringLiteral("anio"), QString::number(a)},
                                            {QStringLiteral("mes"), kMeses.at(mes - 1)},
                                            {QStringLiteral("departamento"),
                                             departamento ? m0.catalogo.departamentos.at(departamento) : QString()}});
        if (!r.isEmpty())
            RC_FAIL("la consulta mostró: " + s(r.join(u' ')));
        sis.comprobar(m0, false);
    }
    void show(std::ostream& os) const override
    {
        os << "usuario " << u + 1 << ": KPI «" << nombre << "» " << s(kMeses.at(mes - 1)) << " " << a;
        if (departamento)
            os << " departamento " << departamento;
        os << ", Aceptar";
    }
};

struct GuardarKpi final : Comando {
    int u;
    explicit GuardarKpi(const Modelo& m) : u(usuario_con(m, [](const modelo::Usuario& x) { return x.kpi.hay; })) {}
    std::tuple<std::string, std::string, std::string> v = *trio();

    void apply(Modelo& m) const override
    {
        m.guardar_kpi(u, q(std::get<0>(v)), q(std::get<1>(v)), q(std::get<2>(v)));
    }
    void run(const Modelo& m0, Sistema& sis) const override
    {
        Modelo m = m0;
        const Desenlace r = m.guardar_kpi(u, q(std::get<0>(v)), q(std::get<1>(v)), q(std::get<2>(v)));
        mensajes(sis.pedir(u, {{QStringLiteral("op"), QStringLiteral("guardar_kpi")},
                               {QStringLiteral("valor"), q(std::get<0>(v))},
                               {QStringLiteral("meta"), q(std::get<1>(v))},
                               {QStringLiteral("base"), q(std::get<2>(v))}}),
                 r, QStringLiteral("Datos Guardados Exitosamente"));
        sis.comprobar(m, r == Desenlace::Guardado);
    }
    void show(std::ostream& os) const override
    {
        os << "usuario " << u + 1 << ": KPI, Valor \"" << std::get<0>(v) << "\" Meta \"" << std::get<1>(v)
           << "\" Linea Base \"" << std::get<2>(v) << "\", Guardar";
    }
};

struct NuevoRegistro final : Comando {
    int u = usuario();
    std::string nombre;
    int a, mes = *rc::gen::inRange(1, 13), desempeno, perspectiva, unidad;
    std::tuple<std::string, std::string, std::string> v = *trio();
    explicit NuevoRegistro(const Modelo& m)
        : nombre(*indicador(m)), a(anio(m)), desempeno(*rc::gen::elementOf(claves(m.catalogo.desempenos))),
          perspectiva(*rc::gen::elementOf(claves(m.catalogo.perspectivas))),
          unidad(*rc::gen::elementOf(claves(m.catalogo.unidades)))
    {
    }
    static std::vector<int> claves(const std::map<int, QString>& t)
    {
        std::vector<int> c;
        for (const auto& p : t)
            c.push_back(p.first);
        return c;
    }

    void checkPreconditions(const Modelo& m) const override { RC_PRE(m.existe(q(nombre))); }
    void apply(Modelo& m) const override
    {
        m.nuevo_registro(q(nombre), a, mes, desempeno, perspectiva, unidad, q(std::get<2>(v)), q(std::get<1>(v)),
                         q(std::get<0>(v)));
    }
    void run(const Modelo& m0, Sistema& sis) const override
    {
        Modelo m = m0;
        const Desenlace r = m.nuevo_registro(q(nombre), a, mes, desempeno, perspectiva, unidad, q(std::get<2>(v)),
                                             q(std::get<1>(v)), q(std::get<0>(v)));
        mensajes(sis.pedir(u, {{QStringLiteral("op"), QStringLiteral("nuevo_registro")},
                               {QStringLiteral("indicador"), q(nombre)},
                               {QStringLiteral("anio"), QString::number(a)},
                               {QStringLiteral("mes"), kMeses.at(mes - 1)},
                               {QStringLiteral("desempeno"), m0.catalogo.desempenos.at(desempeno)},
                               {QStringLiteral("perspectiva"), m0.catalogo.perspectivas.at(perspectiva)},
                               {QStringLiteral("unidad"), m0.catalogo.unidades.at(unidad)},
                               {QStringLiteral("valor"), q(std::get<0>(v))},
                               {QStringLiteral("meta"), q(std::get<1>(v))},
                               {QStringLiteral("base"), q(std::get<2>(v))}}),
                 r, QStringLiteral("Registro Guardado Exitosamente"));
        sis.comprobar(m, r == Desenlace::Guardado);
    }
    void show(std::ostream& os) const override
    {
        os << "usuario " << u + 1 << ": Nuevo registro «" << nombre << "» " << s(kMeses.at(mes - 1)) << " " << a
           << " desempeño " << desempeno << " perspectiva " << perspectiva << " unidad " << unidad << ", Valor \""
           << std::get<0>(v) << "\" Meta \"" << std::get<1>(v) << "\" Nivel Base \"" << std::get<2>(v) << "\", Guardar";
    }
};

struct VerReporte final : Comando {
    bool principal = *rc::gen::arbitrary<bool>();
    int lista, a, mes = *rc::gen::inRange(1, 13);
    explicit VerReporte(const Modelo& m) : a(anio(m))
    {
        lista = *rc::gen::elementOf(NuevoRegistro::claves(principal ? m.catalogo.perspectivas : m.catalogo.departamentos));
    }

    void apply(Modelo&) const override {}
    void run(const Modelo& m, Sistema& sis) const override
    {
        ++sis.operaciones;
        const QStringList d = revisar_reporte(m, principal, lista, a, mes);
        if (!d.isEmpty())
            RC_FAIL("el reporte no muestra lo que el modelo calcula:\n  " + s(d.join(QStringLiteral("\n  "))));
    }
    void show(std::ostream& os) const override
    {
        os << (principal ? "Principales, perspectiva " : "Departamentales, departamento ") << lista << " "
           << s(kMeses.at(mes - 1)) << " " << a << ", Ver";
    }
};

struct VerTendencia final : Comando {
    std::string nombre;
    int a, departamento = 0;
    explicit VerTendencia(const Modelo& m) : nombre(*indicador(m)), a(anio(m))
    {
        const auto it = m.indicadores.find(q(nombre));
        if (it != m.indicadores.end() && it->second.tipo == 2 && !it->second.departamentos.empty())
            departamento = *rc::gen::elementOf(std::vector<int>(it->second.departamentos.begin(), it->second.departamentos.end()));
    }

    void checkPreconditions(const Modelo& m) const override
    {
        const auto it = m.indicadores.find(q(nombre));
        RC_PRE(it != m.indicadores.end());
        const bool serie = it->second.tipo == 1 ? departamento == 0 : it->second.departamentos.count(departamento) > 0;
        RC_PRE(serie);
    }
    void apply(Modelo&) const override {}
    void run(const Modelo& m, Sistema& sis) const override
    {
        ++sis.operaciones;
        const QStringList d = revisar_tendencia(m, q(nombre), departamento, a);
        if (!d.isEmpty())
            RC_FAIL("la tendencia no muestra lo que el modelo calcula:\n  " + s(d.join(QStringLiteral("\n  "))));
    }
    void show(std::ostream& os) const override
    {
        os << "Tendencia «" << nombre << "» " << a;
        if (departamento)
            os << " departamento " << departamento;
        os << ", Ver";
    }
};

} // namespace

class TstModelo final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void secuencias();
    void cleanupTestCase();

private:
    Sistema sistema_;
};

void TstModelo::initTestCase()
{
    sistema_.postgres = qgetenv("VELMORA_MOTOR") == "postgres";
    if (sistema_.postgres && dsn_postgres().isEmpty())
        QFAIL("no PostgreSQL server: run the test through scripts/con_postgres.sh (VELMORA_PG_DSN)");
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    sistema_.bases = std::make_unique<Bases>(sistema_.postgres);
    sistema_.usuarios.resize(kUsuarios);
    activo = &sistema_;
}

void TstModelo::secuencias()
{
    const bool bien = rc::check(sistema_.postgres ? "modelo_postgres" : "modelo", [this] {
        sistema_.empezar();
        const Modelo inicial = modelo_de(sistema_.inicio, leer_catalogo(), kUsuarios);
        rc::state::check(inicial, sistema_,
                         rc::state::gen::execOneOfWithArgs<Crear, Eliminar, Restaurar, ConsultarModificar, GuardarModificar,
                                                           ConsultarModificar, GuardarModificar, ConsultarModificar, GuardarModificar,
                                                           ConsultarKpi, GuardarKpi, ConsultarKpi, GuardarKpi,
                                                           NuevoRegistro, VerReporte, VerTendencia>());
    });
    for (const auto& [d, n] : sistema_.desenlaces)
        std::cerr << "  " << n << " x " << s(d) << std::endl;
    std::cerr << "  " << sin_revisar() << " imágenes de tendencia o estado sin revisar (la pantalla juzga un número de 16 o 17 cifras por su celda acortada)" << std::endl;
    std::cerr << "modelo: " << sistema_.operaciones << " operaciones en " << sistema_.secuencias << " secuencias ("
              << (sistema_.postgres ? "PostgreSQL" : "SQLite") << ")" << std::endl;
    QVERIFY2(bien, "una secuencia de operaciones dio otra cosa que el modelo (arriba, reducida, y cómo repetirla)");
}

void TstModelo::cleanupTestCase()
{
    for (auto& u : sistema_.usuarios)
        u.reset();
    velmora::Conexion().cerrar();
    sistema_.bases.reset();
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--usuario") == 0) {
        QApplication app(argc, argv);
        return correr_usuario(std::atoi(argv[2]));
    }
    // A short run unless told otherwise: a few hundred operations.
    // A long run takes as long as it takes; CTest has its own limit.
    if (qEnvironmentVariableIsEmpty("QTEST_FUNCTION_TIMEOUT"))
        qputenv("QTEST_FUNCTION_TIMEOUT", "86400000");
    if (qEnvironmentVariableIsEmpty("RC_PARAMS"))
        qputenv("RC_PARAMS", "seed=20261211 max_success=12 max_size=64");
    QApplication app(argc, argv);
    TstModelo prueba;
    return QTest::qExec(&prueba, argc, argv);
}

#include "tst_modelo.moc"
