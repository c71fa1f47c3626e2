#pragma once
// Recolouring a bitmap in place: monochrome or sepia for a whole picture or for the part of a bitmap where a
// picture was drawn. A caller that holds the pixels itself (a top-down DIB section it created) recolours them
// in their own memory with ApplyColourEffectToImage, with no transfer at all.
#include <windows.h>

#include <cstdint>

#include "effects/colour_effect.h"
#include "effects/pixel_grid.h"

namespace kpv {

// Recolours the rectangle part (clipped to the bitmap) of image in place, through ReadPictureBits and
// WritePictureBits. A failed read is reported and leaves the picture untouched rather than blackening it.
// boxDc: the device context the image may be selected into, or nullptr when it is in none.
void ApplyColourEffectToPart(HDC boxDc, HBITMAP image, const RECT& part, EffectKind kind);

// The whole picture.
void ApplyColourEffect(HDC boxDc, HBITMAP image, EffectKind kind);

// Recolours the rectangle part (clipped to the image) of a 32-bit top-down image held in memory, width pixels
// from one line to the next (a kept image or a loaded picture), once drawing into it has finished: queued GDI
// drawing is flushed first. Recolouring where a picture landed after a pixel-picking (COLORONCOLOR) copy gives
// exactly what recolouring the picture before the copy gives, at a fraction of the cost for a large picture.
void ApplyColourEffectToImage(uint32_t* topLine, int width, int height, const RECT& part, EffectKind kind);

}  // namespace kpv
