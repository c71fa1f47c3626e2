// What the shows of one run share: the list once it is made, the pictures each holds, the run's messages
// one at a time through the primary show while the others stand still, one mouse reference and one end.
#include "show/show_group.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>
#include <vector>

namespace kpv {
namespace {

TEST(ShowGroup, AShowHoldsWhatItShowsAndWhatItPreparedUntilTheNextReveal) {
    using Paths = std::vector<std::wstring>;
    ShowGroup group(2);
    EXPECT_TRUE(group.HeldByOthers(0).empty());
    group.Prepared(1, L"7.jpg");
    EXPECT_EQ(group.HeldByOthers(0), Paths{L"7.jpg"});
    EXPECT_TRUE(group.HeldByOthers(1).empty()) << "a show does not hold pictures against itself";
    group.Revealed(1);
    group.Prepared(1, L"3.jpg");
    EXPECT_EQ(group.HeldByOthers(0), (Paths{L"7.jpg", L"3.jpg"}));
    group.Revealed(1);
    EXPECT_EQ(group.HeldByOthers(0), Paths{L"3.jpg"}) << "the picture it covered is free again";
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

TEST(ShowGroup, TheScanWaitsForEachMessageToBeClosedOnThePrimaryShowWhileTheOthersStandStill) {
    ShowGroup group(2);
    std::atomic<int> toldPrimary{0}, toldOther{0}, otherStill{0};
    group.Join(1, [&](ShowSignal s) {
        toldOther += s == ShowSignal::MessageWaiting;
        otherStill += s == ShowSignal::MessageUp ? 1 : s == ShowSignal::MessageDown ? -1 : 0;
    });
    group.Join(0, [&](ShowSignal s) { toldPrimary += s == ShowSignal::MessageWaiting; });
    std::vector<bool> answers;
    std::thread scan([&] {
        answers.push_back(group.AskPrimaryToShow(L"first (5)"));
        answers.push_back(group.AskPrimaryToShow(L"second (5)"));
    });
    std::vector<std::wstring> shown;
    while (shown.size() < 2) {
        if (auto text = group.TakeMessageToShow()) {
            EXPECT_FALSE(group.TakeMessageToShow()) << "one at a time";
            EXPECT_TRUE(group.MessageUp());
            EXPECT_EQ(otherStill.load(), 1) << "the other show stands still while the box is up";
            shown.push_back(*text);
            group.MessageShown();
            EXPECT_EQ(otherStill.load(), 0);
        }
        std::this_thread::yield();
    }
    scan.join();
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"first (5)", L"second (5)"}));
    EXPECT_EQ(answers, (std::vector<bool>{true, true}));
    EXPECT_EQ(toldPrimary.load(), 2);
    EXPECT_EQ(toldOther.load(), 0);
}

// A failure off the show threads: the primary show tells it, then the run ends for it, once.
TEST(ShowGroup, AFailureIsToldByThePrimaryShowAndThenEndsTheRun) {
    ShowGroup group(2);
    std::vector<ShowSignal> told;
    group.Join(0, [&](ShowSignal s) { told.push_back(s); });
    group.ShowAndEnd(L"failed (7)", RunEnd::Failure);
    EXPECT_EQ(group.Ended(), RunEnd::None) << "not before the user has read it";
    ASSERT_EQ(group.TakeMessageToShow(), std::optional<std::wstring>(L"failed (7)"));
    group.MessageShown();
    EXPECT_EQ(group.Ended(), RunEnd::Failure);
    EXPECT_EQ(told, (std::vector<ShowSignal>{ShowSignal::MessageWaiting, ShowSignal::CloseSilently}));

    ShowGroup nobody(1);
    nobody.ShowAndEnd(L"failed (7)", RunEnd::Failure);
    EXPECT_EQ(nobody.Ended(), RunEnd::Failure) << "with no show to tell it, the run ends at once";
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
    std::atomic<int> hooks{0};
    group.OnEnd([&](RunEnd why) { hooks += why == RunEnd::Input ? 1 : 100; });
    std::vector<std::thread> shows;
    std::atomic<int> firsts{0};
    for (int i = 0; i < 8; ++i) shows.emplace_back([&] { firsts += group.End(RunEnd::Input) ? 1 : 0; });
    for (auto& t : shows) t.join();
    EXPECT_EQ(firsts.load(), 1);
    EXPECT_EQ(hooks.load(), 1) << "every stop flag is raised once, by the end itself";
}

// The end is stamped when it is called, and every show is told to close: one that is up, and one that
// joins only afterwards.
TEST(ShowGroup, TheEndIsStampedWhenItComesAndReachesAShowThatJoinsLater) {
    ShowGroup group(2);
    std::vector<ShowSignal> first, late;
    group.Join(0, [&](ShowSignal s) { first.push_back(s); });
    const auto before = ShowGroup::Clock::now();
    group.End(RunEnd::Input);
    const auto after = ShowGroup::Clock::now();
    EXPECT_GE(group.EndedAt(), before);
    EXPECT_LE(group.EndedAt(), after);
    group.Join(1, [&](ShowSignal s) { late.push_back(s); });
    EXPECT_EQ(first, std::vector<ShowSignal>{ShowSignal::Close});
    EXPECT_EQ(late, std::vector<ShowSignal>{ShowSignal::Close});
    group.PublishPictures({L"C:\\P\\1.jpg"});
    EXPECT_EQ(late.size(), 1u) << "nothing after the end";
}

TEST(ShowGroup, TheMouseIsMeasuredFromOneReferenceForEveryShow) {
    ShowGroup group;
    const auto at = [](int32_t x, int32_t y) { return [=] { return ScreenPoint{x, y}; }; };
    EXPECT_FALSE(group.MouseMoveEndsShow(at(1500, 300))) << "the first movement, on any monitor, takes it";
    EXPECT_FALSE(group.MouseMoveEndsShow(at(1510, 300)));
    EXPECT_TRUE(group.MouseMoveEndsShow(at(1511, 300)));
    // While a box of the run is up no movement ends the show; once it is answered, the next movement takes a
    // new reference.
    group.Join(0, [](ShowSignal) {});
    std::thread scan([&] { group.AskPrimaryToShow(L"locked (5)"); });
    while (!group.TakeMessageToShow()) std::this_thread::yield();
    EXPECT_FALSE(group.MouseMoveEndsShow(at(300, 300)));
    EXPECT_FALSE(group.MouseMoveEndsShow(at(900, 500)));
    group.MessageShown();
    scan.join();
    EXPECT_FALSE(group.MouseMoveEndsShow(at(900, 500)));
    EXPECT_TRUE(group.MouseMoveEndsShow(at(900, 489)));
}

}  // namespace
}  // namespace kpv
