#include "runtime/base/units_win.h"

#include <windows.h>

#include "runtime/base/handles_win.h"

namespace kpv::rt {

int ScreenLogPixels(int index) {
    const WindowDc screen = WindowDc::Get(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), index) : 96;
    return dpi > 0 ? dpi : 96;
}

float TwipsPerPixelX() {
    static const float v = 1440.0f / static_cast<float>(ScreenLogPixels(LOGPIXELSX));
    return v;
}

float TwipsPerPixelY() {
    static const float v = 1440.0f / static_cast<float>(ScreenLogPixels(LOGPIXELSY));
    return v;
}

float ScreenWidthTwips() { return static_cast<float>(GetSystemMetrics(SM_CXSCREEN)) * TwipsPerPixelX(); }
float ScreenHeightTwips() { return static_cast<float>(GetSystemMetrics(SM_CYSCREEN)) * TwipsPerPixelY(); }

}  // namespace kpv::rt
