#include "transitions/run_transition.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "transitions/sweep_walk.h"

namespace kpv {
namespace {

using Order = std::vector<int32_t>;

Order OrderOf(TransitionKind kind, int32_t columns, int32_t rows) {
    rt::ClockSeededRandom rng(7);
    return BlockOrder(kind, columns, rows, rng);
}

Order Reversed(Order o) {
    std::reverse(o.begin(), o.end());
    return o;
}

Order Ascending(int32_t n) {
    Order o;
    for (int32_t k = 1; k <= n; ++k) o.push_back(k);
    return o;
}

// Each of 1..size exactly once.
bool IsPermutationOfAllBlocks(const Order& o) {
    std::vector<bool> seen(o.size() + 1, false);
    for (int32_t k : o) {
        if (k < 1 || k > static_cast<int32_t>(o.size()) || seen[static_cast<size_t>(k)]) return false;
        seen[static_cast<size_t>(k)] = true;
    }
    return true;
}

TEST(TransitionOrder, SweepsOnFourColumnsByThreeRows) {
    using K = TransitionKind;
    EXPECT_EQ(OrderOf(K::RevealRowsFromTopLeft, 4, 3), (Order{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(OrderOf(K::RevealRowsFromTopRight, 4, 3), (Order{4, 3, 2, 1, 8, 7, 6, 5, 12, 11, 10, 9}));
    EXPECT_EQ(OrderOf(K::RevealColumnsFromTopRight, 4, 3), (Order{4, 8, 12, 3, 7, 11, 2, 6, 10, 1, 5, 9}));
    EXPECT_EQ(OrderOf(K::RevealColumnsFromBottomRight, 4, 3), (Order{12, 8, 4, 11, 7, 3, 10, 6, 2, 9, 5, 1}));
    EXPECT_EQ(OrderOf(K::RevealRowsFromBottomLeft, 4, 3), (Order{9, 10, 11, 12, 5, 6, 7, 8, 1, 2, 3, 4}));
    EXPECT_EQ(OrderOf(K::RevealRowsFromBottomRight, 4, 3), (Order{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(OrderOf(K::RevealColumnsFromTopLeft, 4, 3), (Order{1, 5, 9, 2, 6, 10, 3, 7, 11, 4, 8, 12}));
    EXPECT_EQ(OrderOf(K::RevealColumnsFromBottomLeft, 4, 3), (Order{9, 5, 1, 10, 6, 2, 11, 7, 3, 12, 8, 4}));
}

TEST(TransitionOrder, SpiralsOnFourColumnsByThreeRows) {
    EXPECT_EQ(OrderOf(TransitionKind::RevealSpiralInward, 4, 3), (Order{4, 8, 12, 11, 10, 9, 5, 1, 2, 3, 7, 6}));
    EXPECT_EQ(OrderOf(TransitionKind::RevealSpiralOutward, 4, 3), (Order{6, 7, 3, 2, 1, 5, 9, 10, 11, 12, 8, 4}));
}

TEST(TransitionOrder, SpiralsOnFiveByFiveCloseInTheCentre) {
    const Order inward = {5, 10, 15, 20, 25, 24, 23, 22, 21, 16, 11, 6, 1, 2, 3, 4, 9, 14, 19, 18, 17, 12, 7, 8, 13};
    EXPECT_EQ(OrderOf(TransitionKind::RevealSpiralInward, 5, 5), inward);
    EXPECT_EQ(OrderOf(TransitionKind::RevealSpiralOutward, 5, 5), Reversed(inward));
}

TEST(TransitionOrder, SpiralEndingOnADownwardRunStillRetracesExactly) {
    EXPECT_EQ(OrderOf(TransitionKind::RevealSpiralInward, 3, 4), (Order{3, 6, 9, 12, 11, 10, 7, 4, 1, 2, 5, 8}));
    EXPECT_EQ(OrderOf(TransitionKind::RevealSpiralOutward, 3, 4), (Order{8, 5, 2, 1, 4, 7, 10, 11, 12, 9, 6, 3}));
}

TEST(TransitionOrder, OneRow) {
    using K = TransitionKind;
    const Order leftToRight = Ascending(6), rightToLeft = Reversed(Ascending(6));
    for (K k : {K::RevealRowsFromTopLeft, K::RevealRowsFromBottomLeft, K::RevealColumnsFromTopLeft,
                K::RevealColumnsFromBottomLeft, K::RevealSpiralOutward}) {
        EXPECT_EQ(OrderOf(k, 6, 1), leftToRight) << TransitionName(k);
    }
    for (K k : {K::RevealRowsFromTopRight, K::RevealRowsFromBottomRight, K::RevealColumnsFromTopRight,
                K::RevealColumnsFromBottomRight, K::RevealSpiralInward}) {
        EXPECT_EQ(OrderOf(k, 6, 1), rightToLeft) << TransitionName(k);
    }
}

TEST(TransitionOrder, OneColumn) {
    using K = TransitionKind;
    const Order topDown = Ascending(5), bottomUp = Reversed(Ascending(5));
    for (K k : {K::RevealRowsFromTopLeft, K::RevealRowsFromTopRight, K::RevealColumnsFromTopLeft,
                K::RevealColumnsFromTopRight, K::RevealSpiralInward}) {
        EXPECT_EQ(OrderOf(k, 1, 5), topDown) << TransitionName(k);
    }
    for (K k : {K::RevealRowsFromBottomLeft, K::RevealRowsFromBottomRight, K::RevealColumnsFromBottomLeft,
                K::RevealColumnsFromBottomRight, K::RevealSpiralOutward}) {
        EXPECT_EQ(OrderOf(k, 1, 5), bottomUp) << TransitionName(k);
    }
}

TEST(TransitionOrder, OneBlockIsShownOnceByEveryMember) {
    for (TransitionKind k : kAllTransitions) EXPECT_EQ(OrderOf(k, 1, 1), (Order{1})) << TransitionName(k);
}

TEST(TransitionOrder, GridWithoutBlocksReturnsAtOnce) {
    for (TransitionKind k : kAllTransitions) {
        int calls = 0;
        rt::ClockSeededRandom rng(1);
        for (auto [c, r] : {std::pair{0, 0}, std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, 4}}) {
            RunTransition(k, c, r, rng, [&](int32_t, int32_t) { ++calls; });
        }
        EXPECT_EQ(calls, 0) << TransitionName(k);
    }
}

TEST(TransitionOrder, PassesColumnAndRowOfEachBlock) {
    rt::ClockSeededRandom rng(3);
    std::vector<std::pair<int32_t, int32_t>> seen;
    RunTransition(TransitionKind::RevealColumnsFromBottomRight, 3, 2, rng,
                  [&](int32_t c, int32_t r) { seen.emplace_back(c, r); });
    EXPECT_EQ(seen, (std::vector<std::pair<int32_t, int32_t>>{{3, 2}, {3, 1}, {2, 2}, {2, 1}, {1, 2}, {1, 1}}));
}

TEST(TransitionOrder, StopsWhereTheBlockStepThrows) {
    rt::ClockSeededRandom rng(3);
    int calls = 0;
    EXPECT_THROW(RunTransition(TransitionKind::RevealSpiralInward, 10, 10, rng,
                               [&](int32_t, int32_t) {
                                   if (++calls == 4) throw std::runtime_error("program ended");
                               }),
                 std::runtime_error);
    EXPECT_EQ(calls, 4);
}

// Every order on every grid up to 40 x 40 shows each block exactly once, and the outward spiral is the
// inward one backwards.
TEST(TransitionOrder, EveryOrderVisitsEveryBlockOnceOnAllGridsUpTo40x40) {
    for (int32_t rows = 1; rows <= 40; ++rows) {
        for (int32_t columns = 1; columns <= 40; ++columns) {
            const int32_t n = columns * rows;
            for (TransitionKind k : kAllTransitions) {
                const Order o = OrderOf(k, columns, rows);
                ASSERT_EQ(static_cast<int32_t>(o.size()), n) << TransitionName(k) << " " << columns << "x" << rows;
                ASSERT_TRUE(IsPermutationOfAllBlocks(o)) << TransitionName(k) << " " << columns << "x" << rows;
            }
            const Order inward = OrderOf(TransitionKind::RevealSpiralInward, columns, rows);
            ASSERT_EQ(inward.front(), columns) << columns << "x" << rows;  // top-right block first
            ASSERT_EQ(OrderOf(TransitionKind::RevealSpiralOutward, columns, rows), Reversed(inward))
                << columns << "x" << rows;
        }
    }
}

TEST(TransitionOrder, LongThinSpiralsRetraceExactly) {
    for (auto [columns, rows] : {std::pair{1, 1000}, std::pair{1000, 1}, std::pair{2, 777}, std::pair{777, 2},
                                 std::pair{3, 501}, std::pair{501, 3}, std::pair{64, 48}, std::pair{97, 96}}) {
        const Order inward = OrderOf(TransitionKind::RevealSpiralInward, columns, rows);
        ASSERT_EQ(static_cast<int32_t>(inward.size()), columns * rows) << columns << "x" << rows;
        ASSERT_TRUE(IsPermutationOfAllBlocks(inward)) << columns << "x" << rows;
        ASSERT_EQ(OrderOf(TransitionKind::RevealSpiralOutward, columns, rows), Reversed(inward))
            << columns << "x" << rows;
    }
}

}  // namespace
}  // namespace kpv
