#include "transitions/transition_kind.h"

#include <cmath>
#include <map>

#include <gtest/gtest.h>

#include "scripted_random.h"
#include "transitions/transition_draw.h"

namespace kpv {
namespace {

TEST(TransitionNumberFromDraw, SpansOneToFifteen) {
    EXPECT_EQ(TransitionNumberFromDraw(0.0f), 1);
    EXPECT_EQ(TransitionNumberFromDraw(std::nextafter(1.0f, 0.0f)), 15);
    EXPECT_EQ(TransitionNumberFromDraw(1.0f / 15), 2);  // 1/15 as float is a hair above, so floor gives 2
    EXPECT_EQ(TransitionNumberFromDraw(0.5f), 8);
    EXPECT_EQ(TransitionNumberFromDraw(14.0f / 15), 15);
}

TEST(TransitionNumberFromDraw, HoldsAFaultyDrawInRange) {
    EXPECT_EQ(TransitionNumberFromDraw(1.0f), 15);
    EXPECT_EQ(TransitionNumberFromDraw(-0.5f), 1);
    EXPECT_EQ(TransitionNumberFromDraw(std::nanf("")), 1);
}

TEST(TransitionForNumber, FollowsTheTableOfFifteen) {
    using K = TransitionKind;
    const std::map<int, K> table = {
        {1, K::RevealRandomBlocks},          {2, K::RevealSpiralInward},
        {3, K::RevealSpiralOutward},         {4, K::RevealRowsFromTopLeft},
        {5, K::RevealRowsFromTopRight},      {6, K::RevealColumnsFromTopRight},
        {7, K::RevealColumnsFromBottomRight}, {8, K::RevealRowsFromBottomLeft},
        {9, K::RevealRowsFromBottomRight},   {10, K::RevealColumnsFromTopLeft},
        {11, K::RevealColumnsFromBottomLeft}, {12, K::RevealRandomBlocks},
        {13, K::RevealSpiralInward},         {14, K::RevealSpiralOutward},
        {15, K::RevealRandomBlocks},
    };
    for (const auto& [number, kind] : table) {
        EXPECT_EQ(TransitionForNumber(static_cast<int16_t>(number)), kind) << number;
    }
}

TEST(TransitionForNumber, ChancesAreThreeTwoTwoAndOneEach) {
    std::map<TransitionKind, int> counts;
    for (int16_t n = 1; n <= 15; ++n) ++counts[TransitionForNumber(n)];
    EXPECT_EQ(counts.size(), 11u);
    EXPECT_EQ(counts[TransitionKind::RevealRandomBlocks], 3);
    EXPECT_EQ(counts[TransitionKind::RevealSpiralInward], 2);
    EXPECT_EQ(counts[TransitionKind::RevealSpiralOutward], 2);
}

TEST(TransitionForNumber, NumberOutsideTheTableStillReveals) {
    EXPECT_EQ(TransitionForNumber(0), TransitionKind::RevealRandomBlocks);
    EXPECT_EQ(TransitionForNumber(16), TransitionKind::RevealRandomBlocks);
    EXPECT_EQ(TransitionForNumber(-1), TransitionKind::RevealRandomBlocks);
}

TEST(DrawTransitionNumber, ReseedsThenDrawsOnce) {
    testing::ScriptedRandom rng({0.2f, 0.9f});
    EXPECT_EQ(DrawTransitionNumber(rng), 4);  // floor(0.2 * 15 + 1)
    EXPECT_EQ(rng.Reseeds(), 1);
    EXPECT_EQ(rng.DrawsUsed(), 1u);
    EXPECT_EQ(DrawTransitionNumber(rng), 14);
    EXPECT_EQ(rng.Reseeds(), 2);
}

TEST(TransitionName, NamesEveryMember) {
    EXPECT_EQ(TransitionName(TransitionKind::RevealSpiralOutward), "RevealSpiralOutward");
    EXPECT_EQ(TransitionName(TransitionKind::RevealColumnsFromBottomLeft), "RevealColumnsFromBottomLeft");
    for (TransitionKind k : kAllTransitions) EXPECT_NE(TransitionName(k), "?");
}

}  // namespace
}  // namespace kpv
