#pragma once
// The one copying primitive: a stretching copy between two device contexts with COLORONCOLOR (each
// destination pixel takes one whole source pixel, never a blend), after which both DCs are released.
// Releasing a memory DC (a kept image) does nothing, so callers may pass either kind.
#include <windows.h>

#include <cstdint>

namespace kpv {

int32_t BlitBlock(HWND destWindow, HDC destDc, int32_t destX, int32_t destY, int32_t destWidth,
                  int32_t destHeight, HWND sourceWindow, HDC sourceDc, int32_t sourceX, int32_t sourceY,
                  int32_t sourceWidth, int32_t sourceHeight, DWORD rasterOperation);

}  // namespace kpv
