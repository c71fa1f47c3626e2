#include "show/show_start_win.h"

#include <windows.h>

#include "runtime/end_win.h"
#include "runtime/twips.h"
#include "runtime/units_win.h"
#include "show/frm_main_win.h"
#include "show/host_window_win.h"
#include "show/view_period.h"
#include "startup/instance_flag_win.h"
#include "startup/mod_main.h"
#include "transitions/blit_block_win.h"

namespace kpv {

namespace {

constexpr LONG kPreviewStyleBits = 5;

int32_t ScreenPixels(float twips, float twipsPerPixel) {
    return rt::TwipsToPixels(static_cast<float>(twips / twipsPerPixel), 1.0);
}

}  // namespace

void StartShowWindow() {
    const bool preview = RunMode != L"S";
    // A preview for a window that does not exist has nowhere to run: it ends at once, the flag cleared.
    if (preview && !IsWindow(PreviewHostWindow())) {
        ClearActiveFlag();
        rt::EndProgram(0);
    }

    frmMain = std::make_unique<FrmMain>();
    FrmMain& form = *frmMain;
    form.Load();
    form.Cls();

    const float tppX = rt::TwipsPerPixelX();
    const float tppY = rt::TwipsPerPixelY();
    const int32_t w = ScreenPixels(rt::ScreenWidthTwips(), tppX);
    const int32_t h = ScreenPixels(rt::ScreenHeightTwips(), tppY);
    HWND desktop = GetDesktopWindow();
    HDC desktopDc = GetWindowDC(desktop);

    if (!preview) {
        LastApiResult = BlitBlock(form.hWnd(), form.hDC(), 0, 0, w, h, desktop, desktopDc, 0, 0, w, h, SRCCOPY);
        LastApiResult = SetWindowPos(form.hWnd(), HWND_TOPMOST, 0, 0, w, h, SWP_NOSIZE | SWP_NOMOVE);
    } else {
        const int32_t fw = ScreenPixels(form.Width(), tppX);
        const int32_t fh = ScreenPixels(form.Height(), tppY);
        LastApiResult = BlitBlock(form.hWnd(), form.hDC(), 0, 0, fw, fh, desktop, desktopDc, 0, 0, w, h, SRCCOPY);
        const LONG hostStyle = GetWindowLongA(PreviewHostWindow(), GWL_STYLE);
        LastApiResult = hostStyle;
        LastApiResult = SetWindowLongA(form.hWnd(), GWL_STYLE, hostStyle | kPreviewStyleBits);
        LastApiResult = SetParent(form.hWnd(), PreviewHostWindow()) != nullptr;
        form.HostWatch.SetInterval(kHostWatchMilliseconds);
        form.HostWatch.SetEnabled(true);
    }
    form.Show();

    form.Timer1.SetInterval(ViewPeriodMilliseconds(SaverSettings.Interval));
    form.Timer1.SetEnabled(true);
}

}  // namespace kpv
