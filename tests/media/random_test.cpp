#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "media/random.h"
#include "support/test_support.h"

namespace {

std::vector<int32_t> draws(int32_t seed, int32_t max, int count) {
    random_seed(seed);
    std::vector<int32_t> out;
    for (int i = 0; i < count; ++i) out.push_back(random(max));
    return out;
}

TEST(Random, GoldenSequencesAndTheToolPrintingThem) {
    EXPECT_EQ(draws(0, 99, 8), (std::vector<int32_t>{54, 78, 66, 37, 23, 62, 63, 42}));
    EXPECT_EQ(draws(12345, 1000, 8), (std::vector<int32_t>{279, 711, 663, 341, 585, 275, 302, 705}));
    EXPECT_EQ(draws(-1, INT32_MAX, 8),
              (std::vector<int32_t>{925398257, 897277412, 1598497663, 1879319581, 1080534267,
                                    142581160, 1515616826, 1248293651}));
    const command_result tool = run_command(std::string(ZORBEL_TOOL) + " rng 12345 4 1000");
    EXPECT_EQ(tool.exit_code, 0);
    EXPECT_EQ(tool.out, "279\n711\n663\n341\n");
    EXPECT_EQ(run_command(std::string(ZORBEL_TOOL) + " rng x 4 1000").exit_code, 2);
}

TEST(Random, SameSeedSameSequenceWhateverCameBefore) {
    random_reset();
    const std::vector<int32_t> first = draws(777, 500, 50);
    for (int i = 0; i < 1234; ++i) random(9);
    random_seed(3); random(100);
    EXPECT_EQ(draws(777, 500, 50), first);
}

TEST(Random, ResultsStayInRangeEvenBeforeSeeding) {
    random_reset();
    const int32_t unseeded = random(10);
    EXPECT_TRUE(unseeded >= 0 && unseeded <= 10) << unseeded;
    random_seed(99);
    for (int32_t max : {1, 2, 7, 1000, 65535, 1 << 30, INT32_MAX})
        for (int i = 0; i < 2000; ++i) {
            const int32_t r = random(max);
            ASSERT_TRUE(r >= 0 && r <= max) << r << " of " << max;
        }
    bool seen[3] = {};   // both ends of a small range come up
    for (int i = 0; i < 300; ++i) seen[random(2)] = true;
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
}

// A zero or negative maximum gives a fixed answer, yet each draw still advances the sequence.
TEST(Random, ZeroAndNegativeMaximaGiveFixedResultsAndStillAdvance) {
    const struct { int32_t max, result; } cases[] = {{0, 0}, {-1, INT32_MIN}, {INT32_MIN, INT32_MIN}};
    for (const auto& c : cases) {
        random_seed(42); random(5);
        const int32_t second = random(1000);
        random_seed(42);
        EXPECT_EQ(random(c.max), c.result) << c.max;
        EXPECT_EQ(random(1000), second) << c.max;
        for (int i = 0; i < 20; ++i) EXPECT_EQ(random(c.max), c.result) << c.max;
    }
}

}  // namespace
