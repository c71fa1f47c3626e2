#pragma once
// Monochrome and sepia: a per-pixel recolour from the plain average of red, green and blue.
#include <cstdint>

#include "effects/pixel_grid.h"

namespace kpv {

// 0 leaves the colours unchanged, 1 monochrome, 2 sepia; any other value behaves as 0.
enum class EffectKind : int16_t { None = 0, Monochrome = 1, Sepia = 2 };

// One pixel 0xXXRRGGBB to its recoloured value. The fourth byte of the result is always 0, whatever the
// kind, so that an unchanged picture and a recoloured one leave the same kind of pixel behind.
uint32_t RecolourPixel(uint32_t pixel, EffectKind kind);

// Recolours every pixel of the grid in place, line by line from the top.
void ApplyColourEffectToGrid(PixelGrid& grid, EffectKind kind);
// The same for a view made on the spot, such as grid.Part(...).
inline void ApplyColourEffectToGrid(PixelGrid&& view, EffectKind kind) { ApplyColourEffectToGrid(view, kind); }

}  // namespace kpv
