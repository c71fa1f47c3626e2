// The show window's own rules: the mouse slack, the timer period, the pause per block, and twips to pixels.
#include <climits>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/base/twips.h"
#include "show/mouse_rule.h"
#include "show/view_period.h"
#include "transitions/pacing.h"

namespace kpv {
namespace {

// Hands out cursor positions in order, as GetCursorPos would report them.
struct CursorScript {
    std::vector<ScreenPoint> points;
    size_t next = 0;
    ScreenPoint operator()() { return points.at(next++); }
};

bool Moves(ScreenPoint& reference, CursorScript& cursor) {
    return MouseMoveEndsShow(reference, [&] { return cursor(); });
}

TEST(MouseRule, FirstMoveOnlyTakesTheReferenceAndNeverEnds) {
    ScreenPoint reference{};
    CursorScript cursor{{{500, 400}, {500, 400}}};
    EXPECT_FALSE(Moves(reference, cursor));
    EXPECT_EQ(reference.x, 500);
    EXPECT_EQ(reference.y, 400);
}

TEST(MouseRule, TenPixelsKeepsTheShowElevenEndsIt) {
    for (const auto& [dx, dy] : std::vector<std::pair<int, int>>{{10, 0}, {-10, 0}, {0, 10}, {0, -10}, {10, -10}}) {
        ScreenPoint reference{500, 400};
        CursorScript cursor{{{500 + dx, 400 + dy}}};
        EXPECT_FALSE(Moves(reference, cursor)) << dx << "," << dy;
    }
    for (const auto& [dx, dy] : std::vector<std::pair<int, int>>{{11, 0}, {-11, 0}, {0, 11}, {0, -11}}) {
        ScreenPoint reference{500, 400};
        CursorScript cursor{{{500 + dx, 400 + dy}}};
        EXPECT_TRUE(Moves(reference, cursor)) << dx << "," << dy;
    }
}

TEST(MouseRule, ReferenceStaysPutSoSlowDriftStillEnds) {
    ScreenPoint reference{};
    CursorScript cursor{{{100, 100}, {100, 100}, {105, 100}, {110, 100}, {111, 100}}};
    EXPECT_FALSE(Moves(reference, cursor));
    EXPECT_FALSE(Moves(reference, cursor));
    EXPECT_FALSE(Moves(reference, cursor));
    EXPECT_TRUE(Moves(reference, cursor));
    EXPECT_EQ(reference.x, 100);
}

TEST(MouseRule, ReferenceOnColumnZeroCountsAsNotTaken) {
    ScreenPoint reference{};
    // The first reference lands on column 0; the next move takes a new one wherever the cursor is then,
    // so even a jump of 300 pixels does not end the show.
    CursorScript cursor{{{0, 50}, {0, 50}, {300, 50}, {300, 50}, {312, 50}}};
    EXPECT_FALSE(Moves(reference, cursor));
    EXPECT_EQ(reference.x, 0);
    EXPECT_FALSE(Moves(reference, cursor));
    EXPECT_EQ(reference.x, 300);
    EXPECT_TRUE(Moves(reference, cursor));
}

TEST(MouseRule, ExtremeCoordinatesDoNotOverflow) {
    ScreenPoint reference{INT32_MAX, INT32_MIN};
    CursorScript cursor{{{INT32_MAX, INT32_MIN}}};
    EXPECT_FALSE(Moves(reference, cursor));
    ScreenPoint low{INT32_MIN + 1, 0};
    CursorScript far{{{INT32_MAX, 0}}};
    EXPECT_TRUE(Moves(low, far));
}

TEST(ViewPeriod, SecondsBecomeMillisecondsAndDamagedValuesKeepTheTimerRunning) {
    EXPECT_EQ(ViewPeriodMilliseconds(1), 1000);
    EXPECT_EQ(ViewPeriodMilliseconds(60), 60000);
    EXPECT_EQ(ViewPeriodMilliseconds(66), 66000);       // beyond what a 16-bit millisecond timer took
    EXPECT_EQ(ViewPeriodMilliseconds(32767), 32767000);
    EXPECT_EQ(ViewPeriodMilliseconds(0), 1000);
    EXPECT_EQ(ViewPeriodMilliseconds(-5), 1000);
    EXPECT_EQ(ViewPeriodMilliseconds(INT16_MIN), 1000);
}

TEST(PauseYields, SpeedPlusOneNoneWhenNegativeHeldAtTheSlowestSetting) {
    EXPECT_EQ(PauseYields(0), 1);
    EXPECT_EQ(PauseYields(20000), 20001);
    EXPECT_EQ(PauseYields(-1), 0);
    EXPECT_EQ(PauseYields(INT32_MIN), 0);
    EXPECT_EQ(PauseYields(20001), 20001);
    EXPECT_EQ(PauseYields(INT32_MAX), 20001);
}

TEST(PauseTicks, AYieldIsAMicrosecondOnAnyClock) {
    EXPECT_EQ(PauseTicks(0, 1'000'000), 1);
    EXPECT_EQ(PauseTicks(2000, 1'000'000), 2001);
    EXPECT_EQ(PauseTicks(20000, 10'000'000), 200'010);  // about 20 ms on a 100 ns clock
    EXPECT_EQ(PauseTicks(INT32_MAX, 10'000'000), 200'010);
    EXPECT_EQ(PauseTicks(-7, 10'000'000), 0);
    EXPECT_EQ(PauseTicks(0, 1000), 1);  // never shorter than asked on a coarse clock
}

// Times in microseconds; the platform's shortest wait is 1 ms.
TEST(PauseClock, WaitsForAFarDeadlineAndTheNextPauseStartsWhenTheBlockIsDrawn) {
    PauseClock clock(20'001, 1'000, 0);
    EXPECT_EQ(clock.Deadline(), 20'001);
    EXPECT_TRUE(clock.ShouldWait(0));
    EXPECT_FALSE(clock.ShouldWait(19'500));  // closer than a wait can be: drawn at once
    clock.BlockDrawn(20'050, 20'250);        // woke a little late, drew for 200 us
    EXPECT_EQ(clock.Deadline(), 40'251);
}

TEST(PauseClock, PausesShorterThanTheStepAreDrawnTogetherAndStillAddUp) {
    // Speed 200 (201 us pauses), blocks drawn in 50 us: 20 blocks cost 20 x 251 us in all.
    PauseClock clock(201, 1'000, 0);
    int64_t now = 0;
    int waits = 0;
    for (int block = 0; block < 20; ++block) {
        if (clock.ShouldWait(now)) {
            ++waits;
            now = clock.Deadline();
        }
        clock.BlockDrawn(now, now + 50);
        now += 50;
    }
    EXPECT_GE(waits, 3);
    EXPECT_LE(waits, 6);  // a wait for every few blocks, not one for each
    EXPECT_EQ(clock.Deadline() - 201, 20 * 251);
}

TEST(PauseClock, DrawingSlowerThanThePausesNeverBanksTime) {
    // After a stall (a message box, a slow copy) the next pause is whole again: no burst of blocks.
    PauseClock clock(5'000, 1'000, 0);
    clock.BlockDrawn(5'000, 90'000);
    EXPECT_EQ(clock.Deadline(), 95'000);
    EXPECT_TRUE(clock.ShouldWait(90'000));
    PauseClock none(0, 1'000, 0);  // a negative Speed: never a wait
    EXPECT_FALSE(none.ShouldWait(0));
}

TEST(TwipsToPixels, RoundsToEvenAndNeverFails) {
    EXPECT_EQ(rt::TwipsToPixels(15360, 15), 1024);
    EXPECT_EQ(rt::TwipsToPixels(22.5, 15), 2);   // 1.5 -> 2
    EXPECT_EQ(rt::TwipsToPixels(37.5, 15), 2);   // 2.5 -> 2
    EXPECT_EQ(rt::TwipsToPixels(1e12, 15), INT32_MAX);
    EXPECT_EQ(rt::TwipsToPixels(-1e12, 15), INT32_MIN);
    EXPECT_EQ(rt::TwipsToPixels(100, 0), 0);
    EXPECT_EQ(rt::TwipsToPixels(100, -15), 0);
}

}  // namespace
}  // namespace kpv
