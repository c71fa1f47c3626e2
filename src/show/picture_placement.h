#pragma once
// Where a loaded picture goes in the window-sized image: centred, copied pixel for pixel when it fits,
// scaled down to fit (keeping its proportions) when it is larger on either axis, never enlarged.
#include <cstdint>

namespace kpv {

struct PicturePlacement {
    int32_t X = 0;             // destination rectangle, pixels of the window-sized image
    int32_t Y = 0;
    int32_t DestWidth = 0;
    int32_t DestHeight = 0;
    int32_t SourceWidth = 0;   // part of the loaded picture to copy, pixels from its top-left corner
    int32_t SourceHeight = 0;
};

// fW, fH: the window; pW, pH: the picture; all in twips. tx, ty: twips per pixel.
// A window without width or height, or factors that are not positive, leave nothing to draw: every field
// is 0 and the copy does nothing. A picture without width or height is drawn as an empty rectangle at the
// centre. Negative picture sizes count as 0.
PicturePlacement PlacePicture(float fW, float fH, float pW, float pH, float tx, float ty);

}  // namespace kpv
