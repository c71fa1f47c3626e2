#pragma once
// Colours of the background swatch: its own colour and the colour its caption is drawn in.
#include <cstdint>

namespace kpv {

// The dialog's own background: the system-colour reference of the button face (high bit set, index 15).
inline constexpr uint32_t kButtonFaceColourRef = 0x8000000Fu;

// The caption colour for a swatch colour c: each of the three low bytes v (red, green, blue) of the raw
// reference becomes 255 - v, except that a middle value (120 to 135), on which neither black nor white
// would stand out more, becomes 0. A system-colour reference is taken by its raw bytes too.
uint32_t SwatchCaptionColour(uint32_t c);

// The swatch colour for the selected background option: the fixed colour, or the dialog's own background.
uint32_t SwatchColourFor(int backgroundOption, uint32_t fixedColour);

}  // namespace kpv
