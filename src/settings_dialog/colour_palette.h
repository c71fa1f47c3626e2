#pragma once
// The sixteen colours the colour chooser offers as custom colours, as colour references (0x00BBGGRR).
#include <array>
#include <cstdint>

namespace kpv {

inline constexpr std::array<uint32_t, 16> kCustomColourPalette{
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// Fills the custom colours from the palette when slot 0 is 0. Palette colour 0 is black, so after any fill
// slot 0 is 0 again and the palette comes back on every call, whatever the user did with the slots.
void ResetCustomColours(std::array<uint32_t, 16>& slots);

}  // namespace kpv
