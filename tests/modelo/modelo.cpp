// SPDX-License-Identifier: GPL-3.0-or-later
// The expected scorecard and the rules it follows, kept apart from the
// program's code (no src/ routine is called here).
#include "modelo.h"

#include <QRegularExpression>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <stdexcept>

namespace modelo {

namespace {

// Number texts in the C locale whatever the process set.
class LocaleC final {
public:
    LocaleC() : c_(newlocale(LC_ALL_MASK, "C", nullptr)), antes_(uselocale(c_)) {}
    ~LocaleC()
    {
        uselocale(antes_);
        freelocale(c_);
    }
    LocaleC(const LocaleC&) = delete;
    LocaleC& operator=(const LocaleC&) = delete;

private:
    locale_t c_;
    locale_t antes_;
};

// Wide enough for the decimals of the generated numbers, scaled.
__extension__ typedef __int128 Entero;

// A decimal held exactly: c * 10^e.
struct Dec {
    Entero c = 0;
    int e = 0;
};

constexpr Entero kTope = Entero(1000000000000000000LL) * Entero(1000000000000000000LL); // 1e36

Entero potencia(int n)
{
    Entero p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

Entero escalar(Entero c, int n)
{
    if (n > 36)
        throw std::runtime_error("decimal fuera del alcance del modelo");
    const Entero r = c * potencia(n);
    if (r > kTope || r < -kTope || (c != 0 && r / potencia(n) != c))
        throw std::runtime_error("decimal fuera del alcance del modelo");
    return r;
}

// The shortest decimal that reads back as v: the text a cell shows.
Dec decimal(double v)
{
    const LocaleC c;
    char texto[64];
    for (int p = 1; p <= 17; ++p) {
        std::snprintf(texto, sizeof texto, "%.*e", p - 1, v);
        if (std::strtod(texto, nullptr) == v)
            break;
    }
    Dec d;
    bool negativo = false;
    const char* s = texto;
    if (*s == '-') {
        negativo = true;
        ++s;
    }
    int cifras_tras_punto = 0;
    bool tras_punto = false;
    for (; *s && *s != 'e'; ++s) {
        if (*s == '.') {
            tras_punto = true;
            continue;
        }
        d.c = d.c * 10 + (*s - '0');
        if (tras_punto)
            ++cifras_tras_punto;
    }
    const int exponente = *s == 'e' ? std::atoi(s + 1) : 0;
    d.e = exponente - cifras_tras_punto;
    if (negativo)
        d.c = -d.c;
    return d;
}

void alinear(Dec& a, Dec& b)
{
    const int e = std::min(a.e, b.e);
    a.c = escalar(a.c, a.e - e);
    b.c = escalar(b.c, b.e - e);
    a.e = b.e = e;
}

Dec menos(Dec a, Dec b)
{
    alinear(a, b);
    return {a.c - b.c, a.e};
}

int signo(Entero x)
{
    return x > 0 ? 1 : x < 0 ? -1 : 0;
}

// The sign of num / den - limite / 100; den is not zero.
int comparar(Dec num, Dec den, int limite)
{
    Dec a{escalar(num.c, 2), num.e};
    Dec b{den.c * limite, den.e};
    alinear(a, b);
    return signo(a.c - b.c) * signo(den.c);
}

} // namespace

bool mismos_bits(const Num& a, const Num& b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || std::memcmp(&*a, &*b, sizeof(double)) == 0;
}

QString mostrar(const Num& n)
{
    if (!n)
        return QStringLiteral("vacío");
    const LocaleC c;
    char texto[64];
    std::snprintf(texto, sizeof texto, "%.17g", *n);
    return QString::fromLatin1(texto);
}

std::optional<double> leer_mostrado(const QString& texto)
{
    QString s = texto.trimmed();
    s.replace(u',', u'.');
    if (s.isEmpty())
        return std::nullopt;
    const LocaleC c;
    const QByteArray b = s.toLatin1();
    char* fin = nullptr;
    const double v = std::strtod(b.constData(), &fin);
    if (fin != b.constData() + b.size())
        return std::nullopt;
    return v;
}

QString texto_corto(double v)
{
    const LocaleC c;
    char texto[64];
    for (int p = 1; p <= 17; ++p) {
        std::snprintf(texto, sizeof texto, "%.*g", p, v);
        if (std::strtod(texto, nullptr) == v)
            break;
    }
    return QString::fromLatin1(texto);
}

bool largo(const Num& n)
{
    return n && texto_corto(*n).size() > 15;
}

Lectura leer(const QString& texto)
{
    QString s = texto.trimmed();
    if (s.isEmpty())
        return {};
    s.replace(u',', u'.');
    static const QRegularExpression forma(QStringLiteral("^[+-]?(\\d*)(?:\\.(\\d*))?(?:[eE][+-]?\\d+)?$"));
    const QRegularExpressionMatch m = forma.match(s);
    if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(2).isEmpty()))
        return {Lectura::Invalido};
    const bool exponente = s.contains(u'e', Qt::CaseInsensitive);
    static const QRegularExpression miles(QStringLiteral("^[1-9]\\d{0,2}$"));
    if (!exponente && m.captured(2).size() == 3 && miles.match(m.captured(1)).hasMatch() && s.contains(u'.'))
        return {Lectura::Invalido};
    const LocaleC c;
    const double v = std::strtod(s.toLatin1().constData(), nullptr);
    if (!std::isfinite(v))
        return {Lectura::Invalido};
    static const QRegularExpression no_cero(QStringLiteral("[1-9]"));
    const QString mantisa = s.section(QRegularExpression(QStringLiteral("[eE]")), 0, 0);
    if (v == 0 && mantisa.contains(no_cero))
        return {Lectura::Invalido};
    return {Lectura::Numero, v};
}

QString estado(const Num& V, const Num& M, const Num& B)
{
    if (!V || !M || !B)
        return QStringLiteral("Blanco");
    const Dec hecho = menos(decimal(*V), decimal(*B));
    const Dec camino = menos(decimal(*M), decimal(*B));
    if (camino.c == 0)
        return QStringLiteral("Blanco");
    if (comparar(hecho, camino, 40) < 0)
        return QStringLiteral("Rojo");
    if (comparar(hecho, camino, 75) <= 0)
        return QStringLiteral("Amarillo");
    if (comparar(hecho, camino, 100) <= 0)
        return QStringLiteral("Verde");
    return QStringLiteral("Azul");
}

QString tendencia(const Num& V, const Num& C)
{
    if (!C)
        return QStringLiteral("raya");
    const Dec c = decimal(*C);
    if (c.c == 0)
        return QStringLiteral("Blanco");
    if (!V)
        return QStringLiteral("raya");
    const Dec cambio = menos(decimal(*V), c);
    if (comparar(cambio, c, 20) > 0)
        return QStringLiteral("T_Azul");
    if (comparar(cambio, c, 5) >= 0)
        return QStringLiteral("T_Verde");
    if (comparar(cambio, c, -5) > 0)
        return QStringLiteral("T_Blanco");
    if (comparar(cambio, c, -20) >= 0)
        return QStringLiteral("T_Amarillo");
    return QStringLiteral("T_Rojo");
}

QString nombre(Desenlace r)
{
    switch (r) {
    case Desenlace::Guardado:
        return QStringLiteral("guardado");
    case Desenlace::Ajeno:
        return QStringLiteral("rechazado: cambiado por otro");
    case Desenlace::Rechazado:
        return QStringLiteral("rechazado");
    case Desenlace::SinConsulta:
        return QStringLiteral("sin consulta");
    case Desenlace::Faltan:
        return QStringLiteral("faltan datos");
    }
    return {};
}

Registro Modelo::registro(const QString& n, int d, int a, int m) const
{
    const auto it = registros.find({n, d, a, m});
    return it == registros.end() ? Registro{} : it->second;
}

std::vector<int> Modelo::series(const Indicador& i) const
{
    if (i.tipo == 1)
        return {0};
    return {i.departamentos.begin(), i.departamentos.end()};
}

std::vector<QString> Modelo::por_orden(int tipo) const
{
    std::vector<std::pair<long, QString>> v;
    for (const auto& [n, i] : indicadores)
        if (tipo == 0 || i.tipo == tipo)
            v.emplace_back(i.orden, n);
    std::sort(v.begin(), v.end());
    std::vector<QString> r;
    for (const auto& p : v)
        r.push_back(p.second);
    return r;
}

void Modelo::dar_registros(const QString& n, const Indicador& i)
{
    for (int d : series(i))
        for (int a : catalogo.anios)
            for (int m = 1; m <= 12; ++m)
                registros[{n, d, a, m}] = Registro{};
}

Desenlace Modelo::crear(const QString& n, int tipo)
{
    if (existe(n))
        return Desenlace::Rechazado;
    Indicador i;
    i.tipo = tipo;
    if (tipo == 1)
        i.perspectiva = catalogo.perspectivas.begin()->first;
    else
        i.departamentos = {catalogo.departamentos.begin()->first};
    i.desempeno = catalogo.desempenos.begin()->first;
    i.unidad = catalogo.unidades.begin()->first;
    i.orden = siguiente_orden++;
    i.generacion = siguiente_generacion++;
    indicadores[n] = i;
    dar_registros(n, i);
    en_historial.insert(n);
    return Desenlace::Guardado;
}

Desenlace Modelo::eliminar(const QString& n)
{
    const auto it = indicadores.find(n);
    if (it == indicadores.end())
        return Desenlace::Rechazado;
    Borrado b;
    b.indicador = it->second;
    for (auto r = registros.begin(); r != registros.end();) {
        if (std::get<0>(r->first) == n) {
            b.numeros[{std::get<1>(r->first), std::get<2>(r->first), std::get<3>(r->first)}] = r->second;
            r = registros.erase(r);
        } else {
            ++r;
        }
    }
    borrados[n] = b;
    indicadores.erase(it);
    en_historial.insert(n);
    return Desenlace::Guardado;
}

Desenlace Modelo::restaurar(const QString& n)
{
    if (existe(n))
        return Desenlace::Rechazado;
    const auto b = borrados.find(n);
    if (b == borrados.end())
        return Desenlace::Rechazado;
    Indicador i = b->second.indicador;
    i.orden = siguiente_orden++;
    i.generacion = siguiente_generacion++;
    indicadores[n] = i;
    dar_registros(n, i);
    for (const auto& [k, r] : b->second.numeros) {
        const Clave c{n, std::get<0>(k), std::get<1>(k), std::get<2>(k)};
        if (registros.count(c))
            registros[c] = r;
    }
    return Desenlace::Guardado;
}

void Modelo::consultar_modificar(int u, const QString& n, int anio)
{
    VistaModificar v;
    const auto it = indicadores.find(n);
    if (it != indicadores.end() && !series(it->second).empty()) {
        // The grid has twelve columns: the first series' months.
        v.hay = true;
        v.indicador = n;
        v.anio = anio;
        v.departamento = series(it->second).front();
        v.generacion = it->second.generacion;
        v.celdas.assign(3, std::vector<Celda>(12));
        for (int m = 1; m <= 12; ++m) {
            const Registro r = registro(n, v.departamento, anio, m);
            v.leidos.push_back(r);
            v.celdas[0][size_t(m - 1)].leido = r.valor;
            v.celdas[1][size_t(m - 1)].leido = r.meta;
            v.celdas[2][size_t(m - 1)].leido = r.base;
        }
    }
    usuarios[size_t(u)].modificar = v;
}

namespace {

// What a cell writes: its fetched number, or its typed text read.
std::optional<Num> a_escribir(const Celda& c)
{
    if (!c.tecleada)
        return c.leido;
    const Lectura l = leer(c.texto);
    if (l.tipo == Lectura::Invalido)
        return std::nullopt;
    return l.tipo == Lectura::Vacio ? Num{} : Num{l.numero};
}

bool mismo_numero(const Num& a, const Num& b)
{
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

bool igual_numero(const Registro& a, const Registro& b)
{
    return mismo_numero(a.valor, b.valor) && mismo_numero(a.meta, b.meta) && mismo_numero(a.base, b.base);
}

} // namespace

Desenlace Modelo::guardar_modificar(int u, const std::vector<std::tuple<int, int, QString>>& tecleo)
{
    VistaModificar& v = usuarios[size_t(u)].modificar;
    if (!v.hay)
        return Desenlace::SinConsulta;
    for (const auto& [fila, mes, texto] : tecleo) {
        Celda& c = v.celdas[size_t(fila - 1)][size_t(mes - 1)];
        c.tecleada = true;
        c.texto = texto;
    }
    // Read again under lock: the same records (not deleted and made again)
    // with the same numbers.
    const auto it = indicadores.find(v.indicador);
    if (it == indicadores.end() || it->second.generacion != v.generacion)
        return Desenlace::Ajeno;
    for (int m = 1; m <= 12; ++m)
        if (!igual_numero(registro(v.indicador, v.departamento, v.anio, m), v.leidos[size_t(m - 1)]))
            return Desenlace::Ajeno;
    std::vector<Registro> nuevos;
    for (int m = 0; m < 12; ++m) {
        const auto valor = a_escribir(v.celdas[0][size_t(m)]);
        const auto meta = a_escribir(v.celdas[1][size_t(m)]);
        const auto base = a_escribir(v.celdas[2][size_t(m)]);
        if (!valor || !meta || !base)
            return Desenlace::Rechazado;
        nuevos.push_back({*valor, *meta, *base});
    }
    for (int m = 1; m <= 12; ++m)
        registros[{v.indicador, v.departamento, v.anio, m}] = nuevos[size_t(m - 1)];
    v.leidos = nuevos;
    return Desenlace::Guardado;
}

void Modelo::consultar_kpi(int u, const QString& n, int anio, int mes, int departamento)
{
    VistaKpi v;
    const auto it = indicadores.find(n);
    if (it != indicadores.end()) {
        v.hay = true;
        v.indicador = n;
        v.anio = anio;
        v.mes = mes;
        v.departamento = it->second.tipo == 1 ? 0 : departamento;
        v.generacion = it->second.generacion;
        v.leido = registro(n, v.departamento, anio, mes);
    }
    usuarios[size_t(u)].kpi = v;
}

Desenlace Modelo::guardar_kpi(int u, const QString& valor, const QString& meta, const QString& base)
{
    VistaKpi& v = usuarios[size_t(u)].kpi;
    if (!v.hay)
        return Desenlace::SinConsulta;
    for (const QString& t : {valor, meta, base})
        if (t.trimmed().isEmpty())
            return Desenlace::Faltan;
    const auto it = indicadores.find(v.indicador);
    if (it == indicadores.end() || it->second.generacion != v.generacion
        || !igual_numero(registro(v.indicador, v.departamento, v.anio, v.mes), v.leido))
        return Desenlace::Ajeno;
    const Lectura lv = leer(valor), lm = leer(meta), lb = leer(base);
    for (const Lectura& l : {lv, lm, lb})
        if (l.tipo != Lectura::Numero)
            return Desenlace::Rechazado;
    const Registro nuevo{lv.numero, lm.numero, lb.numero};
    registros[{v.indicador, v.departamento, v.anio, v.mes}] = nuevo;
    v.leido = nuevo;
    return Desenlace::Guardado;
}

Desenlace Modelo::nuevo_registro(const QString& n, int anio, int mes, int desempeno, int perspectiva, int unidad,
                                 const QString& base, const QString& meta, const QString& valor)
{
    if (base.trimmed().isEmpty() && meta.trimmed().isEmpty() && valor.trimmed().isEmpty())
        return Desenlace::Faltan;
    const auto it = indicadores.find(n);
    if (it == indicadores.end())
        return Desenlace::Rechazado;
    const Lectura lb = leer(base), lm = leer(meta), lv = leer(valor);
    for (const Lectura& l : {lb, lm, lv})
        if (l.tipo == Lectura::Invalido)
            return Desenlace::Rechazado;
    auto num = [](const Lectura& l) { return l.tipo == Lectura::Numero ? Num{l.numero} : Num{}; };
    Indicador& i = it->second;
    i.desempeno = desempeno;
    i.perspectiva = perspectiva;
    i.unidad = unidad;
    for (int d : series(i))
        registros[{n, d, anio, mes}] = Registro{num(lv), num(lm), num(lb)};
    return Desenlace::Guardado;
}

std::vector<Fila> Modelo::reporte(bool principal, int lista, int anio, int mes) const
{
    std::vector<Fila> filas;
    for (const QString& n : por_orden(principal ? 1 : 2)) {
        const Indicador& i = indicadores.at(n);
        if (principal ? i.perspectiva != lista : !i.departamentos.count(lista))
            continue;
        const int d = principal ? 0 : lista;
        const Registro r = registro(n, d, anio, mes);
        Fila f{n, r.meta, r.valor, r.base, {}, estado(r.valor, r.meta, r.base), {}};
        f.comparado = mes == 1 ? registro(n, d, anio - 1, 12).valor : registro(n, d, anio, mes - 1).valor;
        f.tendencia = mes == 1 && anio == 2008 ? QStringLiteral("Blanco") : tendencia(r.valor, f.comparado);
        filas.push_back(f);
    }
    return filas;
}

std::vector<Fila> Modelo::tendencia_anual(const QString& n, int departamento, int anio) const
{
    std::vector<Fila> filas;
    for (int m = 1; m <= 12; ++m) {
        const Registro r = registro(n, departamento, anio, m);
        Fila f{n, r.meta, r.valor, r.base, {}, estado(r.valor, r.meta, r.base), {}};
        f.comparado = m == 1 ? registro(n, departamento, anio - 1, 12).valor : registro(n, departamento, anio, m - 1).valor;
        f.tendencia = m == 1 && anio == 2008 ? QStringLiteral("Blanco") : tendencia(r.valor, f.comparado);
        filas.push_back(f);
    }
    return filas;
}

} // namespace modelo
