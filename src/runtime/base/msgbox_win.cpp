#include "runtime/base/msgbox_win.h"

#include <windows.h>

#include <string>

#include "runtime/base/app_info_win.h"

namespace kpv::rt {

namespace {

int ShowBox(HWND owner, std::wstring_view text, unsigned style, std::wstring_view title) {
    const std::wstring t(text), c(title);
    // A full-screen top-most show must not hide a message behind itself.
    return MessageBoxW(owner, t.c_str(), c.c_str(), style | MB_SETFOREGROUND | (owner ? 0u : MB_TOPMOST));
}

}  // namespace

int MsgBoxTitled(std::wstring_view text, unsigned style, std::wstring_view title) {
    return ShowBox(GetActiveWindow(), text, style, title);
}

int MsgBoxOwned(HWND owner, std::wstring_view text, unsigned style) { return ShowBox(owner, text, style, AppTitle()); }

int MsgBox(std::wstring_view text, unsigned style) { return MsgBoxTitled(text, style, AppTitle()); }

}  // namespace kpv::rt
