#include "runtime/base/msgbox_win.h"

#include <windows.h>

#include <string>

#include "runtime/base/app_info_win.h"

namespace kpv::rt {

int MsgBoxTitled(std::wstring_view text, unsigned style, std::wstring_view title) {
    const std::wstring t(text), c(title);
    HWND owner = GetActiveWindow();
    // A full-screen top-most show must not hide its own message behind itself.
    return MessageBoxW(owner, t.c_str(), c.c_str(), style | MB_SETFOREGROUND | (owner ? 0u : MB_TOPMOST));
}

int MsgBox(std::wstring_view text, unsigned style) { return MsgBoxTitled(text, style, AppTitle()); }

}  // namespace kpv::rt
