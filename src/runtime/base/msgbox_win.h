#pragma once
// Message boxes with Japanese text, the application title as caption.
#include <windows.h>

#include <string_view>

namespace kpv::rt {

inline constexpr unsigned kMsgExclamation = 48;  // warning icon, one OK button
inline constexpr unsigned kMsgCritical = 16;     // critical icon, one OK button

// Shows the message modally, owned by the active window of this thread if any. Returns the button id.
int MsgBox(std::wstring_view text, unsigned style = kMsgExclamation);
int MsgBoxTitled(std::wstring_view text, unsigned style, std::wstring_view title);
// Owned by the given window (it is disabled while the box is up); no owner: over everything, on the desktop.
int MsgBoxOwned(HWND owner, std::wstring_view text, unsigned style = kMsgExclamation);

}  // namespace kpv::rt
