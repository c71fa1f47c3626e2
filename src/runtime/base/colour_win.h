#pragma once
// Colour references as the forms take them: 0x00BBGGRR, or a system colour when the high bit is set.
#include <windows.h>

#include <cstdint>

namespace kpv::rt {

inline constexpr uint32_t kSystemColourFlag = 0x80000000u;

// The colour a reference stands for now: a system-colour reference names GetSysColor's index in its low
// byte; any other reference is taken as red, green and blue in its three low bytes.
COLORREF ResolveColour(uint32_t colourRef);

// The same colour as a 32-bit DIB pixel (0x00RRGGBB).
uint32_t ColourToPixel(COLORREF colour);

}  // namespace kpv::rt
