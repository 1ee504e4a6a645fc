// Random numbers for the built-in season that come out the same on every platform and standard
// library: a xoshiro256** generator seeded through splitmix64, with its own uniform and normal
// draws (the standard distributions differ between libraries) and an exponential made of
// arithmetic only (libm results may differ in the last bit between platforms).
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace standin::season {

// One splitmix64 step: a well-spread 64-bit value from any input.
constexpr std::uint64_t SplitMix(std::uint64_t x) noexcept {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A seed for an independent stream made of several values (the season seed, a date, a course).
constexpr std::uint64_t Mix(std::uint64_t a, std::uint64_t b = 0, std::uint64_t c = 0,
                            std::uint64_t d = 0) noexcept {
    std::uint64_t h = SplitMix(a);
    h = SplitMix(h ^ b);
    h = SplitMix(h ^ c);
    return SplitMix(h ^ d);
}

// e to the x from arithmetic alone: range reduction by ln 2 and a Taylor polynomial, exact to
// about 1e-15 relative for |x| <= 60 (beyond that the argument is clamped).
inline double DetExp(double x) noexcept {
    constexpr double kLn2 = 0.69314718055994530942;
    if (x > 60.0) {
        x = 60.0;
    } else if (x < -60.0) {
        x = -60.0;
    }
    const double k = std::floor(x / kLn2 + 0.5);
    const double r = x - k * kLn2;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 14; ++n) {
        term *= r / n;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

// Base-2 logarithm of a positive number from arithmetic alone: the exponent, then the
// mantissa through the atanh series (exact to about 1e-12).
inline double DetLog2(double x) noexcept {
    if (!(x > 0.0)) {
        return -1074.0;
    }
    int exponent = 0;
    const double m = std::frexp(x, &exponent); // x = m * 2^exponent, m in [0.5, 1)
    const double z = (m - 1.0) / (m + 1.0);
    const double z2 = z * z;
    double term = z;
    double sum = 0.0;
    for (int k = 0; k < 13; ++k) {
        sum += term / (2 * k + 1);
        term *= z2;
    }
    constexpr double kInvLn2 = 1.4426950408889634074;
    return exponent + 2.0 * sum * kInvLn2;
}

class TRandom {
public:
    explicit TRandom(std::uint64_t seed) noexcept {
        std::uint64_t s = seed;
        for (auto& word : state_) {
            s = SplitMix(s);
            word = s;
        }
    }

    // The next 64 random bits (xoshiro256**).
    std::uint64_t Next() noexcept {
        const std::uint64_t result = Rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotl(state_[3], 45);
        return result;
    }

    // 0 .. n-1 for n >= 1 (0 for anything smaller).
    int Below(int n) noexcept {
        if (n <= 1) {
            return 0;
        }
        return static_cast<int>(((Next() >> 32) * static_cast<std::uint64_t>(n)) >> 32);
    }
    // lo .. hi, both included.
    int Between(int lo, int hi) noexcept { return hi <= lo ? lo : lo + Below(hi - lo + 1); }
    // [0, 1) in steps of 2^-53.
    double Unit() noexcept { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    double Uniform(double lo, double hi) noexcept { return lo + (hi - lo) * Unit(); }
    bool Chance(double p) noexcept { return Unit() < p; }

    // About standard normal: the sum of four uniforms, centred and scaled to variance 1
    // (bounded at +-3.46, which suits race noise).
    double Normal() noexcept {
        const double sum = Unit() + Unit() + Unit() + Unit();
        return (sum - 2.0) * 1.7320508075688772;
    }
    double Normal(double mean, double sd) noexcept { return mean + sd * Normal(); }

    // An index drawn with the given non-negative weights; the last index when all are zero.
    template <class Weights>
    int Pick(const Weights& weights) noexcept {
        double total = 0.0;
        for (const auto w : weights) {
            total += static_cast<double>(w);
        }
        if (!(total > 0.0)) {
            return static_cast<int>(std::size(weights)) - 1;
        }
        double point = Unit() * total;
        int index = 0;
        for (const auto w : weights) {
            point -= static_cast<double>(w);
            if (point < 0.0) {
                return index;
            }
            ++index;
        }
        return index - 1;
    }

    // An element of a non-empty sequence.
    template <class Sequence>
    const auto& Of(const Sequence& items) noexcept {
        return items[static_cast<std::size_t>(Below(static_cast<int>(std::size(items))))];
    }

    template <class T>
    void Shuffle(std::vector<T>& items) noexcept {
        for (std::size_t i = items.size(); i > 1; --i) {
            const auto j = static_cast<std::size_t>(Below(static_cast<int>(i)));
            std::swap(items[i - 1], items[j]);
        }
    }

private:
    static constexpr std::uint64_t Rotl(std::uint64_t x, int k) noexcept {
        return (x << k) | (x >> (64 - k));
    }

    std::uint64_t state_[4];
};

} // namespace standin::season
