#include "show/mouse_cursor_win.h"

#include <windows.h>

namespace kpv {

void ShowMouseCursor(const bool& show) { ShowCursor(show ? TRUE : FALSE); }

}  // namespace kpv
