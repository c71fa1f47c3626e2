#include "show/frm_main_win.h"

#include <windows.h>

#include "runtime/end_win.h"
#include "runtime/units_win.h"
#include "show/block_grid_math.h"
#include "show/host_window_win.h"
#include "show/mouse_rule.h"
#include "show/prepare_picture_win.h"
#include "startup/instance_flag_win.h"
#include "startup/mod_main.h"
#include "startup/mouse_cursor_win.h"
#include "transitions/choose_transition_win.h"

namespace kpv {

std::unique_ptr<FrmMain> frmMain;

namespace {
bool InShow() { return RunMode == L"S"; }
}  // namespace

FrmMain::FrmMain() { SetBackColor(0); }

void FrmMain::Form_Load() {
    const float tppX = rt::TwipsPerPixelX();
    const float tppY = rt::TwipsPerPixelY();
    if (InShow()) {
        SetWindowState(rt::WindowState::Maximized);
        SetLeft(0);
        SetTop(0);
        SetWidth(rt::ScreenWidthTwips());
        SetHeight(rt::ScreenHeightTwips());
    } else {
        SetWindowState(rt::WindowState::Normal);
        RECT host{};
        LastApiResult = GetWindowRect(PreviewHostWindow(), &host);
        SetLeft(0);
        SetTop(0);
        SetWidth(static_cast<float>(tppX * static_cast<double>(static_cast<int64_t>(host.right) - host.left)));
        SetHeight(static_cast<float>(tppY * static_cast<double>(static_cast<int64_t>(host.bottom) - host.top)));
    }
    BlockGrid = ComputeBlockGrid(Width(), Height(), SaverSettings.BlockSize, tppX, tppY);

    Timer1_Timer();
    Timer1.SetEnabled(false);
    if (InShow()) ShowMouseCursor(false);
}

void FrmMain::Timer1_Timer() {
    Timer1.SetEnabled(false);
    if (PicturePrepared == 0) {
        PreparePicture(*this);
        PicturePrepared = 1;
    } else {
        ChooseTransition();
        PicturePrepared = 0;
    }
    Timer1.SetEnabled(true);
}

void FrmMain::Form_Click() {
    if (InShow()) Unload();
}

void FrmMain::Form_KeyDown(int, int) { Unload(); }

void FrmMain::Form_KeyPress(int) { Unload(); }

void FrmMain::Form_MouseMove(int, int, float, float) {
    if (!InShow()) return;
    const auto readCursor = [] {
        POINT p{};
        LastApiResult = GetCursorPos(&p);
        return ScreenPoint{p.x, p.y};
    };
    if (MouseMoveEndsShow(MouseReference, readCursor)) Unload();
}

void FrmMain::HostWatch_Timer() {
    if (!IsWindow(PreviewHostWindow())) Unload();
}

void FrmMain::Form_Unload(bool&) {
    if (InShow()) {
        ShowMouseCursor(true);
    } else {
        // A form made a child of the host has no owner; a close request posted to no window would land in
        // our own queue, so it is sent only where there is an owner to receive it.
        if (HWND owner = GetWindow(hWnd(), GW_OWNER)) LastApiResult = PostMessageA(owner, WM_CLOSE, 1, 1);
    }
    ClearActiveFlag();
    rt::EndProgram(0);
}

}  // namespace kpv
