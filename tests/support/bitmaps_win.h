#pragma once
// Bitmaps for the pixel tests: DIB sections whose memory the test reads and writes itself.
#include <windows.h>

#include <cstdint>

#include "runtime/base/handles_win.h"

namespace kpv::test {

// With a negative height the top line comes first in memory.
inline rt::UniqueBitmap DibSection(int w, int h, int bits, void** memory) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0};
    return rt::UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, memory, nullptr, 0));
}

}  // namespace kpv::test
