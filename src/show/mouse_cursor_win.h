#pragma once
// Hiding and restoring the mouse pointer during a show.
namespace kpv {

// true raises and false lowers the system's pointer display count by one; the new count is not needed.
void ShowMouseCursor(const bool& show);

}  // namespace kpv
