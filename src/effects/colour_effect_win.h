#pragma once
// Recolouring, monochrome or sepia, the part of a 32-bit top-down image where a picture was drawn, in the
// image's own memory (a DIB section of ours): no transfer through the platform at all.
#include <windows.h>

#include <cstdint>

#include "effects/colour_effect.h"

namespace kpv {

// Recolours the rectangle part (clipped to the image) of an image width pixels from one line to the next,
// once drawing into it has finished: queued GDI drawing is flushed first. Recolouring where a picture landed
// after a pixel-picking (COLORONCOLOR) copy gives exactly what recolouring the picture before the copy
// gives, at a fraction of the cost for a large picture.
void ApplyColourEffectToImage(uint32_t* topLine, int width, int height, const RECT& part, EffectKind kind);

}  // namespace kpv
