#include "effects/transfer_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace kpv {
namespace {

TEST(TransferLayout, SizeIsFourBytesAPixelUpToTheSignedThirtyTwoBitLimit) {
    EXPECT_EQ(TransferImageBytes(1, 1), 4);
    EXPECT_EQ(TransferImageBytes(3, 2), 24);  // odd width: no padding
    EXPECT_EQ(TransferImageBytes(5640, 3172), 5640 * 3172 * 4);
    EXPECT_EQ(TransferImageBytes(536870911, 1), 2147483644);
    EXPECT_EQ(TransferImageBytes(1, 536870911), 2147483644);
    EXPECT_FALSE(TransferImageBytes(536870912, 1));
    EXPECT_FALSE(TransferImageBytes(23171, 23171));  // 536,895,241 pixels
    EXPECT_TRUE(TransferImageBytes(23170, 23170));   // 536,848,900 pixels
    EXPECT_FALSE(TransferImageBytes(INT32_MAX, INT32_MAX));
    EXPECT_FALSE(TransferImageBytes(0, 5));
    EXPECT_FALSE(TransferImageBytes(5, 0));
    EXPECT_FALSE(TransferImageBytes(-3, -2));  // negative times negative must not pass as positive
}

TEST(TransferLayout, BufferStartsWithTheBottomLine) {
    // 3 x 2: buffer line 0 is the picture's bottom line.
    const std::vector<uint32_t> buffer = {1, 2, 3, 4, 5, 6};
    PixelGrid grid(3, 2);
    BufferToGrid(buffer.data(), grid);
    EXPECT_EQ(grid.At(0, 0), 4u);
    EXPECT_EQ(grid.At(2, 0), 6u);
    EXPECT_EQ(grid.At(0, 1), 1u);
    EXPECT_EQ(grid.At(2, 1), 3u);

    std::vector<uint32_t> back(6, 0);
    GridToBuffer(grid, back.data());
    EXPECT_EQ(back, buffer);
}

TEST(TransferLayout, RoundTripThroughAViewKeepsEveryPixelAndFourthByte) {
    std::vector<uint32_t> memory(7 * 3);
    for (size_t i = 0; i < memory.size(); ++i) memory[i] = 0xAB000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    // A 5 x 3 view with a wider stride: only the viewed pixels travel.
    PixelGrid view = PixelGrid::View(memory.data(), 5, 3, 7);
    std::vector<uint32_t> buffer(15, 0);
    GridToBuffer(view, buffer.data());
    EXPECT_EQ(buffer[0], memory[2 * 7]);       // bottom-left
    EXPECT_EQ(buffer[14], memory[4]);          // top-right
    PixelGrid copy(5, 3);
    BufferToGrid(buffer.data(), copy);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(copy.At(x, y), view.At(x, y));
}

TEST(TransferLayout, OnePixel) {
    const uint32_t pixel = 0xFF123456u;
    PixelGrid grid(1, 1);
    BufferToGrid(&pixel, grid);
    EXPECT_EQ(grid.At(0, 0), pixel);
    uint32_t out = 0;
    GridToBuffer(grid, &out);
    EXPECT_EQ(out, pixel);
}

}  // namespace
}  // namespace kpv
