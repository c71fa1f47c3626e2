// What the shows on several monitors share: the pictures each holds, one end, one mouse reference.
#include "show/show_group.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace kpv {
namespace {

TEST(ShowGroup, AShowHoldsWhatItShowsAndWhatItPreparedUntilTheNextReveal) {
    ShowGroup group;
    const int first = group.Join();
    const int second = group.Join();
    EXPECT_TRUE(group.HeldByOthers(first).empty());
    group.Prepared(second, 7);
    EXPECT_EQ(group.HeldByOthers(first), std::vector<int64_t>{7});
    EXPECT_TRUE(group.HeldByOthers(second).empty()) << "a show does not hold pictures against itself";
    group.Revealed(second);
    group.Prepared(second, 3);
    EXPECT_EQ(group.HeldByOthers(first), (std::vector<int64_t>{7, 3}));
    group.Revealed(second);
    EXPECT_EQ(group.HeldByOthers(first), std::vector<int64_t>{3}) << "the picture it covered is free again";
}

TEST(ShowGroup, OnlyTheFirstShowToEndEndsTheProgram) {
    ShowGroup group;
    std::vector<std::thread> shows;
    std::atomic<int> claims{0};
    for (int i = 0; i < 8; ++i) shows.emplace_back([&] { claims += group.ClaimEnd() ? 1 : 0; });
    for (auto& t : shows) t.join();
    EXPECT_EQ(claims.load(), 1);
}

TEST(ShowGroup, TheMouseIsMeasuredFromOneReferenceForEveryShow) {
    ShowGroup group;
    const auto at = [](int32_t x, int32_t y) { return [=] { return ScreenPoint{x, y}; }; };
    EXPECT_FALSE(group.MouseMoveEndsShow(at(1500, 300))) << "the first movement, on any monitor, takes it";
    EXPECT_FALSE(group.MouseMoveEndsShow(at(1510, 300)));
    EXPECT_TRUE(group.MouseMoveEndsShow(at(1511, 300)));
}

}  // namespace
}  // namespace kpv
