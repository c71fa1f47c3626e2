#pragma once
// The monitors of the desktop.
#include <windows.h>

#include <functional>
#include <vector>

namespace kpv::rt {

// Calls visit for each monitor the platform lists; a visit that throws ends the listing, guarded.
void EnumerateMonitors(const std::function<void(const MONITORINFO&)>& visit);

// Every monitor's rectangle in screen pixels, the primary (at 0, 0) first; the primary screen alone when the
// platform lists none.
std::vector<RECT> MonitorRects();

}  // namespace kpv::rt
