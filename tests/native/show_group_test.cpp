// What the shows of one run share: the list once it is made, the pictures each holds, the scan's messages
// one at a time through the primary show, one mouse reference and one end.
#include "show/show_group.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace kpv {
namespace {

TEST(ShowGroup, AShowHoldsWhatItShowsAndWhatItPreparedUntilTheNextReveal) {
    ShowGroup group(2);
    EXPECT_TRUE(group.HeldByOthers(0).empty());
    group.Prepared(1, 7);
    EXPECT_EQ(group.HeldByOthers(0), std::vector<int64_t>{7});
    EXPECT_TRUE(group.HeldByOthers(1).empty()) << "a show does not hold pictures against itself";
    group.Revealed(1);
    group.Prepared(1, 3);
    EXPECT_EQ(group.HeldByOthers(0), (std::vector<int64_t>{7, 3}));
    group.Revealed(1);
    EXPECT_EQ(group.HeldByOthers(0), std::vector<int64_t>{3}) << "the picture it covered is free again";
}

TEST(ShowGroup, TheListReachesEveryShowOnTheScreenAndOneThatComesLater) {
    ShowGroup group(2);
    std::vector<ShowSignal> first, second;
    group.Join(0, [&](ShowSignal s) { first.push_back(s); });
    EXPECT_EQ(group.Pictures(), nullptr);
    group.PublishPictures({L"C:\\P\\1.jpg"});
    EXPECT_EQ(first, std::vector<ShowSignal>{ShowSignal::PicturesReady});
    group.Join(1, [&](ShowSignal s) { second.push_back(s); });
    EXPECT_EQ(second, std::vector<ShowSignal>{ShowSignal::PicturesReady});
    ASSERT_NE(group.Pictures(), nullptr);
    EXPECT_EQ(*group.Pictures(), std::vector<std::wstring>{L"C:\\P\\1.jpg"});
}

TEST(ShowGroup, TheScanWaitsForEachMessageToBeClosedOnThePrimaryShow) {
    ShowGroup group(2);
    std::atomic<int> toldPrimary{0}, toldOther{0};
    group.Join(1, [&](ShowSignal s) { toldOther += s == ShowSignal::ScanMessage; });
    group.Join(0, [&](ShowSignal s) { toldPrimary += s == ShowSignal::ScanMessage; });
    std::vector<bool> answers;
    std::thread scan([&] {
        answers.push_back(group.AskPrimaryToShow(L"first (5)"));
        answers.push_back(group.AskPrimaryToShow(L"second (5)"));
    });
    std::vector<std::wstring> shown;
    while (shown.size() < 2) {
        if (auto text = group.TakeMessageToShow()) {
            EXPECT_FALSE(group.TakeMessageToShow()) << "one at a time";
            shown.push_back(*text);
            group.MessageShown();
        }
        std::this_thread::yield();
    }
    scan.join();
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"first (5)", L"second (5)"}));
    EXPECT_EQ(answers, (std::vector<bool>{true, true}));
    EXPECT_EQ(toldPrimary.load(), 2);
    EXPECT_EQ(toldOther.load(), 0);
}

TEST(ShowGroup, AnEndWhileAMessageWaitsStopsTheScanAndTheFirstReasonHolds) {
    ShowGroup group(1);
    group.Join(0, [](ShowSignal) {});
    std::atomic<bool> answer{true};
    std::thread scan([&] { answer = group.AskPrimaryToShow(L"never closed"); });
    while (!group.TakeMessageToShow()) std::this_thread::yield();
    EXPECT_TRUE(group.End(RunEnd::Input));
    scan.join();
    EXPECT_FALSE(answer.load());
    EXPECT_FALSE(group.End(RunEnd::NoPictures));
    EXPECT_EQ(group.WaitForEnd(), RunEnd::Input);
    EXPECT_FALSE(ShowGroup(1).AskPrimaryToShow(L"no show to show it")) << "never a wait without a show";
}

TEST(ShowGroup, OnlyTheFirstEndCountsWhicheverThreadsAsk) {
    ShowGroup group;
    std::vector<std::thread> shows;
    std::atomic<int> firsts{0};
    for (int i = 0; i < 8; ++i) shows.emplace_back([&] { firsts += group.End(RunEnd::Input) ? 1 : 0; });
    for (auto& t : shows) t.join();
    EXPECT_EQ(firsts.load(), 1);
}

TEST(ShowGroup, TheMouseIsMeasuredFromOneReferenceForEveryShow) {
    ShowGroup group;
    const auto at = [](int32_t x, int32_t y) { return [=] { return ScreenPoint{x, y}; }; };
    EXPECT_FALSE(group.MouseMoveEndsShow(at(1500, 300))) << "the first movement, on any monitor, takes it";
    EXPECT_FALSE(group.MouseMoveEndsShow(at(1510, 300)));
    EXPECT_TRUE(group.MouseMoveEndsShow(at(1511, 300)));
    group.ForgetMouseReference();  // a message box was answered
    EXPECT_FALSE(group.MouseMoveEndsShow(at(900, 500)));
    EXPECT_TRUE(group.MouseMoveEndsShow(at(900, 489)));
}

}  // namespace
}  // namespace kpv
