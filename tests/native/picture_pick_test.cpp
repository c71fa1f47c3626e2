#include "show/picture_pick.h"

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scripted_random.h"

namespace kpv {
namespace {

using testing::ScriptedRandom;

std::vector<std::wstring> Paths(int n) {
    std::vector<std::wstring> list;
    for (int i = 0; i < n; ++i) list.push_back(L"C:\\pics\\" + std::to_wstring(i) + L".jpg");
    return list;
}

TEST(PickPictureIndex, FirstPreparationAcceptsAnyEntry) {
    const auto list = Paths(4);
    ScriptedRandom rng({0.0f});
    EXPECT_EQ(PickPictureIndex(list, L"", rng), 0);
    ScriptedRandom high({0.99f});
    EXPECT_EQ(PickPictureIndex(list, L"", high), 3);
    EXPECT_EQ(rng.Reseeds(), 0);  // the caller reseeds
}

TEST(PickPictureIndex, RedrawsWhileTheDrawHitsTheLastPicture) {
    const auto list = Paths(4);
    ScriptedRandom rng({0.5f, 0.6f, 0.74f, 0.75f});  // 2, 2, 2, then 3
    EXPECT_EQ(PickPictureIndex(list, list[2], rng), 3);
    EXPECT_EQ(rng.DrawsUsed(), 4u);
}

TEST(PickPictureIndex, ComparesPathsExactlyWithCase) {
    const std::vector<std::wstring> list = {L"C:\\A.JPG", L"C:\\a.jpg"};
    ScriptedRandom rng({0.0f});
    EXPECT_EQ(PickPictureIndex(list, L"C:\\a.jpg", rng), 0);
}

TEST(PickPictureIndex, TwoEntriesAlternate) {
    const auto list = Paths(2);
    ScriptedRandom rng({0.1f, 0.2f, 0.9f, 0.3f, 0.95f, 0.97f, 0.4f});
    std::wstring last;
    std::vector<int64_t> picks;
    for (int i = 0; i < 4; ++i) {
        const int64_t k = PickPictureIndex(list, last, rng);
        picks.push_back(k);
        last = list[static_cast<size_t>(k)];
    }
    EXPECT_EQ(picks, (std::vector<int64_t>{0, 1, 0, 1}));
}

TEST(PickPictureIndex, SingleEntryAcceptsTheRepeatInsteadOfLoopingForever) {
    const auto list = Paths(1);
    ScriptedRandom rng({0.3f});
    EXPECT_EQ(PickPictureIndex(list, list[0], rng), 0);
    EXPECT_EQ(rng.DrawsUsed(), 1u);

    const std::vector<std::wstring> copies(3, L"C:\\same.bmp");
    ScriptedRandom rng2({0.7f});
    EXPECT_EQ(PickPictureIndex(copies, copies[0], rng2), 2);
}

TEST(PickPictureIndex, ReachesEntriesBeyondSixteenBitIndices) {
    const std::vector<std::wstring> list(100000, L"x");
    ScriptedRandom rng({std::nextafter(1.0f, 0.0f), 0.5f});
    EXPECT_EQ(PickPictureIndex(list, L"", rng), 99999);
    EXPECT_EQ(PickPictureIndex(list, L"", rng), 50000);
}

TEST(PickPictureIndex, EmptyListGivesNoIndex) {
    ScriptedRandom rng({});
    EXPECT_EQ(PickPictureIndex({}, L"", rng), -1);
}

TEST(PickPictureIndex, NeverRepeatsWithTheRealGenerator) {
    const auto list = Paths(3);
    rt::ClockSeededRandom rng(12345);
    std::wstring last;
    std::set<int64_t> seen;
    for (int i = 0; i < 300; ++i) {
        const int64_t k = PickPictureIndex(list, last, rng);
        ASSERT_NE(list[static_cast<size_t>(k)], last);
        last = list[static_cast<size_t>(k)];
        seen.insert(k);
    }
    EXPECT_EQ(seen.size(), 3u);
}

}  // namespace
}  // namespace kpv
