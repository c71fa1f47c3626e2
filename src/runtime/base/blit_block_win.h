#pragma once
// The one copying primitive: a stretching copy between two device contexts with COLORONCOLOR, so that each
// destination pixel takes one whole source pixel, never a blend. The device contexts stay with their
// owners, who release them.
#include <windows.h>

#include <cstdint>

namespace kpv {

int32_t BlitBlock(HDC destDc, int32_t destX, int32_t destY, int32_t destWidth, int32_t destHeight, HDC sourceDc,
                  int32_t sourceX, int32_t sourceY, int32_t sourceWidth, int32_t sourceHeight, DWORD rasterOperation);

}  // namespace kpv
