#include "runtime/picture/picture_orientation.h"

namespace kpv::rt {
namespace {

constexpr uint32_t kColourBits = 0x00FFFFFF;

// Where stored pixel (x, y) lands: origin + x * alongLine + y * acrossLines, in pixels of the seen picture.
struct Placement {
    ptrdiff_t origin;
    ptrdiff_t alongLine;
    ptrdiff_t acrossLines;
};

Placement PlacementOf(const BandLayout& l, ptrdiff_t s) {
    const ptrdiff_t w = l.storedWidth, h = l.storedHeight;
    switch (l.orientation) {
    case 2: return {w - 1, -1, s};                      // mirrored left to right
    case 3: return {(h - 1) * s + w - 1, -1, -s};       // half a turn
    case 4: return {(h - 1) * s, 1, -s};                // mirrored top to bottom
    case 5: return {0, s, 1};                           // mirrored along the main diagonal
    case 6: return {h - 1, s, -1};                      // a quarter turn clockwise
    case 7: return {(w - 1) * s + h - 1, -s, -1};       // mirrored along the other diagonal
    case 8: return {(w - 1) * s, -s, 1};                // a quarter turn anticlockwise
    default: return {0, 1, s};
    }
}

}  // namespace

void PlaceBand(const BandLayout& layout, const uint32_t* band, size_t bandStride, int firstLine, int lines,
               uint32_t* seen, size_t seenStride) {
    const Placement p = PlacementOf(layout, static_cast<ptrdiff_t>(seenStride));
    uint32_t* const origin = seen + p.origin;
    if (!SwapsAxes(layout.orientation)) {
        for (int r = 0; r < lines; ++r) {
            const uint32_t* from = band + r * bandStride;
            uint32_t* to = origin + (firstLine + r) * p.acrossLines;
            for (int x = 0; x < layout.storedWidth; ++x) to[x * p.alongLine] = from[x] & kColourBits;
        }
        return;
    }
    // A quarter turn: walk the band column by column so that each seen line is written in one run.
    for (int x = 0; x < layout.storedWidth; ++x) {
        uint32_t* to = origin + x * p.alongLine + firstLine * p.acrossLines;
        for (int r = 0; r < lines; ++r) to[r * p.acrossLines] = band[r * bandStride + x] & kColourBits;
    }
}

void ClearFourthByte(uint32_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) pixels[i] &= kColourBits;
}

}  // namespace kpv::rt
