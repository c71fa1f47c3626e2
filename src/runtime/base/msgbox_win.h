#pragma once
// Message boxes with Japanese text, the application title as caption.
#include <string_view>

namespace kpv::rt {

inline constexpr unsigned kMsgExclamation = 48;  // warning icon, one OK button
inline constexpr unsigned kMsgCritical = 16;     // critical icon, one OK button

// Shows the message modally, owned by the active window of this thread if any. Returns the button id.
int MsgBox(std::wstring_view text, unsigned style = kMsgExclamation);
int MsgBoxTitled(std::wstring_view text, unsigned style, std::wstring_view title);

}  // namespace kpv::rt
