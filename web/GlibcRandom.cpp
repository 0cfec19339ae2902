#include "web/GlibcRandom.h"

namespace {
constexpr std::int64_t parkMillerModulus = 2147483647;  // 2^31 - 1
constexpr std::int64_t parkMillerMultiplier = 16807;
// Schrage's split of the modulus, which keeps the products in range.
constexpr std::int64_t parkMillerQuotient = 127773;
constexpr std::int64_t parkMillerRemainder = 2836;
constexpr int warmUpRounds = 10;  // glibc throws away ten tables' worth of numbers
}  // namespace

void GlibcRandom::reseed(unsigned seed) {
    if (seed == 0) seed = 1;
    // A seed over 2^31 - 1 starts negative, as in glibc.
    std::int32_t word = static_cast<std::int32_t>(seed);
    table[0] = word;
    for (int i = 1; i < degree; ++i) {
        const std::int64_t hi = word / parkMillerQuotient;
        const std::int64_t lo = word % parkMillerQuotient;
        std::int64_t next = parkMillerMultiplier * lo - parkMillerRemainder * hi;
        if (next < 0) next += parkMillerModulus;
        word = static_cast<std::int32_t>(next);
        table[i] = word;
    }
    front = separation;
    rear = 0;
    for (int i = 0; i < warmUpRounds * degree; ++i) next();
}

int GlibcRandom::next() {
    // Unsigned: the sum wraps at 32 bits, as glibc's does.
    const std::uint32_t sum =
        static_cast<std::uint32_t>(table[front]) + static_cast<std::uint32_t>(table[rear]);
    table[front] = static_cast<std::int32_t>(sum);
    front = (front + 1) % degree;
    rear = (rear + 1) % degree;
    return static_cast<int>(sum >> 1);
}
