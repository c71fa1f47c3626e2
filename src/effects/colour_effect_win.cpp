#include "effects/colour_effect_win.h"

#include <algorithm>

#include "effects/pixel_grid.h"

namespace kpv {

void ApplyColourEffectToImage(uint32_t* topLine, int width, int height, const RECT& part, EffectKind kind) {
    if (!topLine || width <= 0 || height <= 0) return;
    GdiFlush();  // drawing into the image may still be queued
    PixelGrid pixels = PixelGrid::View(topLine, width, height, width);
    // Clipped before the width and height are formed, so that no extreme rectangle overflows.
    const LONG left = std::clamp<LONG>(part.left, 0, width);
    const LONG right = std::clamp<LONG>(part.right, left, width);
    const LONG top = std::clamp<LONG>(part.top, 0, height);
    const LONG bottom = std::clamp<LONG>(part.bottom, top, height);
    ApplyColourEffectToGrid(pixels.Part(left, top, right - left, bottom - top), kind);
}

}  // namespace kpv
