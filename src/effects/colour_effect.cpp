#include "effects/colour_effect.h"

namespace kpv {

namespace {

// Grey level g = floor((R + G + B) / 3), then the whole pixel for it. The sepia greens are floor(g / 3 * 2),
// which for whole g from 0 to 255 equals the exact integer 2g / 3 (g / 3 is either exact or a third off a
// whole number, far from any rounding edge).
template <EffectKind Kind>
uint32_t Recolour(uint32_t pixel) {
    const uint32_t red = (pixel >> 16) & 0xFFu;
    const uint32_t green = (pixel >> 8) & 0xFFu;
    const uint32_t blue = pixel & 0xFFu;
    const uint32_t grey = (red + green + blue) / 3u;
    if constexpr (Kind == EffectKind::Monochrome) {
        return (grey << 16) | (grey << 8) | grey;
    } else if constexpr (Kind == EffectKind::Sepia) {
        return (grey << 16) | ((grey * 2u / 3u) << 8) | (grey / 3u);
    } else {
        return pixel & 0x00FFFFFFu;
    }
}

// One loop per kind, so the choice is made once per picture rather than once per pixel.
template <EffectKind Kind>
void RecolourGrid(PixelGrid& grid) {
    const int32_t width = grid.Width();
    for (int32_t y = 0; y < grid.Height(); ++y) {
        uint32_t* line = grid.Line(y);
        for (int32_t x = 0; x < width; ++x) line[x] = Recolour<Kind>(line[x]);
    }
}

}  // namespace

uint32_t RecolourPixel(uint32_t pixel, EffectKind kind) {
    switch (kind) {
    case EffectKind::Monochrome:
        return Recolour<EffectKind::Monochrome>(pixel);
    case EffectKind::Sepia:
        return Recolour<EffectKind::Sepia>(pixel);
    default:
        return Recolour<EffectKind::None>(pixel);
    }
}

void ApplyColourEffectToGrid(PixelGrid& grid, EffectKind kind) {
    switch (kind) {
    case EffectKind::Monochrome:
        RecolourGrid<EffectKind::Monochrome>(grid);
        break;
    case EffectKind::Sepia:
        RecolourGrid<EffectKind::Sepia>(grid);
        break;
    default:
        RecolourGrid<EffectKind::None>(grid);
        break;
    }
}

}  // namespace kpv
