#include "web/GlibcRandom.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The browser build's rand() against the native one's, for the default seed,
// srand's special 0, small seeds and seeds past 2^31 (negative in the table).
TEST(GlibcRandom, DrawsWhatTheNativeRandDraws) {
    for (const unsigned seed : {1u, 0u, 99u, 20240607u, 2147483648u, 4000000000u}) {
        std::srand(seed);
        GlibcRandom browser(seed);
        int differing = 0;
        for (int i = 0; i < 10000; ++i)
            if (browser.next() != std::rand()) ++differing;
        EXPECT_EQ(0, differing) << "seed " << seed;
    }
    // A program that never seeds draws as after srand(1); so does the browser build.
    std::srand(1);
    GlibcRandom unseeded;
    EXPECT_EQ(std::rand(), unseeded.next());
}

}  // namespace
