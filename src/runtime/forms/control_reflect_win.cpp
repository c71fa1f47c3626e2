#include "runtime/forms/control_reflect_win.h"

namespace kpv::rt {

bool ReflectCommand(WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    if (!control || !IsWindow(control)) return false;
    // Standard controls ignore a message they do not know and answer 0.
    return SendMessageW(control, kReflectedCommand, wParam, lParam) != 0;
}

}  // namespace kpv::rt
