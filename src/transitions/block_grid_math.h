#pragma once
// Arithmetic of the block grid: how many blocks cover the window, and where one block lies in pixels.
// Sizes come in twips and the display's twips-per-pixel factors; every conversion to an integer rounds
// to the nearest, ties to even.
#include <cstdint>

#include "transitions/block_grid.h"

namespace kpv {

struct PixelRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The block edge used when the stored one is zero or negative (a damaged settings store): the default.
inline constexpr int32_t kFallbackBlockSizePx = 32;

// Neither count ever exceeds this, so Columns * Rows always fits a 32-bit signed integer.
inline constexpr int32_t kMaxGridLines = 46340;

// Columns = W / B truncated, plus one for a remainder, with W the window width and B the block width in
// twips, each rounded to an integer first; rows likewise. A window with no width or height gives a grid
// of 0 x 0. A block narrower than one twip counts as one twip, so the division is always defined.
BlockGridRecord ComputeBlockGrid(float widthTwips, float heightTwips, int32_t blockSizePx, float tppX, float tppY);

// The pixel rectangle of block (c, r), both 1-based. Only the last column and row can come out narrower
// or lower: a block never reaches past the window's right or bottom edge. Factors that are not positive
// give an empty rectangle.
PixelRect BlockPixelRect(const BlockGridRecord& grid, int32_t c, int32_t r, float formWidthTwips,
                         float formHeightTwips, float tppX, float tppY);

}  // namespace kpv
