#include "runtime/forms/option_array_win.h"

namespace kpv::rt {

bool OptionArray::Add(HWND parent, int id, const std::wstring& caption, const RECT& px, HFONT font) {
    // Auto radio buttons so the dialog manager selects with the arrow keys; the first starts the group.
    const DWORD style = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (buttons_.empty() ? WS_GROUP : 0);
    HWND button = CreateWindowExW(0, L"Button", caption.c_str(), style, px.left, px.top, px.right - px.left,
                                  px.bottom - px.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleW(nullptr), nullptr);
    if (!button) return false;
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    buttons_.push_back(button);
    UpdateTabStops();
    return true;
}

HWND OptionArray::Button(int index) const {
    return index >= 0 && index < Count() ? buttons_[static_cast<size_t>(index)] : nullptr;
}

bool OptionArray::Value(int index) const {
    HWND b = Button(index);
    return b && SendMessageW(b, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int OptionArray::Selected() const {
    for (int i = 0; i < Count(); ++i)
        if (Value(i)) return i;
    return -1;
}

void OptionArray::SetValue(int index, bool on) {
    HWND b = Button(index);
    if (!b) return;
    if (!on) {
        SendMessageW(b, BM_SETCHECK, BST_UNCHECKED, 0);
        UpdateTabStops();
        return;
    }
    for (int i = 0; i < Count(); ++i)
        SendMessageW(buttons_[static_cast<size_t>(i)], BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
    UpdateTabStops();
    if (click) click(index);
}

void OptionArray::SetEnabled(int index, bool enabled) {
    if (HWND b = Button(index)) EnableWindow(b, enabled);
}

bool OptionArray::Enabled(int index) const {
    HWND b = Button(index);
    return b && IsWindowEnabled(b);
}

int OptionArray::IndexOf(HWND button) const {
    for (int i = 0; i < Count(); ++i)
        if (buttons_[static_cast<size_t>(i)] == button) return i;
    return -1;
}

void OptionArray::UpdateTabStops() {
    // Tab enters the group at its selected button (the first when none is), as in any dialog.
    int stop = Selected();
    if (stop < 0) stop = 0;
    for (int i = 0; i < Count(); ++i) {
        HWND b = buttons_[static_cast<size_t>(i)];
        const LONG_PTR style = GetWindowLongPtrW(b, GWL_STYLE);
        const LONG_PTR wanted = i == stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        if (wanted != style) SetWindowLongPtrW(b, GWL_STYLE, wanted);
    }
}

bool OptionArray::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int index = IndexOf(reinterpret_cast<HWND>(lParam));
    if (index < 0) return false;
    if (HIWORD(wParam) == BN_CLICKED) SetValue(index, true);
    return true;
}

}  // namespace kpv::rt
