// Random numbers that come out bit for bit the same on every platform the core is built for: the
// xoshiro256** generator seeded by splitmix64, uniform and normal draws from it, and the
// logarithm they need, all from integer arithmetic and +, -, *, / and sqrt alone.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace calc_core {

// splitmix64: adds the golden-ratio increment to the state and returns the state mixed.
std::uint64_t SplitMix64(std::uint64_t& state);

// xoshiro256** (Blackman and Vigna, 2018). The state must not be all zero.
class Xoshiro256StarStar {
  public:
    explicit Xoshiro256StarStar(const std::array<std::uint64_t, 4>& state) : s_(state) {}

    std::uint64_t Next() {
        const std::uint64_t result = Rotate(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = Rotate(s_[3], 45);
        return result;
    }

  private:
    static std::uint64_t Rotate(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::array<std::uint64_t, 4> s_;
};

// The generator of one stream of a seed: its state is splitmix64's outputs 4i + 1 to 4i + 4 from
// the seed, so every stream of every seed starts apart, and stream i is found without running
// the ones before it.
Xoshiro256StarStar StreamOf(std::uint64_t seed, std::uint64_t stream);

// The top 53 bits k of a 64-bit output as (2k + 1 - 2^53) / 2^53: 2^53 equally likely values,
// symmetric about 0, strictly inside (-1, 1), each exact.
inline double SymmetricUnit(std::uint64_t bits) {
    const auto k = static_cast<std::int64_t>(bits >> 11);
    return static_cast<double>(2 * k + 1 - (std::int64_t{1} << 53)) * 0x1p-53;
}

// The natural logarithm of a positive finite x (subnormals included) from the bits of x and a
// series; within 1 ulp of the correctly rounded value (portable_random_test.cpp checks it
// against the C library's). 0 or below, an infinity or a NaN give a NaN.
double PortableLog(double x);

// The draws of one stream.
class PortableRandom {
  public:
    explicit PortableRandom(Xoshiro256StarStar generator) : generator_(generator) {}

    // Uniform in (-1, 1): SymmetricUnit of the next output.
    double Uniform() { return SymmetricUnit(generator_.Next()); }

    // Fills `out` with standard normals, each drawn again while |z| > limit (an infinite limit
    // keeps all), by Marsaglia's polar method: a pair (v1, v2) of Uniform() draws is redrawn
    // until 0 < s = v1^2 + v2^2 < 1, and v1 and v2 times sqrt(-2 ln(s) / s) are two independent
    // normals. The pairs for up to 16 normals are drawn first and their logarithms taken
    // together, so that these run side by side; the normals follow in the pairs' order, and
    // those left over after `out` is full are dropped.
    void Normals(std::span<double> out, double limit);

  private:
    Xoshiro256StarStar generator_;
};

} // namespace calc_core
