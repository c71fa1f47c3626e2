#include "effects/pixel_grid.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace kpv {
namespace {

TEST(PixelGrid, OwnedGridStartsZeroAndIsAddressedColumnThenLine) {
    PixelGrid grid(3, 2);
    EXPECT_EQ(grid.Width(), 3);
    EXPECT_EQ(grid.Height(), 2);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(grid.At(x, y), 0u);
    grid.At(2, 0) = 0x11;
    grid.At(0, 1) = 0x22;
    EXPECT_EQ(grid.Line(0)[2], 0x11u);
    EXPECT_EQ(grid.Line(1)[0], 0x22u);
    EXPECT_EQ(grid.Line(1) - grid.Line(0), 3);  // lines are packed, no padding
}

TEST(PixelGrid, CopiesOfOwnedGridsAreIndependentAndMovesKeepThePixels) {
    PixelGrid a(2, 2);
    a.At(1, 1) = 5;
    PixelGrid b = a;
    b.At(1, 1) = 6;
    EXPECT_EQ(a.At(1, 1), 5u);
    PixelGrid c = std::move(b);
    EXPECT_EQ(c.At(1, 1), 6u);
    EXPECT_EQ(b.Width(), 0);
    a = c;
    EXPECT_EQ(a.At(1, 1), 6u);
}

TEST(PixelGrid, ViewWritesThroughToTheMemoryItViews) {
    std::vector<uint32_t> memory(8, 0);  // 2 lines of 4, seen as 3 wide (a padded stride)
    PixelGrid view = PixelGrid::View(memory.data(), 3, 2, 4);
    view.At(2, 1) = 9;
    EXPECT_EQ(memory[6], 9u);
    PixelGrid copy = view;  // still a view
    copy.At(0, 0) = 4;
    EXPECT_EQ(memory[0], 4u);
}

TEST(PixelGrid, PartIsClippedToTheGrid) {
    PixelGrid grid(4, 3);
    PixelGrid part = grid.Part(2, 1, 10, 10);
    EXPECT_EQ(part.Width(), 2);
    EXPECT_EQ(part.Height(), 2);
    part.At(0, 0) = 1;
    EXPECT_EQ(grid.At(2, 1), 1u);
    PixelGrid left = grid.Part(-2, -1, 3, 2);
    EXPECT_EQ(left.Width(), 1);
    EXPECT_EQ(left.Height(), 1);
    EXPECT_EQ(grid.Part(5, 0, 2, 2).Width(), 0);
    EXPECT_EQ(grid.Part(0, 0, -3, 2).Width(), 0);
    EXPECT_EQ(grid.Part(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX).Height(), 0);
}

TEST(PixelGrid, NegativeSizesAreRefused) {
    EXPECT_THROW(PixelGrid(-1, 2), std::invalid_argument);
    EXPECT_THROW(PixelGrid::View(nullptr, 2, -1, 2), std::invalid_argument);
}

}  // namespace
}  // namespace kpv
