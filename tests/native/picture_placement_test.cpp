#include "show/picture_placement.h"

#include <gtest/gtest.h>

namespace kpv {
namespace {

constexpr float kTpp = 15.0f;
constexpr float kScreenW = 1024 * kTpp;
constexpr float kScreenH = 768 * kTpp;

struct Case {
    int pictureW, pictureH;
    PicturePlacement expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.pictureW << "x" << c.pictureH; }

class PlacementOnA1024x768Screen : public ::testing::TestWithParam<Case> {};

TEST_P(PlacementOnA1024x768Screen, CentresAndFits) {
    const Case& c = GetParam();
    const PicturePlacement p = PlacePicture(kScreenW, kScreenH, c.pictureW * kTpp, c.pictureH * kTpp, kTpp, kTpp);
    EXPECT_EQ(p.X, c.expected.X);
    EXPECT_EQ(p.Y, c.expected.Y);
    EXPECT_EQ(p.DestWidth, c.expected.DestWidth);
    EXPECT_EQ(p.DestHeight, c.expected.DestHeight);
    EXPECT_EQ(p.SourceWidth, c.expected.SourceWidth);
    EXPECT_EQ(p.SourceHeight, c.expected.SourceHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlacementOnA1024x768Screen,
    ::testing::Values(
        Case{640, 480, {192, 144, 640, 480, 640, 480}},
        Case{641, 480, {192, 144, 641, 480, 641, 480}},      // 191.5 rounds to the even 192
        Case{643, 480, {190, 144, 643, 480, 643, 480}},      // 190.5 rounds to the even 190
        Case{2048, 1024, {0, 128, 1024, 512, 2048, 1024}},   // too wide
        Case{1000, 1500, {256, 0, 512, 768, 1000, 1500}},    // too high
        Case{2048, 1536, {0, 0, 1024, 768, 2048, 1536}},     // equal ratios take the height branch
        Case{1024, 768, {0, 0, 1024, 768, 1024, 768}},       // exactly the window: one to one
        Case{1025, 768, {0, 0, 1024, 767, 1025, 768}},       // one pixel too wide
        Case{1, 1, {512, 384, 1, 1, 1, 1}}));                // tiny pictures are never enlarged

TEST(PlacePicture, PictureLargerOnOneAxisIsScaledByThatAxisOnly) {
    // 4000 x 100 pixels on 1024 x 768: width decides, height shrinks by the same factor.
    const PicturePlacement p = PlacePicture(kScreenW, kScreenH, 4000 * kTpp, 100 * kTpp, kTpp, kTpp);
    EXPECT_EQ(p.DestWidth, 1024);
    EXPECT_EQ(p.DestHeight, 26);  // 25.6
    EXPECT_EQ(p.X, 0);
    EXPECT_EQ(p.Y, 371);
}

TEST(PlacePicture, UsesEachAxisOwnFactor) {
    const PicturePlacement p = PlacePicture(200 * 12.0f, 100 * 20.0f, 100 * 12.0f, 50 * 20.0f, 12.0f, 20.0f);
    EXPECT_EQ(p.X, 50);
    EXPECT_EQ(p.Y, 25);
    EXPECT_EQ(p.DestWidth, 100);
    EXPECT_EQ(p.DestHeight, 50);
}

TEST(PlacePicture, ZeroSizeWindowLeavesNothingToDraw) {
    for (auto [w, h] : {std::pair{0.0f, 0.0f}, std::pair{0.0f, kScreenH}, std::pair{kScreenW, 0.0f}}) {
        const PicturePlacement p = PlacePicture(w, h, 640 * kTpp, 480 * kTpp, kTpp, kTpp);
        EXPECT_EQ(p.DestWidth, 0);
        EXPECT_EQ(p.DestHeight, 0);
        EXPECT_EQ(p.SourceWidth, 0);
        EXPECT_EQ(p.SourceHeight, 0);
    }
    EXPECT_EQ(PlacePicture(kScreenW, kScreenH, 640, 480, 0.0f, kTpp).DestWidth, 0);
}

TEST(PlacePicture, ZeroSizePictureIsAnEmptyRectangleAtTheCentre) {
    const PicturePlacement none = PlacePicture(kScreenW, kScreenH, 0, 0, kTpp, kTpp);
    EXPECT_EQ(none.X, 512);
    EXPECT_EQ(none.Y, 384);
    EXPECT_EQ(none.DestWidth, 0);
    EXPECT_EQ(none.DestHeight, 0);

    // No width but taller than the window: the height branch, width stays 0.
    const PicturePlacement thin = PlacePicture(kScreenW, kScreenH, 0, 2000 * kTpp, kTpp, kTpp);
    EXPECT_EQ(thin.DestWidth, 0);
    EXPECT_EQ(thin.DestHeight, 768);
    EXPECT_EQ(thin.SourceHeight, 2000);

    // No height but wider than the window: the width branch, height stays 0.
    const PicturePlacement flat = PlacePicture(kScreenW, kScreenH, 3000 * kTpp, 0, kTpp, kTpp);
    EXPECT_EQ(flat.DestWidth, 1024);
    EXPECT_EQ(flat.DestHeight, 0);
    EXPECT_EQ(flat.Y, 384);
}

}  // namespace
}  // namespace kpv
