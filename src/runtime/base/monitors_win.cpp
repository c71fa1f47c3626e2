#include "runtime/base/monitors_win.h"

#include "runtime/base/guarded_win.h"

namespace kpv::rt {

void EnumerateMonitors(const std::function<void(const MONITORINFO&)>& visit) {
    using Visit = std::function<void(const MONITORINFO&)>;
    EnumDisplayMonitors(nullptr, nullptr, [](HMONITOR monitor, HDC, LPRECT, LPARAM p) -> BOOL {
        bool visited = false;
        RunGuarded([&] {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (GetMonitorInfoW(monitor, &info)) (*reinterpret_cast<const Visit*>(p))(info);
            visited = true;
        });
        return visited ? TRUE : FALSE;
    }, reinterpret_cast<LPARAM>(&visit));
}

std::vector<RECT> MonitorRects() {
    std::vector<RECT> monitors;
    EnumerateMonitors([&monitors](const MONITORINFO& info) {
        const bool primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
        monitors.insert(primary ? monitors.begin() : monitors.end(), info.rcMonitor);
    });
    if (monitors.empty()) monitors.push_back(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return monitors;
}

}  // namespace kpv::rt
