// The generator's seeding, the logarithm and the normal draws.
#include "calc_core/portable_random.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace calc_core {
namespace {

constexpr std::uint64_t GoldenGamma = 0x9E3779B97F4A7C15;

// ln 2 split so that an exponent times the high part is exact: the high part's last 21 bits
// are zero.
constexpr double Ln2High = 0x1.62e42feep-1;
constexpr double Ln2Low = 0x1.a39ef35793c76p-33;
constexpr double Sqrt2 = 0x1.6a09e667f3bcdp+0;

// ln((1 + s) / (1 - s)) = 2s + s z P(z), z = s^2, P(z) = sum over j = 1 to 11 of
// 2 z^(j-1) / (2j + 1). With |s| <= 3 - 2 sqrt(2) = 0.1716 the first term left out,
// s * 2 z^12 / 25, is below 2^-65 of 2s.
constexpr double C1 = 2.0 / 3, C2 = 2.0 / 5, C3 = 2.0 / 7, C4 = 2.0 / 9, C5 = 2.0 / 11,
                 C6 = 2.0 / 13, C7 = 2.0 / 15, C8 = 2.0 / 17, C9 = 2.0 / 19, C10 = 2.0 / 21,
                 C11 = 2.0 / 23;

// P(z) by Estrin's scheme: pairs, then pairs of pairs, so that the products do not wait on each
// other in a chain.
double SeriesOf(double z) {
    const double z2 = z * z;
    const double z4 = z2 * z2;
    const double z8 = z4 * z4;
    const double low = (C1 + C2 * z) + (C3 + C4 * z) * z2;
    const double middle = (C5 + C6 * z) + (C7 + C8 * z) * z2;
    const double high = (C9 + C10 * z) + C11 * z2;
    return (low + middle * z4) + high * z8;
}

// std::bit_cast, which the WebAssembly build's C++ library lacks.
std::uint64_t BitsOf(double x) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}
double DoubleOf(std::uint64_t bits) {
    double x = 0;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

} // namespace

std::uint64_t SplitMix64(std::uint64_t& state) {
    state += GoldenGamma;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return z ^ (z >> 31);
}

Xoshiro256StarStar StreamOf(std::uint64_t seed, std::uint64_t stream) {
    // splitmix64's state after n outputs is seed + n * gamma (mod 2^64).
    std::uint64_t state = seed + 4 * stream * GoldenGamma;
    std::array<std::uint64_t, 4> words{};
    for (std::uint64_t& word : words) {
        word = SplitMix64(state);
    }
    // splitmix64 mixes distinct states to distinct outputs, so at most one word is 0: never all.
    return Xoshiro256StarStar(words);
}

// x = m * 2^e with m in (sqrt(2)/2, sqrt(2)], f = m - 1 exactly and s = f / (2 + f), so that
// ln m = 2s + s R with R = z P(z) above; 2s = f - f^2/2 + s f^2/2 is evaluated
// as fdlibm does, f - (f^2/2 - s (f^2/2 + R)), which keeps the result within 1 ulp.
double PortableLog(double x) {
    if (!(x > 0) || x == std::numeric_limits<double>::infinity()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    int exponent = 0;
    if (x < std::numeric_limits<double>::min()) {
        x *= 0x1p54; // a subnormal made normal, exactly
        exponent = -54;
    }
    const std::uint64_t bits = BitsOf(x);
    exponent += static_cast<int>(bits >> 52) - 1023;
    double m = DoubleOf((bits & 0x000FFFFFFFFFFFFF) | 0x3FF0000000000000);
    if (m > Sqrt2) {
        m *= 0.5;
        ++exponent;
    }
    const double f = m - 1;
    const double s = f / (2 + f);
    const double z = s * s;
    const double series = z * SeriesOf(z);
    const double halfSquare = 0.5 * f * f;
    const double e = exponent;
    return e * Ln2High - ((halfSquare - (s * (halfSquare + series) + e * Ln2Low)) - f);
}

void PortableRandom::Normals(std::span<double> out, double limit) {
    constexpr std::size_t MostPairs = 8;
    std::size_t filled = 0;
    while (filled < out.size()) {
        const std::size_t pairs = std::min(MostPairs, (out.size() - filled + 1) / 2);
        std::array<double, MostPairs> v1{};
        std::array<double, MostPairs> v2{};
        std::array<double, MostPairs> factor{};
        for (std::size_t p = 0; p < pairs; ++p) {
            double s = 0;
            do {
                v1[p] = Uniform();
                v2[p] = Uniform();
                s = v1[p] * v1[p] + v2[p] * v2[p];
            } while (s >= 1 || s == 0);
            factor[p] = s;
        }
        for (std::size_t p = 0; p < pairs; ++p) {
            factor[p] = std::sqrt(-2 * PortableLog(factor[p]) / factor[p]);
        }
        for (std::size_t p = 0; p < pairs; ++p) {
            for (double z : {v1[p] * factor[p], v2[p] * factor[p]}) {
                if (filled < out.size() && std::fabs(z) <= limit) {
                    out[filled++] = z;
                }
            }
        }
    }
}

} // namespace calc_core
