// Passing over pictures that cannot be loaded: another one is drawn until one loads or all were tried.
#include "show/picture_attempts.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/base/random.h"
#include "scripted_random.h"

namespace kpv {
namespace {

using testing::ScriptedRandom;

std::vector<std::wstring> Paths(int n) {
    std::vector<std::wstring> list;
    for (int i = 0; i < n; ++i) list.push_back(L"C:\\p\\" + std::to_wstring(i) + L".jpg");
    return list;
}

TEST(PickLoadablePicture, TheOrdinaryPickWhenEverythingLoads) {
    const auto list = Paths(4);
    ScriptedRandom rng({0.5f, 0.8f});  // 2 is the last picture, so 3
    std::vector<int64_t> tried;
    const int64_t got = PickLoadablePicture(list, list[2], rng, [&](int64_t i) { tried.push_back(i); return true; });
    EXPECT_EQ(got, 3);
    EXPECT_EQ(tried, std::vector<int64_t>({3}));
}

TEST(PickLoadablePicture, AFailedPictureIsPassedOverAndNeverTriedTwice) {
    const auto list = Paths(4);
    ScriptedRandom rng({0.0f, 0.0f, 0.0f, 0.0f});  // 0 fails; every later draw takes the first untried
    std::vector<int64_t> tried;
    const int64_t got =
        PickLoadablePicture(list, L"", rng, [&](int64_t i) { tried.push_back(i); return i == 1; });
    EXPECT_EQ(got, 1);
    ASSERT_FALSE(tried.empty());
    EXPECT_EQ(tried.front(), 0);
    EXPECT_EQ(std::set<int64_t>(tried.begin(), tried.end()).size(), tried.size());
}

// Entries known to have failed earlier in the run are never tried again, and a search given up ends at once.
TEST(PickLoadablePicture, KnownFailuresAreSkippedAndAGivenUpSearchEnds) {
    const auto list = Paths(6);
    rt::ClockSeededRandom rng(13);
    PickRules rules{.knownFailed = [](int64_t i) { return i != 4; }};
    std::vector<int64_t> tried;
    EXPECT_EQ(PickLoadablePicture(list, L"", rng, [&](int64_t i) { tried.push_back(i); return true; }, rules), 4);
    EXPECT_EQ(tried, std::vector<int64_t>{4});

    int attempts = 0;
    rules = PickRules{.keepGoing = [&] { return attempts < 2; }};
    EXPECT_EQ(PickLoadablePicture(list, L"", rng, [&](int64_t) { ++attempts; return false; }, rules), -1);
    EXPECT_EQ(attempts, 2);
}

TEST(PickLoadablePicture, EveryEntryFailingTriesEachOnceThenGivesUp) {
    const auto list = Paths(50);
    rt::ClockSeededRandom rng(7);
    std::multiset<int64_t> tried;
    const int64_t got = PickLoadablePicture(list, list[3], rng, [&](int64_t i) { tried.insert(i); return false; });
    EXPECT_EQ(got, -1);
    EXPECT_EQ(tried.size(), 50u);
    EXPECT_EQ(std::set<int64_t>(tried.begin(), tried.end()).size(), 50u);
}

TEST(PickLoadablePicture, TheLastPictureComesOnlyWhenNothingElseLoads) {
    const auto list = Paths(3);
    rt::ClockSeededRandom rng(11);
    std::vector<int64_t> tried;
    const int64_t got =
        PickLoadablePicture(list, list[1], rng, [&](int64_t i) { tried.push_back(i); return i == 1; });
    EXPECT_EQ(got, 1);
    ASSERT_EQ(tried.size(), 3u);
    EXPECT_EQ(tried.back(), 1);
}

TEST(PickLoadablePicture, ASinglePictureIsShownAgain) {
    const std::vector<std::wstring> list = {L"C:\\only.jpg"};
    ScriptedRandom rng({0.9f});
    EXPECT_EQ(PickLoadablePicture(list, list[0], rng, [](int64_t) { return true; }), 0);
}

// A share that went away after the scan: nearly every entry fails. The search stays linear in the list,
// counted in calls of every predicate it is given, with other monitors holding pictures too.
TEST(PickLoadablePicture, AHugeListThatMostlyFailsCostsAFewCallsPerEntry) {
    ScriptedRandom none({});
    EXPECT_EQ(PickLoadablePicture({}, L"", none, [](int64_t) { return true; }), -1);
    const auto list = Paths(100000);
    rt::ClockSeededRandom rng(3);
    int64_t calls = 0;
    const auto loads = [](int64_t i) { return i % 10000 == 9999; };  // 10 of 100,000
    PickRules rules{.heldElsewhere = [&](int64_t i) { ++calls; return i == 19999; },
                    .knownFailed = [&](int64_t) { ++calls; return false; },
                    .keepGoing = [&] { ++calls; return true; }};
    const int64_t got = PickLoadablePicture(list, L"", rng, [&](int64_t i) { ++calls; return loads(i); }, rules);
    EXPECT_TRUE(loads(got)) << got;
    EXPECT_NE(got, 19999) << "another monitor's picture only when nothing else loads";
    EXPECT_LE(calls, 6 * 100000);
    calls = 0;
    EXPECT_EQ(PickLoadablePicture(list, L"", rng, [&](int64_t) { ++calls; return false; }, rules), -1);
    EXPECT_LE(calls, 6 * 100000);
}

// With a show on every monitor: what another monitor shows or has prepared comes after every other
// picture, and this monitor's own last picture after that.
TEST(PickLoadablePicture, PicturesHeldByOtherMonitorsComeAfterEverythingElseButBeforeARepeat) {
    const auto list = Paths(4);
    const PickRules heldByOthers{.heldElsewhere = [](int64_t i) { return i == 0 || i == 1; }};
    rt::ClockSeededRandom rng(5);
    for (int round = 0; round < 50; ++round)
        EXPECT_EQ(PickLoadablePicture(list, list[2], rng, [](int64_t) { return true; }, heldByOthers), 3);
    // Nothing else loads: another monitor's picture, never this monitor's own again.
    for (int round = 0; round < 50; ++round) {
        const int64_t got = PickLoadablePicture(list, list[2], rng, [](int64_t i) { return i != 3; }, heldByOthers);
        EXPECT_TRUE(got == 0 || got == 1) << got;
    }
    // Only its own last picture loads: that one, never a hang.
    EXPECT_EQ(PickLoadablePicture(list, list[2], rng, [](int64_t i) { return i == 2; }, heldByOthers), 2);
}

// Two pictures on two monitors: each monitor takes the other's picture every time, so both pictures reach
// both monitors instead of each monitor keeping one picture for ever.
TEST(PickLoadablePicture, TooFewPicturesForEveryMonitorStillChangeOnEachOne) {
    const auto list = Paths(2);
    rt::ClockSeededRandom rng(9);
    int64_t first = 0, second = 1;  // on the screens now
    for (int round = 0; round < 20; ++round) {
        const int64_t nextFirst =
            PickLoadablePicture(list, list[static_cast<size_t>(first)], rng, [](int64_t) { return true; },
                                PickRules{.heldElsewhere = [&](int64_t i) { return i == second; }});
        const int64_t nextSecond =
            PickLoadablePicture(list, list[static_cast<size_t>(second)], rng, [](int64_t) { return true; },
                                PickRules{.heldElsewhere = [&](int64_t i) { return i == nextFirst; }});
        EXPECT_NE(nextFirst, first);
        EXPECT_NE(nextSecond, second);
        first = nextFirst;
        second = nextSecond;
    }
}

}  // namespace
}  // namespace kpv
