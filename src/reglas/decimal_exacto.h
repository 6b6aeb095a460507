// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace velmora {

// A number text held exactly as the decimal it spells, so that a ratio of
// such numbers lands on the side of a band limit that the written figures
// give, not the side binary rounding happens to give.
class DecimalExacto final {
public:
    // nullopt for a text that a_numero does not read as a number.
    static std::optional<DecimalExacto> leer(const QString& texto);

    int signo() const;
    DecimalExacto operator-(const DecimalExacto& otro) const;
    DecimalExacto operator*(int factor) const;

    // The sign of num / den - limite / 100, exactly; den must not be zero.
    static int comparar_razon(const DecimalExacto& num, const DecimalExacto& den, int limite);
    // num / den correctly rounded to a double; nullopt when den is zero or
    // the quotient is too large for a double.
    static std::optional<double> razon(const DecimalExacto& num, const DecimalExacto& den);

private:
    bool negativo_ = false;
    std::vector<std::uint8_t> cifras_; // least significant first, no zeros at either end
    long long exponente_ = 0;          // value = cifras * 10^exponente

    void normalizar();
};

} // namespace velmora
