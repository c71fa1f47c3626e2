#include "runtime/base/units_win.h"

#include <windows.h>

namespace kpv::rt {

namespace {
int LogPixels(int index) {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, index) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}
}  // namespace

float TwipsPerPixelX() {
    static const float v = 1440.0f / static_cast<float>(LogPixels(LOGPIXELSX));
    return v;
}

float TwipsPerPixelY() {
    static const float v = 1440.0f / static_cast<float>(LogPixels(LOGPIXELSY));
    return v;
}

float ScreenWidthTwips() { return static_cast<float>(GetSystemMetrics(SM_CXSCREEN)) * TwipsPerPixelX(); }
float ScreenHeightTwips() { return static_cast<float>(GetSystemMetrics(SM_CYSCREEN)) * TwipsPerPixelY(); }

}  // namespace kpv::rt
