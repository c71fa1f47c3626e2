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
