#pragma once
// Child controls report to their parent (WM_COMMAND). The dialog hands each report back to the control that
// sent it, so that a control object raises its own events, such as a text box's Change.
#include <windows.h>

namespace kpv::rt {

inline constexpr UINT kReflectedCommand = WM_APP + 0x2A00;

// Sends a WM_COMMAND's report back to its control; true when the control took it as one of its events.
bool ReflectCommand(WPARAM wParam, LPARAM lParam);

}  // namespace kpv::rt
