#include "data/textos.h"

#include <QLocale>

#include <charconv>
#include <cmath>

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

QString texto_item(const QString& campo, int n)
{
    return (campo + QString(15, u' ')).left(n);
}

QString texto_celda(const QString& campo, int n)
{
    return (campo + QString(7, u' ')).left(n);
}

static QLocale locale_usuario()
{
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return l;
}

QString numero_a_texto(double numero)
{
    // Plain digits in the usual range, so a round 100000 is not shown as
    // "1E+05"; an exponent only for the very large and the very small.
    const double a = std::fabs(numero);
    const char forma = a == 0 || (a >= 1e-4 && a < 1e15) ? 'f' : 'g';
    return locale_usuario().toString(numero, forma, QLocale::FloatingPointShortest);
}

QString texto_valor(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return {};
    switch (valor.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return numero_a_texto(valor.toDouble());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return locale_usuario().toString(valor.toLongLong());
    default:
        return valor.toString();
    }
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
