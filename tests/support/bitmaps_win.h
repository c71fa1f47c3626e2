#pragma once
// Bitmaps for the pixel tests: one of the screen's kind, as a picture box holds its image, and DIB sections
// whose memory the test reads and writes itself.
#include <windows.h>

#include <cstdint>

#include "runtime/base/handles_win.h"

namespace kpv::test {

// A pixel as the pixel code holds it: 0xXXRRGGBB, the fourth byte on top.
inline uint32_t Bgrx(uint32_t r, uint32_t g, uint32_t b, uint32_t fourth = 0) {
    return (fourth << 24) | (r << 16) | (g << 8) | b;
}

inline rt::UniqueBitmap ScreenBitmap(int w, int h) {
    rt::WindowDc screen = rt::WindowDc::Get(nullptr);
    return rt::UniqueBitmap(CreateCompatibleBitmap(screen.get(), w, h));
}

// With a negative height the top line comes first in memory.
inline rt::UniqueBitmap DibSection(int w, int h, int bits, void** memory) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0};
    return rt::UniqueBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, memory, nullptr, 0));
}

}  // namespace kpv::test
