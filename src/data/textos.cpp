// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/textos.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <optional>

namespace velmora {

const QStringList& nombres_meses()
{
    static const QStringList meses = {
        QStringLiteral("Enero"),   QStringLiteral("Febrero"),    QStringLiteral("Marzo"),
        QStringLiteral("Abril"),   QStringLiteral("Mayo"),       QStringLiteral("Junio"),
        QStringLiteral("Julio"),   QStringLiteral("Agosto"),     QStringLiteral("Septiembre"),
        QStringLiteral("Octubre"), QStringLiteral("Noviembre"),  QStringLiteral("Diciembre"),
    };
    return meses;
}

namespace {

constexpr int kAnchoNumero = 15; // the cells most numbers go to

QLocale locale_usuario()
{
    // Built again only when the default locale changes, not once per number.
    thread_local std::optional<QLocale> base;
    thread_local QLocale sin_grupos;
    const QLocale actual;
    if (!base || !(*base == actual)) {
        base = actual;
        sin_grupos = actual;
        sin_grupos.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    }
    return sin_grupos;
}

// UTF-16 units taken by the first n code points.
qsizetype unidades(const QString& texto, int n)
{
    qsizetype i = 0;
    for (int cuenta = 0; i < texto.size() && cuenta < n; ++cuenta)
        i += texto.at(i).isHighSurrogate() && i + 1 < texto.size() && texto.at(i + 1).isLowSurrogate() ? 2 : 1;
    return i;
}

// The shortest text of the number that fits in n characters: whole when
// possible (plain digits first), else rounded and marked.
// "1,505" would read as a thousands group and be refused when sent back:
// the same value as "1,5050".
QString sin_grupo_aparente(QString texto, const QLocale& l)
{
    const qsizetype separador = texto.indexOf(l.decimalPoint());
    const qsizetype inicio = texto.startsWith(u'-') ? 1 : 0;
    if (separador > inicio && separador - inicio <= 3 && texto.size() - separador - 1 == 3
        && texto.at(inicio) != u'0')
        texto += u'0';
    return texto;
}

QString numero_ajustado(double numero, int n)
{
    const QLocale l = locale_usuario();
    const QString fijo = sin_grupo_aparente(l.toString(numero, 'f', QLocale::FloatingPointShortest), l);
    if (fijo.size() <= n)
        return fijo;
    const QString exponente = l.toString(numero, 'E', QLocale::FloatingPointShortest);
    if (exponente.size() <= n)
        return exponente;
    // Plain digits, rounded, while a decimal and the first significant digit
    // stay in sight; else digits and exponent, rounded.
    if (std::fabs(numero) >= 1e-4) {
        for (int decimales = n; decimales >= 1; --decimales) {
            const QString t = l.toString(numero, 'f', decimales);
            if (t.size() + 1 <= n)
                return t + MARCA_CORTE;
        }
    }
    for (int digitos = n; digitos >= 0; --digitos) {
        QString t = l.toString(numero, 'E', digitos);
        const qsizetype e = t.indexOf(u'E');
        t.insert(e, MARCA_CORTE);
        if (t.size() <= n)
            return t;
    }
    return cortar(fijo, n - 1) + MARCA_CORTE;
}

} // namespace

QString cortar(const QString& texto, int n)
{
    return texto.left(unidades(texto, qMax(n, 0)));
}

int largo(const QString& texto)
{
    return int(texto.toUcs4().size());
}

QString texto_item(const QString& campo, int n)
{
    return cortar(campo + QString(15, u' '), n);
}

QString texto_celda(const QString& campo, int n)
{
    qsizetype fin = campo.size();
    while (fin > 0 && campo.at(fin - 1) == u' ')
        --fin;
    const QString contenido = campo.left(fin);
    if (largo(contenido) <= n)
        return cortar(campo + QString(7, u' '), n);
    if (const std::optional<double> numero = a_numero(contenido))
        return cortar(numero_ajustado(*numero, n) + QString(7, u' '), n);
    return cortar(contenido, n);
}

QString numero_a_texto(double numero)
{
    // Plain digits where they fit a cell, so a round 100000 is not shown as
    // "1E+05"; an exponent only for the very large and the very small. Always
    // in full: the text reads back as the same number.
    const QLocale l = locale_usuario();
    const QString fijo = sin_grupo_aparente(l.toString(numero, 'f', QLocale::FloatingPointShortest), l);
    const double a = std::fabs(numero);
    if (fijo.size() <= kAnchoNumero || (a >= 1e-4 && a < 1e15) || !std::isfinite(numero))
        return fijo;
    return l.toString(numero, 'E', QLocale::FloatingPointShortest);
}

TipoNumero tipo_numero(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return TipoNumero::Ninguno;
    switch (valor.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return TipoNumero::Real;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return TipoNumero::Entero;
    default:
        return TipoNumero::Ninguno;
    }
}

QString texto_valor(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return {};
    switch (tipo_numero(valor)) {
    case TipoNumero::Real:
        return numero_a_texto(valor.toDouble());
    case TipoNumero::Entero:
        return locale_usuario().toString(valor.toLongLong());
    case TipoNumero::Ninguno:
        break;
    }
    return valor.toString();
}

namespace {

bool digito(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Digits from i on; returns how many.
qsizetype digitos(const QString& t, qsizetype& i)
{
    const qsizetype desde = i;
    while (i < t.size() && digito(t[i]))
        ++i;
    return i - desde;
}

} // namespace

std::optional<double> a_numero(const QString& texto)
{
    // The stores check typed numbers with this same rule, on both engines:
    // blanks around, a sign, digits with one decimal comma or point, an
    // exponent. Nothing else, so a grouped text is never read as another
    // number.
    qsizetype inicio = 0;
    qsizetype fin = texto.size();
    while (inicio < fin && texto[inicio] == u' ')
        ++inicio;
    while (fin > inicio && texto[fin - 1] == u' ')
        --fin;
    const QString t = texto.mid(inicio, fin - inicio);

    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    const qsizetype inicio_entero = i;
    const qsizetype enteros = digitos(t, i);
    qsizetype decimales = 0;
    const bool separador = i < t.size() && (t[i] == u',' || t[i] == u'.');
    if (separador) {
        ++i;
        decimales = digitos(t, i);
    }
    if (enteros + decimales == 0)
        return std::nullopt;
    const bool exponente = i < t.size() && (t[i] == u'e' || t[i] == u'E');
    if (exponente) {
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            ++i;
        if (digitos(t, i) == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    // "1.000", "12,500": one locale's thousands group, another's decimals.
    if (separador && !exponente && decimales == 3 && enteros >= 1 && enteros <= 3
        && t[inicio_entero] != u'0')
        return std::nullopt;

    QByteArray c = t.toLatin1();
    c.replace(',', '.');
    const char* p = c.constData();
    if (*p == '+') // from_chars takes no plus sign
        ++p;
    double d = 0;
    const auto [resto, error] = std::from_chars(p, c.constData() + c.size(), d);
    // Out of range either way: too large for a double, or so small that
    // it would be stored as zero; the engines refuse both.
    if (error != std::errc() || resto != c.constData() + c.size() || !std::isfinite(d))
        return std::nullopt;
    return d;
}

QString texto_guardado(const QString& texto)
{
    if (texto.trimmed().isEmpty())
        return {};
    if (const std::optional<double> numero = a_numero(texto))
        return numero_a_texto(*numero);
    return texto;
}

} // namespace velmora
