#include "runtime/base/monitors_win.h"

namespace kpv::rt {

std::vector<RECT> MonitorRects() {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, [](HMONITOR monitor, HDC, LPRECT, LPARAM list) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoW(monitor, &info)) return TRUE;
        auto& rects = *reinterpret_cast<std::vector<RECT>*>(list);
        const bool primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
        rects.insert(primary ? rects.begin() : rects.end(), info.rcMonitor);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty()) monitors.push_back(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return monitors;
}

}  // namespace kpv::rt
