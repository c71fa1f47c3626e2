#include "transitions/block_grid_math.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "runtime/base/numbers.h"

namespace kpv {

namespace {

int32_t LinesCovering(float extentTwips, float blockTwips) {
    const int32_t w = rt::RoundHeldToInt32(extentTwips);
    const int32_t b = std::max<int32_t>(1, rt::RoundHeldToInt32(blockTwips));
    if (w <= 0) return 0;
    int32_t lines = w / b;
    if (w % b > 0) ++lines;
    return std::min(lines, kMaxGridLines);
}

// Where a pixel is not a whole number of twips (120 to 192 DPI), whole twips can count a line too few and
// leave the window's last pixels uncovered: the lines also reach the window's last pixel.
int32_t LinesCoveringPixels(float extentTwips, float tpp, int32_t blockPx) {
    if (!(tpp > 0)) return 0;
    const int32_t extentPx = rt::RoundHeldToInt32(static_cast<double>(extentTwips) / tpp);
    if (extentPx <= 0) return 0;
    return std::min(extentPx / blockPx + (extentPx % blockPx > 0 ? 1 : 0), kMaxGridLines);
}

// The part of one block's extent that lies inside the window, in pixels.
int32_t VisibleExtentPx(float blockTwips, int32_t index, float windowTwips, float tpp) {
    const double block = blockTwips;
    const double end = block * index;
    double twips = block;
    if (static_cast<float>(end) > windowTwips) twips = block - (end - windowTwips);
    return std::max<int32_t>(0, rt::RoundHeldToInt32(rt::RoundHeldToInt32(twips) / static_cast<double>(tpp)));
}

}  // namespace

BlockGridRecord ComputeBlockGrid(float widthTwips, float heightTwips, int32_t blockSizePx, float tppX, float tppY) {
    const int32_t size = blockSizePx > 0 ? blockSizePx : kFallbackBlockSizePx;
    BlockGridRecord grid;
    grid.BlockWidth = static_cast<float>(size) * tppX;
    grid.BlockHeight = static_cast<float>(size) * tppY;
    grid.Columns = std::max(LinesCovering(widthTwips, grid.BlockWidth), LinesCoveringPixels(widthTwips, tppX, size));
    grid.Rows = std::max(LinesCovering(heightTwips, grid.BlockHeight), LinesCoveringPixels(heightTwips, tppY, size));
    return grid;
}

PixelRect BlockPixelRect(const BlockGridRecord& grid, int32_t c, int32_t r, float formWidthTwips,
                         float formHeightTwips, float tppX, float tppY) {
    if (!(tppX > 0) || !(tppY > 0)) return {};
    PixelRect rect;
    rect.x = rt::RoundHeldToInt32(static_cast<double>(grid.BlockWidth) * (static_cast<double>(c) - 1) / tppX);
    rect.y = rt::RoundHeldToInt32(static_cast<double>(grid.BlockHeight) * (static_cast<double>(r) - 1) / tppY);
    rect.width = VisibleExtentPx(grid.BlockWidth, c, formWidthTwips, tppX);
    rect.height = VisibleExtentPx(grid.BlockHeight, r, formHeightTwips, tppY);
    return rect;
}

}  // namespace kpv
