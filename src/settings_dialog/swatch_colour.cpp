#include "settings_dialog/swatch_colour.h"

namespace kpv {

uint32_t SwatchCaptionColour(uint32_t c) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int v = static_cast<int>((c >> shift) & 0xFF);
        int t = v > 255 ? v - 255 : 255 - v;
        if (v - 16 <= t && t <= v + 16) t = 0;
        out |= static_cast<uint32_t>(t) << shift;
    }
    return out;
}

uint32_t SwatchColourFor(int backgroundOption, uint32_t fixedColour) {
    return backgroundOption != 0 ? fixedColour : kButtonFaceColourRef;
}

}  // namespace kpv
