#include "effects/colour_effect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace kpv {
namespace {

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b, uint32_t fourth = 0) {
    return (fourth << 24) | (r << 16) | (g << 8) | b;
}

// The formulas written the long way, in floating point, as an independent reference.
uint32_t ReferenceRecolour(uint32_t pixel, int kind) {
    const double r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    const double grey = std::floor((r + g + b) / 3);
    if (kind == 1) return Rgb(uint32_t(grey), uint32_t(grey), uint32_t(grey));
    if (kind == 2) return Rgb(uint32_t(grey), uint32_t(std::floor(grey / 3 * 2)), uint32_t(std::floor(grey / 3)));
    return pixel & 0x00FFFFFFu;
}

TEST(ColourEffect, PureGreyKeepsItsValueUnderMonochrome) {
    for (uint32_t v = 0; v <= 255; ++v) {
        EXPECT_EQ(RecolourPixel(Rgb(v, v, v, 0xAB), EffectKind::Monochrome), Rgb(v, v, v)) << v;
    }
}

TEST(ColourEffect, PureRedGivesAThirdOfFullScale) {
    EXPECT_EQ(RecolourPixel(Rgb(255, 0, 0), EffectKind::Monochrome), Rgb(85, 85, 85));
    EXPECT_EQ(RecolourPixel(Rgb(255, 0, 0), EffectKind::Sepia), Rgb(85, 56, 28));
}

TEST(ColourEffect, SepiaOfGreyLevels) {
    struct Case { uint32_t grey, r, g, b; };
    const Case cases[] = {{255, 255, 170, 85}, {128, 128, 85, 42}, {100, 100, 66, 33}, {1, 1, 0, 0}, {0, 0, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(RecolourPixel(Rgb(c.grey, c.grey, c.grey), EffectKind::Sepia), Rgb(c.r, c.g, c.b)) << c.grey;
    }
}

TEST(ColourEffect, GreyIsTheFlooredAverageNotAWeightedOne) {
    EXPECT_EQ(RecolourPixel(Rgb(0, 255, 0), EffectKind::Monochrome), Rgb(85, 85, 85));
    EXPECT_EQ(RecolourPixel(Rgb(0, 0, 255), EffectKind::Monochrome), Rgb(85, 85, 85));
    EXPECT_EQ(RecolourPixel(Rgb(1, 1, 0), EffectKind::Monochrome), Rgb(0, 0, 0));    // 2/3 floors to 0
    EXPECT_EQ(RecolourPixel(Rgb(255, 255, 254), EffectKind::Monochrome), Rgb(254, 254, 254));
}

TEST(ColourEffect, EveryComponentSumMatchesTheFloatingFormulas) {
    // The result depends on R + G + B only; walk every sum, spread over the three channels differently.
    for (uint32_t sum = 0; sum <= 765; ++sum) {
        const uint32_t r = sum > 510 ? sum - 510 : 0;
        const uint32_t rest = sum - r;
        const uint32_t g = rest > 255 ? 255 : rest;
        const uint32_t pixel = Rgb(r, g, rest - g);
        for (int kind : {1, 2}) {
            EXPECT_EQ(RecolourPixel(pixel, static_cast<EffectKind>(kind)), ReferenceRecolour(pixel, kind))
                << "sum " << sum << " kind " << kind;
        }
    }
}

TEST(ColourEffect, FourthByteIsClearedForEveryKindIncludingUnknownOnes) {
    const uint32_t pixel = Rgb(12, 34, 56, 0xFF);
    for (int kind : {0, 1, 2, 3, 7, -1, 32767}) {
        EXPECT_EQ(RecolourPixel(pixel, static_cast<EffectKind>(kind)) >> 24, 0u) << kind;
    }
    EXPECT_EQ(RecolourPixel(pixel, EffectKind::None), Rgb(12, 34, 56));
    EXPECT_EQ(RecolourPixel(pixel, static_cast<EffectKind>(3)), Rgb(12, 34, 56));
    EXPECT_EQ(RecolourPixel(pixel, static_cast<EffectKind>(-1)), Rgb(12, 34, 56));
}

TEST(ColourEffect, GridRecolourMatchesThePixelRuleEverywhere) {
    std::mt19937 gen(7);
    PixelGrid grid(5, 3);  // odd width and height
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x) grid.At(x, y) = gen();
    for (int kind : {0, 1, 2, 9}) {
        PixelGrid copy = grid;
        ApplyColourEffectToGrid(copy, static_cast<EffectKind>(kind));
        ASSERT_EQ(copy.Width(), 5);
        ASSERT_EQ(copy.Height(), 3);
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 5; ++x)
                EXPECT_EQ(copy.At(x, y), ReferenceRecolour(grid.At(x, y), kind)) << x << "," << y << " k" << kind;
    }
}

TEST(ColourEffect, RecolouringAPartLeavesTheRestAlone) {
    std::vector<uint32_t> memory(6 * 4, Rgb(255, 0, 0, 0x7F));
    // Bottom-up memory seen top line first, as a bitmap stored from its bottom line would be.
    PixelGrid whole = PixelGrid::View(memory.data() + 3 * 6, 6, 4, -6);
    PixelGrid part = whole.Part(1, 1, 3, 2);
    ApplyColourEffectToGrid(part, EffectKind::Sepia);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 4 && y >= 1 && y < 3;
            EXPECT_EQ(whole.At(x, y), inside ? Rgb(85, 56, 28) : Rgb(255, 0, 0, 0x7F)) << x << "," << y;
        }
    }
    // Line 1 from the top is the third line in memory.
    EXPECT_EQ(memory[2 * 6 + 1], Rgb(85, 56, 28));
    EXPECT_EQ(memory[3 * 6 + 1], Rgb(255, 0, 0, 0x7F));
}

TEST(ColourEffect, EmptyGridIsHarmless) {
    PixelGrid empty;
    ApplyColourEffectToGrid(empty, EffectKind::Sepia);
    PixelGrid zeroWide(0, 5);
    ApplyColourEffectToGrid(zeroWide, EffectKind::Monochrome);
    EXPECT_EQ(zeroWide.Height(), 5);
}

}  // namespace
}  // namespace kpv
