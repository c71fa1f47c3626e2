#include "settings_dialog/colour_palette.h"

namespace kpv {

void ResetCustomColours(std::array<uint32_t, 16>& slots) {
    if (slots[0] == 0) slots = kCustomColourPalette;
}

}  // namespace kpv
