#include "runtime/forms/label_win.h"

#include "runtime/forms/dialog_font_win.h"

namespace kpv::rt {

namespace {
void FitToText(HWND label, const std::wstring& caption) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
    const SIZE size = TextExtent(font ? font : DialogFont(), caption.c_str(), static_cast<int>(caption.size()));
    SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

HWND CreateLabel(HWND parent, int id, const std::wstring& caption, POINT at, HFONT font) {
    HWND label = CreateWindowExW(0, L"Static", caption.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, at.x, at.y,
                                 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (!label) return nullptr;
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    FitToText(label, caption);
    return label;
}

void SetLabelCaption(HWND label, const std::wstring& caption) {
    SetWindowTextW(label, caption.c_str());
    FitToText(label, caption);
}

}  // namespace kpv::rt
