#pragma once
// A text box with the events a form's code handles: KeyDown (key code and modifier state: 1 Shift, 2 Ctrl,
// 4 Alt), KeyPress (character code), Change (every change of the text, also one made by the program),
// GotFocus and LostFocus. Key and character codes are passed by reference: setting one to 0 discards the
// key or the character. Change arrives through the parent: the dialog reflects its WM_COMMAND reports
// (runtime/control_reflect_win.h).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kpv::rt {

struct TextBoxEvents {
    std::function<void(uint16_t& keyCode, int shift)> keyDown;
    std::function<void(uint16_t& keyAscii)> keyPress;
    std::function<void()> change;
    std::function<void()> gotFocus;
    std::function<void()> lostFocus;
};

enum class TextAlign { Left, Right };

class TextBox {
public:
    TextBox() = default;
    ~TextBox();
    TextBox(const TextBox&) = delete;
    TextBox& operator=(const TextBox&) = delete;

    // maxLength 0: no limit beyond the control's own.
    bool Create(HWND parent, int id, const RECT& pixels, HFONT font, TextAlign align, int maxLength);
    HWND hWnd() const { return hwnd_; }

    std::wstring Text() const;
    // An identical text changes nothing: no Change event, caret and selection stay.
    void SetText(std::wstring_view text);
    int SelStart() const;
    int SelLength() const;
    void SetSelection(int start, int length);
    void SetFocus();
    bool HasFocus() const;

    TextBoxEvents events;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void DropCharactersOfDiscardedKey();

    HWND hwnd_ = nullptr;
};

}  // namespace kpv::rt
