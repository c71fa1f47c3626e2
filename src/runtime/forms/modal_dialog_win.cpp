#include "runtime/forms/modal_dialog_win.h"

#include <vector>

namespace kpv::rt {

HWND CreateDialogWindow(HWND owner, DLGPROC proc, LPARAM param, const std::wstring& caption, DWORD style, DWORD exStyle) {
    // DLGTEMPLATE, then menu (none), class (the standard one), the caption; no font, no controls.
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3 + caption.size() + 1, 0);
    auto* t = reinterpret_cast<DLGTEMPLATE*>(words.data());
    t->style = style & ~static_cast<DWORD>(DS_SETFONT | WS_VISIBLE);
    t->dwExtendedStyle = exStyle;
    t->cdit = 0;
    t->cx = 10;
    t->cy = 10;
    WORD* p = words.data() + sizeof(DLGTEMPLATE) / sizeof(WORD);
    *p++ = 0;  // no menu
    *p++ = 0;  // the standard dialog class
    for (wchar_t c : caption) *p++ = static_cast<WORD>(c);
    *p = 0;
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t, owner, proc, param);
}

void RunModalLoop(HWND dialog) {
    MSG msg;
    while (IsWindow(dialog)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (got < 0) return;
        if (!IsWindow(dialog) || !IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

}  // namespace kpv::rt
