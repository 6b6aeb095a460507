// SPDX-License-Identifier: GPL-3.0-or-later
// The fixture of the random test, the database's state read exactly, and the
// history replayed.
#include "base_modelo.h"

#include "data/conexion.h"
#include "soporte/soporte.h"

#include <QFile>
#include <QSettings>
#include <QVariant>

#include <stdexcept>

namespace modelo {

using velmora::Conexion;
using velmora::Dialecto;
using velmora::Resultado;

namespace {

// Two years: 2008 (its January has no trend) and 2009 (its January compares
// with 2008's December), so that a check reads the whole database quickly.
const QStringList kRecorte = {
    QStringLiteral("DELETE FROM registro WHERE id_anio NOT IN (SELECT id FROM año WHERE año BETWEEN 2008 AND 2009)"),
    QStringLiteral("DELETE FROM año WHERE año < 2008 OR año > 2009"),
    // Values that need 17 digits to come back whole, where people fetch.
    QStringLiteral("UPDATE registro SET valor = valor / 3 WHERE mes = 11 AND valor IS NOT NULL"),
    QStringLiteral("DELETE FROM historial"),
};

Num numero(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        throw std::runtime_error("no es un número: " + v.toString().toStdString());
    return d;
}

bool sqlite()
{
    return Conexion().dialecto() == Dialecto::SQLite;
}

} // namespace

Bases::Bases(bool postgres) : postgres_(postgres)
{
    if (!carpeta_.isValid())
        throw std::runtime_error("no temporary folder");
    if (postgres_) {
        plantilla_ = QStringLiteral("velmora_modelo_plantilla");
        mantenimiento_ = escribir_dsn_postgres(carpeta_.path(), QStringLiteral("postgres"));
        dsn_ = escribir_dsn_postgres(carpeta_.path(), QStringLiteral("velmora_modelo"));
        const QString base = QSettings(dsn_postgres(), QSettings::IniFormat).value(QStringLiteral("ODBC/Database")).toString();
        en(mantenimiento_, {QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(plantilla_),
                            QStringLiteral("CREATE DATABASE %1 TEMPLATE \"%2\"").arg(plantilla_, base)});
        en(escribir_dsn_postgres(carpeta_.path(), plantilla_), kRecorte);
    } else {
        plantilla_ = carpeta_.filePath(QStringLiteral("plantilla.db"));
        if (!QFile::copy(BasePrueba::ruta_base_demo(), plantilla_))
            throw std::runtime_error("cannot copy the demo database");
        QFile::setPermissions(plantilla_, QFile::ReadOwner | QFile::WriteOwner);
        const QString dsn = carpeta_.filePath(QStringLiteral("plantilla.dsn"));
        escribir_origen(dsn, plantilla_);
        en(dsn, kRecorte);
        dsn_ = carpeta_.filePath(QStringLiteral("modelo.dsn"));
        escribir_origen(dsn_, carpeta_.filePath(QStringLiteral("modelo.db")));
    }
}

Bases::~Bases()
{
    if (postgres_) {
        try {
            en(mantenimiento_, {QStringLiteral("DROP DATABASE IF EXISTS velmora_modelo WITH (FORCE)"),
                                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(plantilla_)});
        } catch (const std::exception&) {
            // Left behind, it dies with the test script's server.
        }
    }
}

void Bases::en(const QString& dsn, const QStringList& sentencias)
{
    Conexion().cerrar();
    Conexion().abrir(QStringLiteral("FILEDSN=") + dsn);
    for (const QString& s : sentencias)
        Conexion().ejecutar(s);
    Conexion().cerrar();
}

QString Bases::nueva()
{
    if (postgres_) {
        en(mantenimiento_, {QStringLiteral("DROP DATABASE IF EXISTS velmora_modelo WITH (FORCE)"),
                            QStringLiteral("CREATE DATABASE velmora_modelo TEMPLATE %1").arg(plantilla_)});
    } else {
        const QString archivo = carpeta_.filePath(QStringLiteral("modelo.db"));
        QFile::remove(archivo);
        if (!QFile::copy(plantilla_, archivo))
            throw std::runtime_error("cannot copy the fixture");
        QFile::setPermissions(archivo, QFile::ReadOwner | QFile::WriteOwner);
    }
    return dsn_;
}

Catalogo leer_catalogo()
{
    Catalogo c;
    const auto tabla = [](const QString& sql, std::map<int, QString>& destino) {
        for (Resultado r = Conexion().ejecutar(sql); !r.eof(); r.siguiente())
            destino[r.campo(0).toInt()] = r.campo(1).toString().trimmed();
    };
    tabla(QStringLiteral("SELECT id, perspectiva FROM perspectivas"), c.perspectivas);
    tabla(QStringLiteral("SELECT id, \"Departamento\" FROM departamentos"), c.departamentos);
    tabla(QStringLiteral("SELECT id, desempeño FROM desempeño"), c.desempenos);
    tabla(QStringLiteral("SELECT id, unidad FROM \"Tipo Unidad\""), c.unidades);
    for (Resultado r = Conexion().ejecutar(QStringLiteral("SELECT año FROM año ORDER BY año")); !r.eof(); r.siguiente())
        c.anios.push_back(r.campo(0).toInt());
    return c;
}

Estado leer_estado()
{
    Estado e;
    for (Resultado r = Conexion().ejecutar(QStringLiteral(
             "SELECT id, nombre, id_tipo, id_perspectiva, id_desempeno, id_unidad FROM indicador"));
         !r.eof(); r.siguiente()) {
        Indicador i;
        i.orden = r.campo(0).toLongLong();
        i.tipo = r.campo(2).toInt();
        if (!r.campo(3).isNull())
            i.perspectiva = r.campo(3).toInt();
        i.desempeno = r.campo(4).toInt();
        i.unidad = r.campo(5).toInt();
        e.indicadores[r.campo(1).toString()] = i;
    }
    for (Resultado r = Conexion().ejecutar(QStringLiteral(
             "SELECT i.nombre, d.id_departamento FROM indicador_departamento d JOIN indicador i ON i.id = d.id_indicador"));
         !r.eof(); r.siguiente())
        e.indicadores[r.campo(0).toString()].departamentos.insert(r.campo(1).toInt());
    // SQLite's driver hands a REAL over through 15 digits: its exact columns.
    const QString numeros = sqlite() ? QStringLiteral("r.valor_exacto, r.meta_exacta, r.linea_base_exacta")
                                     : QStringLiteral("r.valor, r.meta, r.linea_base");
    for (Resultado r = Conexion().ejecutar(
             QStringLiteral("SELECT i.nombre, r.id_departamento, y.año, r.mes, %1 FROM registro r "
                            "JOIN indicador i ON i.id = r.id_indicador JOIN año y ON y.id = r.id_anio")
                 .arg(numeros));
         !r.eof(); r.siguiente())
        e.registros[{r.campo(0).toString(), r.campo(1).toInt(), r.campo(2).toInt(), r.campo(3).toInt()}] = {
            numero(r.campo(4)), numero(r.campo(5)), numero(r.campo(6))};
    Resultado h = Conexion().ejecutar(QStringLiteral("SELECT coalesce(max(id), 0) FROM historial"));
    e.ultimo_historial = h.campo(0).toLongLong();
    return e;
}

Modelo modelo_de(const Estado& e, const Catalogo& c, int usuarios)
{
    Modelo m;
    m.catalogo = c;
    m.indicadores = e.indicadores;
    m.registros = e.registros;
    for (auto& [n, i] : m.indicadores) {
        i.generacion = m.siguiente_generacion++;
        m.siguiente_orden = std::max(m.siguiente_orden, i.orden + 1);
        m.en_historial.insert(n);
    }
    m.usuarios.resize(size_t(usuarios));
    return m;
}

namespace {

QString clave(const Clave& k)
{
    return QStringLiteral("%1|%2|%3|%4").arg(std::get<0>(k)).arg(std::get<1>(k)).arg(std::get<2>(k)).arg(std::get<3>(k));
}

QString mostrar(const Registro& r)
{
    return QStringLiteral("(valor %1, meta %2, base %3)").arg(modelo::mostrar(r.valor), modelo::mostrar(r.meta),
                                                              modelo::mostrar(r.base));
}

QString mostrar(const Indicador& i)
{
    QStringList d;
    for (int x : i.departamentos)
        d << QString::number(x);
    return QStringLiteral("(tipo %1, perspectiva %2, desempeño %3, unidad %4, departamentos %5)")
        .arg(i.tipo)
        .arg(i.perspectiva ? QString::number(*i.perspectiva) : QStringLiteral("-"))
        .arg(i.desempeno)
        .arg(i.unidad)
        .arg(d.join(u','));
}

void limitar(QStringList& l)
{
    if (l.size() > 12) {
        const qsizetype n = l.size();
        l = l.mid(0, 12);
        l << QStringLiteral("... %1 en total").arg(n);
    }
}

} // namespace

QStringList diferencias(const Modelo& m, const Estado& e)
{
    QStringList d;
    for (const auto& [n, i] : m.indicadores) {
        const auto it = e.indicadores.find(n);
        if (it == e.indicadores.end())
            d << QStringLiteral("falta el indicador %1").arg(n);
        else if (!(it->second == i))
            d << QStringLiteral("indicador %1: base %2, modelo %3").arg(n, mostrar(it->second), mostrar(i));
    }
    for (const auto& [n, i] : e.indicadores)
        if (!m.indicadores.count(n))
            d << QStringLiteral("sobra el indicador %1").arg(n);
    // Creation order: the lists and reports show it.
    std::vector<std::pair<long, QString>> orden;
    for (const auto& [n, i] : e.indicadores)
        orden.emplace_back(i.orden, n);
    std::sort(orden.begin(), orden.end());
    std::vector<QString> en_base;
    for (const auto& p : orden)
        en_base.push_back(p.second);
    if (d.isEmpty() && en_base != m.por_orden(0))
        d << QStringLiteral("los indicadores no están en el orden en que se crearon");
    for (const auto& [k, r] : m.registros) {
        const auto it = e.registros.find(k);
        if (it == e.registros.end())
            d << QStringLiteral("falta el registro %1").arg(clave(k));
        else if (!(it->second == r))
            d << QStringLiteral("registro %1: base %2, modelo %3").arg(clave(k), mostrar(it->second), mostrar(r));
    }
    for (const auto& [k, r] : e.registros)
        if (!m.registros.count(k))
            d << QStringLiteral("sobra el registro %1").arg(clave(k));
    limitar(d);
    return d;
}

Repaso::Repaso(const Estado& inicio) : numeros_(inicio.registros), ultimo_(inicio.ultimo_historial)
{
    for (const auto& [n, i] : inicio.indicadores) {
        campos_[n + QStringLiteral("|Tipo Indicador")] = double(i.tipo);
        campos_[n + QStringLiteral("|Perspectiva")] = i.perspectiva ? Num{double(*i.perspectiva)} : Num{};
        campos_[n + QStringLiteral("|Desempeño")] = double(i.desempeno);
        campos_[n + QStringLiteral("|Unidad")] = double(i.unidad);
        departamentos_[n] = i.departamentos;
    }
}

QStringList Repaso::seguir(const Estado& ahora)
{
    QStringList d;
    auto& campos = campos_;
    auto& departamentos = departamentos_;
    auto& numeros = numeros_;
    const QString antes = sqlite() ? QStringLiteral("antes_exacto, despues_exacto") : QStringLiteral("antes, despues");
    for (Resultado r = Conexion().ejecutar(
             QStringLiteral("SELECT id, indicador, id_departamento, anio, mes, campo, %1 FROM historial WHERE id > %2 "
                            "ORDER BY id")
                 .arg(antes)
                 .arg(ultimo_));
         !r.eof(); r.siguiente()) {
        const qint64 id = r.campo(0).toLongLong();
        ultimo_ = id;
        const QString n = r.campo(1).toString();
        const QString campo = r.campo(5).toString();
        const Num a = numero(r.campo(6)), b = numero(r.campo(7));
        Num* lugar = nullptr;
        if (campo == QStringLiteral("Departamento")) {
            std::set<int>& s = departamentos[n];
            const bool alta = !a && b;
            const int dep = int(alta ? *b : a ? *a : -1);
            if (alta == bool(s.count(dep)) || (!alta && !a))
                d << QStringLiteral("historial %1: %2 Departamento %3 no parte de lo anterior").arg(id).arg(n).arg(dep);
            if (alta)
                s.insert(dep);
            else
                s.erase(dep);
            continue;
        }
        if (r.campo(4).isNull()) {
            lugar = &campos[n + u'|' + campo];
        } else {
            Registro& x = numeros[{n, r.campo(2).toInt(), r.campo(3).toInt(), r.campo(4).toInt()}];
            lugar = campo == QStringLiteral("Valor") ? &x.valor
                  : campo == QStringLiteral("Meta")  ? &x.meta
                  : campo == QStringLiteral("Linea Base") ? &x.base
                                                           : nullptr;
        }
        if (!lugar) {
            d << QStringLiteral("historial %1: campo desconocido %2").arg(id).arg(campo);
            continue;
        }
        if (!mismos_bits(*lugar, a))
            d << QStringLiteral("historial %1: %2 %3 antes %4, lo anterior deja %5")
                     .arg(id)
                     .arg(n, campo, modelo::mostrar(a), modelo::mostrar(*lugar));
        *lugar = b;
    }
    // What the replay gives against what the database holds.
    for (const auto& [n, i] : ahora.indicadores) {
        const Num tipo = campos[n + QStringLiteral("|Tipo Indicador")];
        const Num persp = campos[n + QStringLiteral("|Perspectiva")];
        if (!mismos_bits(tipo, double(i.tipo)) || !mismos_bits(persp, i.perspectiva ? Num{double(*i.perspectiva)} : Num{})
            || !mismos_bits(campos[n + QStringLiteral("|Desempeño")], double(i.desempeno))
            || !mismos_bits(campos[n + QStringLiteral("|Unidad")], double(i.unidad))
            || departamentos[n] != i.departamentos)
            d << QStringLiteral("el historial no da el indicador %1 %2").arg(n, mostrar(i));
    }
    for (const auto& [k, v] : campos)
        if (v && k.endsWith(QStringLiteral("|Tipo Indicador")) && !ahora.indicadores.count(k.section(u'|', 0, 0)))
            d << QStringLiteral("el historial deja el indicador %1, que no está").arg(k.section(u'|', 0, 0));
    for (const auto& [k, r] : numeros) {
        const auto it = ahora.registros.find(k);
        const Registro actual = it == ahora.registros.end() ? Registro{} : it->second;
        if (!(actual == r))
            d << QStringLiteral("el historial da el registro %1 %2, la base tiene %3").arg(clave(k), mostrar(r), mostrar(actual));
    }
    limitar(d);
    return d;
}

} // namespace modelo
