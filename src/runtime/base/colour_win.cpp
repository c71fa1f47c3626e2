#include "runtime/base/colour_win.h"

namespace kpv::rt {

COLORREF ResolveColour(uint32_t colourRef) {
    if (colourRef & kSystemColourFlag) return GetSysColor(static_cast<int>(colourRef & 0xFFu));
    return colourRef & 0x00FFFFFFu;
}

uint32_t ColourToPixel(COLORREF colour) {
    return (static_cast<uint32_t>(GetRValue(colour)) << 16) | (static_cast<uint32_t>(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

}  // namespace kpv::rt
