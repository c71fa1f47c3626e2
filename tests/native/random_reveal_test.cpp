#include <cmath>
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "scripted_random.h"
#include "transitions/block_position.h"
#include "transitions/random_block_draw.h"
#include "transitions/run_transition.h"

namespace kpv {
namespace {

using testing::ScriptedRandom;

// A draw that gives block k of n: the middle of k's slice of [0, 1).
float DrawFor(int32_t k, int32_t n) { return static_cast<float>((k - 0.5) / n); }

TEST(RandomReveal, BlockNumbersMapToColumnAndRowRowByRow) {
    EXPECT_EQ(PositionOfBlock(5, 4), (BlockPosition{1, 2}));
    EXPECT_EQ(PositionOfBlock(8, 4), (BlockPosition{4, 2}));   // remainder 0 is the last column
    EXPECT_EQ(PositionOfBlock(12, 4), (BlockPosition{4, 3}));
    EXPECT_EQ(PositionOfBlock(1, 4), (BlockPosition{1, 1}));
    EXPECT_EQ(PositionOfBlock(7, 1), (BlockPosition{1, 7}));
}

TEST(RandomReveal, DrawCoversOneToN) {
    EXPECT_EQ(BlockNumberFromDraw(0.0f, 12), 1);
    EXPECT_EQ(BlockNumberFromDraw(std::nextafter(1.0f, 0.0f), 12), 12);
    EXPECT_EQ(BlockNumberFromDraw(std::nextafter(1.0f, 0.0f), 1), 1);
    EXPECT_EQ(BlockNumberFromDraw(0.5f, 12), 7);
    EXPECT_EQ(BlockNumberFromDraw(1.0, 12), 12);
    EXPECT_EQ(BlockNumberFromDraw(-0.1, 12), 1);
}

TEST(RandomReveal, GridBeyondTwentyFourBitsStillReachesItsLastBlocks) {
    const float top = std::nextafter(1.0f, 0.0f);
    const int32_t n = (1 << 24) + 1000;
    // One draw alone tops out at block n - 1: block n would never come up.
    EXPECT_EQ(BlockNumberFromDraw(top, n), n - 1);

    ShownBlocks shown(n);
    for (int32_t k = 1; k < n; ++k) shown.MarkShown(k);
    ScriptedRandom scripted({top, top});
    EXPECT_EQ(DrawUnshownBlock(scripted, shown), n);
    EXPECT_EQ(scripted.DrawsUsed(), 2u);
}

TEST(RandomReveal, OrdinaryGridsTakeOneDrawPerAttempt) {
    ShownBlocks shown(1 << 24);
    ScriptedRandom scripted({std::nextafter(1.0f, 0.0f)});
    EXPECT_EQ(DrawUnshownBlock(scripted, shown), 1 << 24);
    EXPECT_EQ(scripted.DrawsUsed(), 1u);
}

TEST(RandomReveal, OneBlockIsShownWhateverTheDraw) {
    ScriptedRandom rng({0.73f});
    EXPECT_EQ(BlockOrder(TransitionKind::RevealRandomBlocks, 1, 1, rng), (std::vector<int32_t>{1}));
    EXPECT_EQ(rng.DrawsUsed(), 1u);
}

TEST(RandomReveal, ShowsTheDrawnBlocksAtTheirPositions) {
    const int32_t n = 12;
    std::vector<float> draws;
    for (int32_t k : {5, 8, 12, 1, 2, 3, 4, 6, 7, 9, 10, 11}) draws.push_back(DrawFor(k, n));
    ScriptedRandom rng(draws);
    std::vector<BlockPosition> shown;
    RunTransition(TransitionKind::RevealRandomBlocks, 4, 3, rng,
                  [&](int32_t c, int32_t r) { shown.push_back({c, r}); });
    ASSERT_EQ(shown.size(), 12u);
    EXPECT_EQ(shown[0], (BlockPosition{1, 2}));
    EXPECT_EQ(shown[1], (BlockPosition{4, 2}));
    EXPECT_EQ(shown[2], (BlockPosition{4, 3}));
    EXPECT_EQ(rng.DrawsUsed(), 12u);
    EXPECT_EQ(rng.Reseeds(), 0);
}

TEST(RandomReveal, DrawsOnShownBlocksOnlyDelay) {
    const int32_t n = 6;  // 3 x 2
    // 4, then 4 four more times, 2, 4, 2, 6, 1, 1, 3, 5: the order is 4 2 6 1 3 5.
    std::vector<float> draws;
    for (int32_t k : {4, 4, 4, 4, 4, 2, 4, 2, 6, 1, 1, 3, 5}) draws.push_back(DrawFor(k, n));
    ScriptedRandom rng(draws);
    EXPECT_EQ(BlockOrder(TransitionKind::RevealRandomBlocks, 3, 2, rng), (std::vector<int32_t>{4, 2, 6, 1, 3, 5}));
    EXPECT_EQ(rng.DrawsUsed(), draws.size());  // ends right after the last block, with no further draw
}

TEST(RandomReveal, OrderIsRoughlyUniform) {
    // Over many runs on 3 x 1, each block should come first about a third of the time.
    rt::ClockSeededRandom rng(99);
    std::map<int32_t, int> first;
    const int runs = 3000;
    for (int i = 0; i < runs; ++i) ++first[BlockOrder(TransitionKind::RevealRandomBlocks, 3, 1, rng).front()];
    for (int32_t k = 1; k <= 3; ++k) {
        EXPECT_GT(first[k], runs / 3 - 150) << k;
        EXPECT_LT(first[k], runs / 3 + 150) << k;
    }
}

}  // namespace
}  // namespace kpv
