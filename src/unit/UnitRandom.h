#pragma once
#include <cstdint>

namespace unit {

// A small seeded generator (splitmix64): the same seed gives the same sequence on every
// platform, which keeps the simulated engine and the fault injection reproducible.
class UnitRandom {
public:
    explicit UnitRandom(uint64_t seed = 0) : state_(seed) {}
    void reseed(uint64_t seed) { state_ = seed; }

    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // True with probability p (p <= 0 never, p >= 1 always).
    bool chance(double p) { return p > 0.0 && (p >= 1.0 || unit() < p); }
    // Uniform in [0, n), n > 0.
    uint32_t below(uint32_t n) { return static_cast<uint32_t>(next() % n); }

private:
    uint64_t state_;
};

} // namespace unit
