#include "effects/colour_effect_win.h"

#include <algorithm>
#include <new>

#include "effects/picture_bits_win.h"

namespace kpv {

namespace {

// Clipped before the width and height are formed, so that no extreme rectangle overflows.
PixelGrid ClippedPart(PixelGrid& grid, const RECT& part) {
    const LONG left = std::clamp<LONG>(part.left, 0, grid.Width());
    const LONG right = std::clamp<LONG>(part.right, left, grid.Width());
    const LONG top = std::clamp<LONG>(part.top, 0, grid.Height());
    const LONG bottom = std::clamp<LONG>(part.bottom, top, grid.Height());
    return grid.Part(left, top, right - left, bottom - top);
}

}  // namespace

void ApplyColourEffectToPart(HDC boxDc, HBITMAP image, const RECT& part, EffectKind kind) {
    const SIZE size = PictureSize(image);
    PixelGrid grid;
    try {
        grid = PixelGrid(size.cx, size.cy);
    } catch (const std::bad_alloc&) {
        grid = PixelGrid();  // the read below refuses the size mismatch and says so
    }
    if (!ReadPictureBits(boxDc, image, grid)) return;
    ApplyColourEffectToGrid(ClippedPart(grid, part), kind);
    WritePictureBits(boxDc, image, grid);
}

void ApplyColourEffect(HDC boxDc, HBITMAP image, EffectKind kind) {
    const SIZE size = PictureSize(image);
    ApplyColourEffectToPart(boxDc, image, RECT{0, 0, size.cx, size.cy}, kind);
}

void ApplyColourEffectToImage(uint32_t* topLine, int width, int height, const RECT& part, EffectKind kind) {
    if (!topLine || width <= 0 || height <= 0) return;
    GdiFlush();  // drawing into the image may still be queued
    PixelGrid pixels = PixelGrid::View(topLine, width, height, width);
    ApplyColourEffectToGrid(ClippedPart(pixels, part), kind);
}

}  // namespace kpv
