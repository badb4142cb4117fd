// The game's random generator: the exact sequence matters, since recorded sessions replay it.
#include "game/text/Rand.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Vel;

std::vector<int> Draws(int n)
{
    std::vector<int> out;
    for (int i = 0; i < n; ++i)
        out.push_back(Rand());
    return out;
}

TEST(RandTest, FollowsTheLinearCongruentialSequence)
{
    // Worked by hand: 1 * 214013 + 2531011 = 2745024, and 2745024 >> 16 = 41; and so on.
    SeedRand(1);
    EXPECT_EQ(Draws(5), (std::vector<int>{41, 18467, 6334, 26500, 19169}));
    // The state wraps modulo 2^32 instead of overflowing.
    SeedRand(0xFFFFFFFFu);
    EXPECT_EQ(Draws(3), (std::vector<int>{35, 29739, 3374}));
}

TEST(RandTest, SavedStateReplaysTheSameDraws)
{
    SeedRand(123456789u);
    Draws(17);
    const uint32_t saved = RandState();
    const std::vector<int> first = Draws(100);
    SeedRand(saved);
    EXPECT_EQ(Draws(100), first);
    for (int value : first) {
        EXPECT_GE(value, 0);
        EXPECT_LE(value, kRandMax);
    }
}

} // namespace
