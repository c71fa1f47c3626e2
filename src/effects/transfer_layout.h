#pragma once
// How a picture's pixels travel to and from the platform: one packed buffer of 32-bit pixels, W per line,
// bottom line first (the order of a bitmap with a positive height). A 32-bit line is always a multiple of
// four bytes, so there is no padding between lines.
#include <cstdint>
#include <optional>

#include "effects/pixel_grid.h"

namespace kpv {

// The buffer's size in bytes, W x H x 4, when it fits a 32-bit signed count (at most 536,870,911 pixels);
// nothing for larger or empty pictures, which are refused rather than wrapped round.
std::optional<int32_t> TransferImageBytes(int32_t width, int32_t height);

// Buffer line l holds picture line H - 1 - l. Both copy the grid's full size; the buffer holds W x H values.
void BufferToGrid(const uint32_t* buffer, PixelGrid& grid);
void GridToBuffer(const PixelGrid& grid, uint32_t* buffer);

}  // namespace kpv
