#pragma once
// The monitors of the desktop.
#include <windows.h>

#include <vector>

namespace kpv::rt {

// Every monitor's rectangle in screen pixels, the primary (at 0, 0) first; the primary screen alone when the
// platform lists none.
std::vector<RECT> MonitorRects();

}  // namespace kpv::rt
