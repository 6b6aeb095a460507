// SPDX-License-Identifier: GPL-3.0-or-later
#include "reglas/decimal_exacto.h"

#include "data/textos.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace velmora {

namespace {

using Cifras = std::vector<std::uint8_t>;

int comparar_magnitud(const Cifras& a, const Cifras& b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return 0;
}

void quitar_ceros_altos(Cifras& a)
{
    while (!a.empty() && a.back() == 0)
        a.pop_back();
}

Cifras sumar(const Cifras& a, const Cifras& b)
{
    Cifras r;
    r.reserve(std::max(a.size(), b.size()) + 1);
    int acarreo = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()) || acarreo; ++i) {
        int s = acarreo + (i < a.size() ? a[i] : 0) + (i < b.size() ? b[i] : 0);
        acarreo = s / 10;
        r.push_back(static_cast<std::uint8_t>(s % 10));
    }
    return r;
}

// a - b for a >= b.
Cifras restar(const Cifras& a, const Cifras& b)
{
    Cifras r(a);
    int prestamo = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        int d = r[i] - prestamo - (i < b.size() ? b[i] : 0);
        prestamo = d < 0;
        r[i] = static_cast<std::uint8_t>(d + (prestamo ? 10 : 0));
    }
    quitar_ceros_altos(r);
    return r;
}

Cifras desplazar(const Cifras& a, long long ceros)
{
    Cifras r(static_cast<std::size_t>(ceros), 0);
    r.insert(r.end(), a.begin(), a.end());
    return r;
}

} // namespace

std::optional<DecimalExacto> DecimalExacto::leer(const QString& texto)
{
    if (!a_numero(texto))
        return std::nullopt;
    // The text is a number by the program's rule, so only its parts are left
    // to take apart: sign, digits around one separator, exponent.
    const QString t = texto.trimmed();
    DecimalExacto d;
    qsizetype i = 0;
    if (t[i] == u'+' || t[i] == u'-')
        d.negativo_ = t[i++] == u'-';
    long long decimales = 0;
    bool tras_separador = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u',' || c == u'.') {
            tras_separador = true;
        } else if (c >= u'0' && c <= u'9') {
            d.cifras_.push_back(static_cast<std::uint8_t>(c.unicode() - u'0'));
            decimales += tras_separador;
        } else {
            break; // the exponent
        }
    }
    std::reverse(d.cifras_.begin(), d.cifras_.end());
    long long exponente = 0;
    if (i < t.size()) {
        ++i;
        bool negativo = false;
        if (t[i] == u'+' || t[i] == u'-')
            negativo = t[i++] == u'-';
        // A zero may carry any exponent; any other number in range has one
        // near its own length, so a cap keeps this finite without changing it.
        for (; i < t.size(); ++i)
            exponente = std::min(exponente * 10 + (t[i].unicode() - u'0'), 1'000'000'000LL);
        if (negativo)
            exponente = -exponente;
    }
    d.exponente_ = exponente - decimales;
    d.normalizar();
    return d;
}

void DecimalExacto::normalizar()
{
    quitar_ceros_altos(cifras_);
    const auto bajos = std::find_if(cifras_.begin(), cifras_.end(), [](std::uint8_t c) { return c != 0; });
    exponente_ += bajos - cifras_.begin();
    cifras_.erase(cifras_.begin(), bajos);
    if (cifras_.empty()) {
        negativo_ = false;
        exponente_ = 0;
    }
}

int DecimalExacto::signo() const
{
    return cifras_.empty() ? 0 : negativo_ ? -1 : 1;
}

DecimalExacto DecimalExacto::operator-(const DecimalExacto& otro) const
{
    if (otro.signo() == 0)
        return *this;
    if (signo() == 0) {
        DecimalExacto r(otro);
        r.negativo_ = !r.negativo_;
        return r;
    }
    const long long e = std::min(exponente_, otro.exponente_);
    const Cifras a = desplazar(cifras_, exponente_ - e);
    const Cifras b = desplazar(otro.cifras_, otro.exponente_ - e);
    DecimalExacto r;
    r.exponente_ = e;
    if (negativo_ != otro.negativo_) { // a - (-b) = a + b
        r.cifras_ = sumar(a, b);
        r.negativo_ = negativo_;
    } else if (comparar_magnitud(a, b) >= 0) {
        r.cifras_ = restar(a, b);
        r.negativo_ = negativo_;
    } else {
        r.cifras_ = restar(b, a);
        r.negativo_ = !negativo_;
    }
    r.normalizar();
    return r;
}

DecimalExacto DecimalExacto::operator*(int factor) const
{
    DecimalExacto r(*this);
    if (factor < 0)
        r.negativo_ = !r.negativo_;
    const long long f = factor < 0 ? -static_cast<long long>(factor) : factor;
    long long acarreo = 0;
    for (std::uint8_t& c : r.cifras_) {
        const long long p = c * f + acarreo;
        c = static_cast<std::uint8_t>(p % 10);
        acarreo = p / 10;
    }
    for (; acarreo; acarreo /= 10)
        r.cifras_.push_back(static_cast<std::uint8_t>(acarreo % 10));
    r.normalizar();
    return r;
}

int DecimalExacto::comparar_razon(const DecimalExacto& num, const DecimalExacto& den, int limite)
{
    // num / den < limite / 100  <=>  100 num - limite den has den's sign reversed.
    return (num * 100 - den * limite).signo() * den.signo();
}

std::optional<double> DecimalExacto::razon(const DecimalExacto& num, const DecimalExacto& den)
{
    if (den.signo() == 0)
        return std::nullopt;
    if (num.signo() == 0)
        return 0.0;
    // Long division to 20 significant digits and a sticky digit for any
    // remainder: enough for the conversion to round as the exact quotient.
    constexpr long long CIFRAS = 21;
    const long long extra = std::max<long long>(
        0, static_cast<long long>(den.cifras_.size()) - static_cast<long long>(num.cifras_.size()) + CIFRAS);
    Cifras dividendo = desplazar(num.cifras_, extra);
    Cifras resto;
    std::string cociente;
    for (std::size_t i = dividendo.size(); i-- > 0;) {
        resto.insert(resto.begin(), dividendo[i]);
        quitar_ceros_altos(resto);
        int q = 0;
        while (comparar_magnitud(resto, den.cifras_) >= 0) {
            resto = restar(resto, den.cifras_);
            ++q;
        }
        if (q || !cociente.empty())
            cociente.push_back(static_cast<char>('0' + q));
    }
    long long exponente = num.exponente_ - extra - den.exponente_;
    if (!resto.empty()) {
        cociente.push_back('1');
        --exponente;
    }
    std::string texto = (num.negativo_ != den.negativo_ ? "-" : "") + cociente + 'e'
        + std::to_string(exponente);
    double d = 0;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), d);
    if (error == std::errc::result_out_of_range) {
        // Far below the smallest double is zero; far above is no number.
        const long long magnitud = exponente + static_cast<long long>(cociente.size());
        if (magnitud < 0)
            return 0.0;
        return std::nullopt;
    }
    if (error != std::errc() || fin != texto.data() + texto.size())
        return std::nullopt;
    return d;
}

} // namespace velmora
