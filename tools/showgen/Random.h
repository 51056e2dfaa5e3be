#ifndef SHOWGEN_RANDOM_H
#define SHOWGEN_RANDOM_H

#include <cstdint>

// A small seeded generator (xorshift32), so that every run of the generator makes the same files.
class Random {
public:
    explicit Random(uint32_t seed) : state(seed != 0 ? seed : 1u) {}

    // Uniform in [0, 1).
    double unit()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state / 4294967296.0;
    }

    double between(double low, double high) { return low + (high - low) * unit(); }
    // Uniform in 0 .. count - 1.
    int below(int count) { return static_cast<int>(unit() * count); }
    bool chance(double probability) { return unit() < probability; }

private:
    uint32_t state;
};

#endif
