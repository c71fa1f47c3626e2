#pragma once
// Reaching a dialog's controls from a test, in this process or another: by id among all descendants (the
// settings dialog nests its controls in frames), their text, check state and place, and the keyboard focus.
#include <windows.h>

#include <string>

#include "support/driver_win.h"

namespace kpv::test {

inline HWND FindDescendant(HWND root, int id) {
    struct Search { int id; HWND found; } s{id, nullptr};
    EnumChildWindows(root, [](HWND w, LPARAM p) -> BOOL {
        auto* search = reinterpret_cast<Search*>(p);
        if (GetDlgCtrlID(w) == search->id) { search->found = w; return FALSE; }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

inline bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A control's rectangle relative to its parent's client area, in pixels.
inline RECT RectInParent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline std::pair<DWORD, DWORD> SelectionOf(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

// Types the characters one WM_CHAR each, as the keyboard delivers them to the focused field.
inline void TypeChars(HWND edit, const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
}

// The keyboard focus of the thread that owns `window`, read from any thread.
inline HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Moves the keyboard focus to a control of another thread (or this one), as a click on it would.
inline void FocusControl(HWND control) {
    const DWORD target = GetWindowThreadProcessId(control, nullptr);
    const DWORD self = GetCurrentThreadId();
    const bool attach = target != self && AttachThreadInput(self, target, TRUE);
    SetFocus(control);
    if (attach) AttachThreadInput(self, target, FALSE);
}

// Posts a key as the keyboard would: down, then up. The dialog's own loop sees it (Tab, Enter, Esc).
inline void PostKey(HWND focus, WORD vk) {
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    PostMessageW(focus, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageW(focus, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

// A dialog (#32770) of the process that holds a control with the given id, such as the folder browser's
// tree or the colour dialog's red field.
inline HWND WaitForDialogWithControl(DWORD pid, int controlId, int timeoutMs) {
    return WaitForWindow(pid, [controlId](HWND w) {
        return IsWindowVisible(w) && WindowClass(w) == L"#32770" && FindDescendant(w, controlId) != nullptr;
    }, timeoutMs);
}

}  // namespace kpv::test
