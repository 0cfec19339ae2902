#pragma once

#include <cstdint>

// The numbers glibc's rand() draws, on any C library: an additive feedback
// generator (each number the sum of those 3 and 31 places back) whose table
// a Park-Miller generator fills from the seed. The game's sparks, shakes, bomb
// colours and the Maimframe's jumps follow rand(), and the browser's C library
// (musl) draws other numbers than the native one.
class GlibcRandom {
public:
    explicit GlibcRandom(unsigned seed = 1) { reseed(seed); }

    // As srand(seed).
    void reseed(unsigned seed);
    // As rand(): 0 to 2^31 - 1.
    int next();

private:
    static constexpr int degree = 31;    // numbers in the table
    static constexpr int separation = 3; // the nearer of the two summed numbers
    std::int32_t table[degree] = {};
    int front = separation;  // the number next updated
    int rear = 0;            // the number added to it
};
