#include "transitions/shown_blocks.h"

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "transitions/reveal_frame.h"

namespace kpv {
namespace {

TEST(ShownBlocks, AllShownOnlyWhenEveryEntryIsMarkedInAnyOrder) {
    ShownBlocks shown(5);
    EXPECT_FALSE(shown.AllBlocksShown());
    for (int32_t k : {5, 3, 4, 2}) {
        shown.MarkShown(k);
        EXPECT_FALSE(shown.AllBlocksShown()) << k;
    }
    EXPECT_EQ(shown.FirstUnshown(), 1);
    shown.MarkShown(1);
    EXPECT_TRUE(shown.AllBlocksShown());
    EXPECT_EQ(shown.FirstUnshown(), 6);
}

TEST(ShownBlocks, HoleInTheMiddleKeepsItIncomplete) {
    ShownBlocks shown(4);
    for (int32_t k : {1, 2, 4}) shown.MarkShown(k);
    EXPECT_FALSE(shown.AllBlocksShown());
    EXPECT_EQ(shown.FirstUnshown(), 3);
    EXPECT_TRUE(shown.IsShown(4));
    EXPECT_FALSE(shown.IsShown(3));
}

TEST(ShownBlocks, EmptySetIsComplete) {
    EXPECT_TRUE(ShownBlocks(0).AllBlocksShown());
    EXPECT_TRUE(ShownBlocks(-4).AllBlocksShown());
}

TEST(RevealFrame, RuleThatStraysStillShowsEveryBlockOnce) {
    // A broken rule that repeats one block and then leaves the grid.
    ShownBlocks shown(6);
    int step = 0;
    const auto next = [&] { return step < 3 ? BlockPosition{2, 1} : BlockPosition{9, 9}; };
    std::vector<int64_t> order;
    RunRevealFrame(shown, 3, 2, next, [&] { ++step; },
                   [&](int32_t c, int32_t r) { order.push_back(BlockNumber({c, r}, 3)); });
    EXPECT_EQ(order, (std::vector<int64_t>{2, 1, 3, 4, 5, 6}));
    EXPECT_EQ(step, 6);  // the advance also runs after the last block
}

}  // namespace
}  // namespace kpv
