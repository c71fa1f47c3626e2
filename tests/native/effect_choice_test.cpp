#include "effects/effect_choice.h"

#include <gtest/gtest.h>

#include <array>

#include "scripted_random.h"

namespace kpv {
namespace {

using testing::ScriptedRandom;

class FixedClock final : public rt::ClockSource {
public:
    explicit FixedClock(int at) : second(at) {}
    int SecondOfMinute() override {
        ++reads;
        return second;
    }
    int second;
    int reads = 0;
};

TEST(ChooseEffect, EditZeroOrBelowDrawsNothingAndAppliesNothing) {
    for (int16_t edit : {int16_t{0}, int16_t{-1}, int16_t{-32768}}) {
        for (int16_t caseValue : {int16_t{0}, int16_t{1}}) {
            ScriptedRandom random({});
            FixedClock clock(0);
            const EffectDecision d = ChooseEffect(edit, caseValue, 10, random, clock);
            EXPECT_FALSE(d.apply);
            EXPECT_EQ(random.DrawsUsed(), 0u);
            EXPECT_EQ(clock.reads, 0);
        }
    }
}

TEST(ChooseEffect, MonochromeOrSepiaAlwaysWithCaseZero) {
    for (int16_t edit : {int16_t{1}, int16_t{2}}) {
        for (int16_t caseValue : {int16_t{0}, int16_t{-5}}) {
            ScriptedRandom random({});
            FixedClock clock(37);
            const EffectDecision d = ChooseEffect(edit, caseValue, 50, random, clock);
            EXPECT_TRUE(d.apply);
            EXPECT_EQ(d.kind, edit);
            EXPECT_EQ(random.DrawsUsed(), 0u);
            EXPECT_EQ(random.Reseeds(), 0);
        }
    }
}

TEST(ChooseEffect, SometimesWithOnePictureAppliesExactlyWhenSecondsEndInZero) {
    for (int second = 0; second < 60; ++second) {
        ScriptedRandom random({0.9f});
        FixedClock clock(second);
        const EffectDecision d = ChooseEffect(1, 1, 1, random, clock);
        EXPECT_EQ(d.apply, second % 10 == 0) << second;
        EXPECT_EQ(d.kind, 1);
        EXPECT_EQ(random.DrawsUsed(), 1u);
    }
}

TEST(ChooseEffect, SometimesComparesTheLastDigitOfDrawAndSeconds) {
    // 100 pictures, r = 0.235 gives k = 23: applies at seconds 3, 13, ..., 53 only.
    for (int second = 0; second < 60; ++second) {
        ScriptedRandom random({0.235f});
        FixedClock clock(second);
        EXPECT_EQ(ChooseEffect(2, 1, 100, random, clock).apply, second % 10 == 3) << second;
    }
    ScriptedRandom random({0.5f});
    FixedClock clock(5);
    EXPECT_TRUE(ChooseEffect(2, 7, 10, random, clock).apply);  // any Case above 0 means "sometimes"
}

TEST(ChooseEffect, RandomKindWithOnePictureIsAlwaysSepiaWhateverCaseSays) {
    for (float r : {0.0f, 0.5f, 0.999f}) {
        ScriptedRandom random({r});
        FixedClock clock(0);
        const EffectDecision d = ChooseEffect(3, 0, 1, random, clock);
        EXPECT_TRUE(d.apply);
        EXPECT_EQ(d.kind, 2);
    }
    // With Case 1 the seconds test fails here (k = 0, seconds 7), yet the random kind is applied anyway.
    ScriptedRandom random({0.3f, 0.3f});
    FixedClock clock(7);
    const EffectDecision d = ChooseEffect(3, 1, 1, random, clock);
    EXPECT_TRUE(d.apply);
    EXPECT_EQ(d.kind, 2);
    EXPECT_EQ(random.DrawsUsed(), 2u);
}

TEST(ChooseEffect, RandomKindFollowsTheRemainderOfTheDrawByFive) {
    // Five pictures: r = (v + 0.5) / 5 gives v; remainders 1 mono, 0 sepia, 2..4 unchanged.
    const std::array<int16_t, 5> expected = {2, 1, 0, 0, 0};
    for (int v = 0; v < 5; ++v) {
        ScriptedRandom random({(v + 0.5f) / 5.0f});
        FixedClock clock(0);
        const EffectDecision d = ChooseEffect(3, 0, 5, random, clock);
        EXPECT_TRUE(d.apply);
        EXPECT_EQ(d.kind, expected[v]) << v;
    }
    // Two pictures: below one half sepia, from one half on monochrome.
    ScriptedRandom low({0.49f}), high({0.5f});
    FixedClock clock(0);
    EXPECT_EQ(ChooseEffect(3, 0, 2, low, clock).kind, 2);
    EXPECT_EQ(ChooseEffect(3, 0, 2, high, clock).kind, 1);
}

TEST(ChooseEffect, RandomKindUsesTheSecondDrawWhenCaseDrawsFirst) {
    // The first draw (k) is for the seconds test; the kind comes from the second.
    ScriptedRandom random({0.0f, 0.25f});  // 4 pictures: v = 1 -> monochrome
    FixedClock clock(0);
    const EffectDecision d = ChooseEffect(3, 1, 4, random, clock);
    EXPECT_EQ(d.kind, 1);
    EXPECT_EQ(random.DrawsUsed(), 2u);
}

TEST(ChooseEffect, RandomKindOverAListTooLongForSixteenBitsStillWorks) {
    // v = floor(0.5 x 100001) = 50000 does not fit 16 bits; 50000 mod 5 = 0 -> sepia.
    ScriptedRandom random({0.5f});
    FixedClock clock(0);
    EffectDecision d = ChooseEffect(3, 0, 100001, random, clock);
    EXPECT_TRUE(d.apply);
    EXPECT_EQ(d.kind, 2);
    // v = floor(0.75 x 40000) = 30000 -> 0 mod 5 sepia; 0.7500375 x 40000 = 30001.5 -> monochrome.
    ScriptedRandom more({0.7500375f});
    d = ChooseEffect(3, 0, 40000, more, clock);
    EXPECT_EQ(d.kind, 1);
    // The largest draw of a huge list keeps its last digit for the seconds test too: 0.9999999f is
    // 1 - 2^-23, so k = 2^40 - 2^17 = 1,099,511,496,704, which ends in 4.
    ScriptedRandom huge({0.9999999f, 0.9999999f});
    FixedClock atFour(4), atNine(9);
    EXPECT_TRUE(ChooseEffect(1, 1, int64_t{1} << 40, huge, atFour).apply);
    EXPECT_FALSE(ChooseEffect(1, 1, int64_t{1} << 40, huge, atNine).apply);
}

TEST(ChooseEffect, EmptyListCountsAsDrawingZero) {
    ScriptedRandom random({0.7f, 0.7f});
    FixedClock clock(20);
    const EffectDecision d = ChooseEffect(3, 1, 0, random, clock);
    EXPECT_TRUE(d.apply);
    EXPECT_EQ(d.kind, 2);
    ScriptedRandom one({0.7f});
    FixedClock odd(21);
    EXPECT_FALSE(ChooseEffect(1, 1, 0, one, odd).apply);
}

TEST(ChooseEffect, EditAboveThreePassesItsValueAsAKindThatChangesNothing) {
    ScriptedRandom random({});
    FixedClock clock(0);
    const EffectDecision d = ChooseEffect(4, 0, 3, random, clock);
    EXPECT_TRUE(d.apply);
    EXPECT_EQ(d.kind, 4);
}

TEST(ChooseEffect, SometimesHitsAboutOnePictureInTen) {
    rt::ClockSeededRandom random(12345);
    int applied = 0;
    const int runs = 20000;
    for (int i = 0; i < runs; ++i) {
        FixedClock clock(i % 60);
        applied += ChooseEffect(2, 1, 137, random, clock).apply ? 1 : 0;
    }
    EXPECT_NEAR(applied / double(runs), 0.1, 0.015);
}

TEST(ChooseEffect, RandomKindOverALargeListIsOneFifthEachForMonochromeAndSepia) {
    rt::ClockSeededRandom random(99);
    FixedClock clock(0);
    std::array<int, 3> counts{};
    const int runs = 20000;
    for (int i = 0; i < runs; ++i) ++counts[ChooseEffect(3, 0, 1000, random, clock).kind];
    EXPECT_NEAR(counts[1] / double(runs), 0.2, 0.02);
    EXPECT_NEAR(counts[2] / double(runs), 0.2, 0.02);
    EXPECT_NEAR(counts[0] / double(runs), 0.6, 0.02);
}

}  // namespace
}  // namespace kpv
