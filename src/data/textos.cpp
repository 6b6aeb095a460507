#include "data/textos.h"

#include <QLocale>

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

std::optional<double> a_numero(const QString& texto)
{
    const QString t = texto.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    double d = locale_usuario().toDouble(t, &ok);
    if (!ok) // a full stop typed in a locale with a decimal comma still reads
        d = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}
