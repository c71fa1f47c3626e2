#include "transitions/block_grid_math.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace kpv {
namespace {

constexpr float kTpp = 15.0f;
constexpr float kScreenW = 1024 * kTpp;  // 15360 twips
constexpr float kScreenH = 768 * kTpp;   // 11520 twips

TEST(ComputeBlockGrid, RoundsUpToCoverAPartialLastColumnAndRow) {
    const BlockGridRecord g = ComputeBlockGrid(kScreenW, kScreenH, 50, kTpp, kTpp);
    EXPECT_FLOAT_EQ(g.BlockWidth, 750.0f);
    EXPECT_FLOAT_EQ(g.BlockHeight, 750.0f);
    EXPECT_EQ(g.Columns, 21);  // 20 remainder 360
    EXPECT_EQ(g.Rows, 16);     // 15 remainder 270
}

TEST(ComputeBlockGrid, ExactMultipleGivesNoPartialLine) {
    const BlockGridRecord g = ComputeBlockGrid(kScreenW, kScreenH, 32, kTpp, kTpp);
    EXPECT_EQ(g.Columns, 32);
    EXPECT_EQ(g.Rows, 24);
}

TEST(ComputeBlockGrid, PreviewWindowWithFivePixelBlocks) {
    const BlockGridRecord g = ComputeBlockGrid(152 * kTpp, 112 * kTpp, 5, kTpp, kTpp);
    EXPECT_EQ(g.Columns, 31);
    EXPECT_EQ(g.Rows, 23);
}

TEST(ComputeBlockGrid, UsesEachAxisOwnFactor) {
    const BlockGridRecord g = ComputeBlockGrid(100 * 12.0f, 100 * 20.0f, 30, 12.0f, 20.0f);
    EXPECT_FLOAT_EQ(g.BlockWidth, 360.0f);
    EXPECT_FLOAT_EQ(g.BlockHeight, 600.0f);
    EXPECT_EQ(g.Columns, 4);
    EXPECT_EQ(g.Rows, 4);
}

TEST(ComputeBlockGrid, RoundsWindowAndBlockTiesToEvenBeforeDividing) {
    // W 100.5 -> 100, B 10.5 -> 10: exactly 10 columns. W 101.5 -> 102: a remainder, 11 columns.
    EXPECT_EQ(ComputeBlockGrid(100.5f, 100.5f, 1, 10.5f, 10.5f).Columns, 10);
    EXPECT_EQ(ComputeBlockGrid(101.5f, 100.5f, 1, 10.5f, 10.5f).Columns, 11);
    // B 11.5 -> 12: 100 / 12 = 8 remainder 4.
    EXPECT_EQ(ComputeBlockGrid(100.0f, 100.0f, 1, 11.5f, 11.5f).Rows, 9);
}

// At 120, 144, 168 and 192 DPI a pixel is not a whole number of twips: the blocks must still cover every
// pixel of the window, edge to edge, each pixel once.
TEST(ComputeBlockGrid, BlocksCoverEveryPixelAtEveryDisplayScaling) {
    for (const int dpi : {96, 120, 144, 168, 192}) {
        const float tpp = 1440.0f / static_cast<float>(dpi);
        for (const int extentPx : {1, 7, 152, 600, 768, 800, 1024, 1366, 3840}) {
            const float extent = static_cast<float>(tpp * static_cast<double>(extentPx));
            for (int size = 1; size <= 300; ++size) {
                const BlockGridRecord g = ComputeBlockGrid(extent, extent, size, tpp, tpp);
                int32_t covered = 0;
                for (int32_t c = 1; c <= g.Columns; ++c) {
                    const PixelRect r = BlockPixelRect(g, c, 1, extent, extent, tpp, tpp);
                    if (r.width == 0) continue;
                    ASSERT_EQ(r.x, covered) << dpi << " dpi, " << extentPx << " px, block " << size << ", column " << c;
                    covered = r.x + r.width;
                }
                ASSERT_EQ(covered, extentPx) << dpi << " dpi, " << extentPx << " px, block " << size;
            }
        }
    }
}

TEST(ComputeBlockGrid, ZeroSizeWindowGivesNoBlocks) {
    const BlockGridRecord g = ComputeBlockGrid(0, 0, 5, kTpp, kTpp);
    EXPECT_EQ(g.Columns, 0);
    EXPECT_EQ(g.Rows, 0);
    EXPECT_EQ(ComputeBlockGrid(0, kScreenH, 32, kTpp, kTpp).Columns, 0);
    EXPECT_EQ(ComputeBlockGrid(kScreenW, -300, 32, kTpp, kTpp).Rows, 0);
}

TEST(ComputeBlockGrid, DamagedBlockSizeFallsBackToTheDefault) {
    for (int32_t damaged : {0, -1, -32768}) {
        const BlockGridRecord g = ComputeBlockGrid(kScreenW, kScreenH, damaged, kTpp, kTpp);
        EXPECT_EQ(g.Columns, 32) << damaged;
        EXPECT_EQ(g.Rows, 24) << damaged;
        EXPECT_FLOAT_EQ(g.BlockWidth, 32 * kTpp);
    }
}

TEST(ComputeBlockGrid, BlockBelowOneTwipNeverDividesByZero) {
    const BlockGridRecord g = ComputeBlockGrid(1000, 500, 1, 0.25f, 0.0f);
    EXPECT_EQ(g.Columns, 4000);  // a block of a quarter twip counts as one twip, the window has 4000 pixels
    EXPECT_EQ(g.Rows, 500);
}

TEST(ComputeBlockGrid, HugeWindowStaysWithinA32BitBlockCount) {
    const float inf = std::numeric_limits<float>::infinity();
    for (float extent : {1e12f, 3e9f, inf}) {
        const BlockGridRecord g = ComputeBlockGrid(extent, extent, 1, 1.0f, 1.0f);
        EXPECT_LE(g.Columns, kMaxGridLines);
        EXPECT_LE(g.Rows, kMaxGridLines);
        EXPECT_GT(g.Columns, 0);
        EXPECT_LE(static_cast<int64_t>(g.Columns) * g.Rows, std::numeric_limits<int32_t>::max());
    }
    const BlockGridRecord nan = ComputeBlockGrid(std::nanf(""), 100, 1, 1.0f, 1.0f);
    EXPECT_EQ(nan.Columns, 0);
}

TEST(BlockPixelRect, LastColumnAndRowAreClippedAtTheWindowEdge) {
    const BlockGridRecord g = ComputeBlockGrid(kScreenW, kScreenH, 50, kTpp, kTpp);
    const PixelRect corner = BlockPixelRect(g, 21, 16, kScreenW, kScreenH, kTpp, kTpp);
    EXPECT_EQ(corner.x, 1000);
    EXPECT_EQ(corner.y, 750);
    EXPECT_EQ(corner.width, 24);
    EXPECT_EQ(corner.height, 18);

    const PixelRect lastColumn = BlockPixelRect(g, 21, 3, kScreenW, kScreenH, kTpp, kTpp);
    EXPECT_EQ(lastColumn.width, 24);
    EXPECT_EQ(lastColumn.height, 50);
    EXPECT_EQ(lastColumn.y, 100);

    const PixelRect lastRow = BlockPixelRect(g, 7, 16, kScreenW, kScreenH, kTpp, kTpp);
    EXPECT_EQ(lastRow.x, 300);
    EXPECT_EQ(lastRow.width, 50);
    EXPECT_EQ(lastRow.height, 18);

    const PixelRect inner = BlockPixelRect(g, 20, 15, kScreenW, kScreenH, kTpp, kTpp);
    EXPECT_EQ(inner.x, 950);
    EXPECT_EQ(inner.y, 700);
    EXPECT_EQ(inner.width, 50);
    EXPECT_EQ(inner.height, 50);
}

TEST(BlockPixelRect, ExactGridTilesTheWindowWithoutClipping) {
    const BlockGridRecord g = ComputeBlockGrid(kScreenW, kScreenH, 32, kTpp, kTpp);
    for (int32_t r = 1; r <= g.Rows; ++r) {
        for (int32_t c = 1; c <= g.Columns; ++c) {
            const PixelRect b = BlockPixelRect(g, c, r, kScreenW, kScreenH, kTpp, kTpp);
            ASSERT_EQ(b.x, 32 * (c - 1));
            ASSERT_EQ(b.y, 32 * (r - 1));
            ASSERT_EQ(b.width, 32);
            ASSERT_EQ(b.height, 32);
        }
    }
}

TEST(BlockPixelRect, BlocksCoverThePreviewExactlyUpToItsEdges) {
    const float w = 152 * kTpp, h = 112 * kTpp;
    const BlockGridRecord g = ComputeBlockGrid(w, h, 5, kTpp, kTpp);
    const PixelRect last = BlockPixelRect(g, g.Columns, g.Rows, w, h, kTpp, kTpp);
    EXPECT_EQ(last.x, 150);
    EXPECT_EQ(last.y, 110);
    EXPECT_EQ(last.x + last.width, 152);
    EXPECT_EQ(last.y + last.height, 112);
}

TEST(BlockPixelRect, NonPositiveFactorsGiveAnEmptyRectangle) {
    const BlockGridRecord g = ComputeBlockGrid(kScreenW, kScreenH, 32, kTpp, kTpp);
    const PixelRect b = BlockPixelRect(g, 2, 2, kScreenW, kScreenH, 0.0f, kTpp);
    EXPECT_EQ(b.width, 0);
    EXPECT_EQ(b.height, 0);
}

}  // namespace
}  // namespace kpv
