#pragma once

#include <cstdint>

// xorshift32: a tiny generator whose sequence is the same on every machine and
// every run, so a render never depends on the C library's rand().
class Random {
public:
    explicit Random(uint32_t seed) : state(seed ? seed : 0x9e3779b9u) {}

    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }

    // Uniform in [-1, 1).
    double bipolar() { return next() / 2147483648.0 - 1.0; }
    // Uniform in [0, 1).
    double unit() { return next() / 4294967296.0; }

private:
    uint32_t state;
};

// Folds two numbers into one well-spread seed (each note gets its own noise).
inline uint32_t mixSeed(uint32_t a, uint32_t b) {
    uint32_t h = a * 0x9e3779b1u ^ (b + 0x7f4a7c15u + (a << 6) + (a >> 2));
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    h ^= h >> 16;
    return h;
}
