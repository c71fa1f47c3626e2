#pragma once
// The eight EXIF orientations as pixel placement: a picture is stored as the camera's sensor saw it, and is
// turned and mirrored into the picture as it is meant to be seen.
#include <cstddef>
#include <cstdint>

namespace kpv::rt {

// Orientations 5 to 8 turn the picture a quarter, so the seen width is the stored height.
inline bool SwapsAxes(int orientation) { return orientation >= 5 && orientation <= 8; }

struct BandLayout {
    int storedWidth = 0;
    int storedHeight = 0;
    int orientation = 1;      // 1..8; anything else is taken as 1
};

// Places stored lines [firstLine, firstLine + lines) into the seen picture, whose lines are seenStride
// pixels apart and whose size is the stored size with the axes swapped for orientations 5 to 8. band holds
// those stored lines, bandStride pixels apart. The fourth byte of every placed pixel becomes 0.
void PlaceBand(const BandLayout& layout, const uint32_t* band, size_t bandStride, int firstLine, int lines,
               uint32_t* seen, size_t seenStride);

// Sets the fourth byte of count pixels to 0: decoders fill it with 0xFF for opaque pictures.
void ClearFourthByte(uint32_t* pixels, size_t count);

}  // namespace kpv::rt
