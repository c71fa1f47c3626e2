#include "runtime/forms/text_box_win.h"

#include <commctrl.h>

#include "runtime/forms/control_reflect_win.h"
#include "runtime/forms/form_win.h"
#include "runtime/base/guarded_win.h"

namespace kpv::rt {

namespace {
constexpr UINT_PTR kSubclassId = 0x4B505654;  // any id unique among this window's subclasses
}

TextBox::~TextBox() {
    if (hwnd_ && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
}

bool TextBox::Create(HWND parent, int id, const RECT& px, HFONT font, TextAlign align, int maxLength) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (align == TextAlign::Right ? ES_RIGHT : ES_LEFT);
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", style, px.left, px.top, px.right - px.left, px.bottom - px.top,
                            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return false;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (maxLength > 0) SendMessageW(hwnd_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
    return SetWindowSubclass(hwnd_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

std::wstring TextBox::Text() const {
    if (!hwnd_) return {};
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), length + 1)));
    return text;
}

void TextBox::SetText(std::wstring_view text) {
    if (!hwnd_ || Text() == text) return;
    const std::wstring copy(text);
    SendMessageW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

int TextBox::SelStart() const {
    DWORD start = 0, end = 0;
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

int TextBox::SelLength() const {
    DWORD start = 0, end = 0;
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TextBox::SetSelection(int start, int length) {
    SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
}

void TextBox::SetFocus() {
    if (hwnd_) ::SetFocus(hwnd_);
}

bool TextBox::HasFocus() const { return hwnd_ && GetFocus() == hwnd_; }

void TextBox::DropCharactersOfDiscardedKey() {
    // TranslateMessage has already queued the character of this key; a discarded key makes none.
    MSG pending;
    while (PeekMessageW(&pending, hwnd_, WM_CHAR, WM_DEADCHAR, PM_REMOVE)) {}
    while (PeekMessageW(&pending, hwnd_, WM_SYSCHAR, WM_SYSDEADCHAR, PM_REMOVE)) {}
}

LRESULT TextBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            if (!events.keyDown) break;
            uint16_t code = static_cast<uint16_t>(wParam);
            events.keyDown(code, ShiftStateNow());
            if (code == 0) {
                DropCharactersOfDiscardedKey();
                // Alt+F4 still closes the window: the keyboard must always be able to leave a dialog.
                if (msg == WM_SYSKEYDOWN && wParam == VK_F4) break;
                return 0;
            }
            return DefSubclassProc(hwnd_, msg, code, lParam);
        }
        case WM_CHAR: {
            if (!events.keyPress) break;
            uint16_t code = static_cast<uint16_t>(wParam);
            events.keyPress(code);
            if (code == 0) return 0;
            return DefSubclassProc(hwnd_, msg, code, lParam);
        }
        case WM_SETFOCUS: {
            const LRESULT r = DefSubclassProc(hwnd_, msg, wParam, lParam);
            if (events.gotFocus) events.gotFocus();
            return r;
        }
        case WM_KILLFOCUS: {
            const LRESULT r = DefSubclassProc(hwnd_, msg, wParam, lParam);
            if (events.lostFocus) events.lostFocus();
            return r;
        }
        case kReflectedCommand:
            if (HIWORD(wParam) == EN_CHANGE && events.change) {
                events.change();
                return 1;
            }
            return 0;
        default:
            break;
    }
    return DefSubclassProc(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK TextBox::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* box = reinterpret_cast<TextBox*>(self);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        box->hwnd_ = nullptr;
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    RunGuarded([&] { result = box->OnMessage(msg, wParam, lParam); });
    return result;
}

}  // namespace kpv::rt
