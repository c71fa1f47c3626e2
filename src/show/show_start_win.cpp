#include "show/show_start_win.h"

#include <windows.h>

#include "runtime/base/api_result.h"
#include "runtime/base/blit_block_win.h"
#include "runtime/base/handles_win.h"
#include "show/frm_main_win.h"

namespace kpv {

namespace {

constexpr LONG kPreviewStyleBits = 5;

// source is in screen pixels; the desktop window's DC starts at the desktop's top-left corner, which lies
// left of or above the primary monitor when other monitors do.
void PaintDesktopSnapshot(FrmMain& form, int32_t destWidth, int32_t destHeight, const RECT& source) {
    HWND desktop = GetDesktopWindow();
    RECT origin{};
    GetWindowRect(desktop, &origin);
    const rt::WindowDc desktopDc = rt::WindowDc::GetWindow(desktop);
    LastApiResult = BlitBlock(form.hDC(), 0, 0, destWidth, destHeight, desktopDc.get(), source.left - origin.left,
                              source.top - origin.top, source.right - source.left, source.bottom - source.top, SRCCOPY);
}

}  // namespace

bool StartShowWindow(FrmMain& form) {
    const ShowSetup& setup = form.Setup();
    form.Load();
    if (!form.hWnd()) return false;
    form.Cls();

    if (!setup.preview) {
        const RECT& screen = setup.screen;
        const int32_t w = screen.right - screen.left;
        const int32_t h = screen.bottom - screen.top;
        PaintDesktopSnapshot(form, w, h, screen);
        LastApiResult = SetWindowPos(form.hWnd(), HWND_TOPMOST, 0, 0, w, h, SWP_NOSIZE | SWP_NOMOVE);
    } else {
        // The whole primary screen, shrunk into the preview.
        const RECT primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        PaintDesktopSnapshot(form, form.PixelWidth(), form.PixelHeight(), primary);
        const LONG hostStyle = GetWindowLongA(setup.previewHost, GWL_STYLE);
        LastApiResult = hostStyle;
        LastApiResult = SetWindowLongA(form.hWnd(), GWL_STYLE, hostStyle | kPreviewStyleBits);
        LastApiResult = SetParent(form.hWnd(), setup.previewHost) != nullptr;
        form.HostWatch.SetInterval(kHostWatchMilliseconds);
        form.HostWatch.SetEnabled(true);
    }
    form.Show();
    form.Started();
    return true;
}

}  // namespace kpv
