#include "runtime/forms/message_loop_win.h"

#include <windows.h>

namespace kpv::rt {

namespace {
// Each user-interface thread runs its own loop over its own forms.
thread_local int g_openForms = 0;
}

void DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the outer loop
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

int RunMessageLoop() {
    if (g_openForms == 0) return 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

void FormOpened() { ++g_openForms; }

void FormClosed() {
    if (g_openForms > 0 && --g_openForms == 0) PostQuitMessage(0);
}

int OpenFormCount() { return g_openForms; }

}  // namespace kpv::rt
