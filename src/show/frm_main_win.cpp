#include "show/frm_main_win.h"

#include <windows.h>

#include <cstdint>

#include "runtime/base/api_result.h"
#include "runtime/base/units_win.h"
#include "show/mouse_cursor_win.h"
#include "show/prepare_picture_win.h"
#include "transitions/block_grid_math.h"
#include "transitions/choose_transition_win.h"

namespace kpv {

FrmMain::FrmMain(ShowSetup setup, rt::RandomSource* random)
    : setup_(std::move(setup)),
      groupIndex_(setup_.group ? setup_.group->Join() : -1),
      random_(random ? random : &ownRandom_) {
    SetBackColor(0);
}

void FrmMain::Form_Load() {
    const float tppX = rt::TwipsPerPixelX();
    const float tppY = rt::TwipsPerPixelY();
    const auto twips = [](int64_t pixels, float tpp) { return static_cast<float>(tpp * static_cast<double>(pixels)); };
    if (!setup_.preview) {
        const RECT& screen = setup_.screen;
        SetWindowState(rt::WindowState::Maximized);
        SetLeft(twips(screen.left, tppX));
        SetTop(twips(screen.top, tppY));
        SetWidth(twips(static_cast<int64_t>(screen.right) - screen.left, tppX));
        SetHeight(twips(static_cast<int64_t>(screen.bottom) - screen.top, tppY));
    } else {
        SetWindowState(rt::WindowState::Normal);
        RECT host{};
        LastApiResult = GetWindowRect(setup_.previewHost, &host);
        SetLeft(0);
        SetTop(0);
        SetWidth(twips(static_cast<int64_t>(host.right) - host.left, tppX));
        SetHeight(twips(static_cast<int64_t>(host.bottom) - host.top, tppY));
    }
    BlockGrid = ComputeBlockGrid(Width(), Height(), setup_.settings.BlockSize, tppX, tppY);

    Timer1_Timer();
    Timer1.SetEnabled(false);
    if (!setup_.preview) ShowMouseCursor(false);
}

void FrmMain::Timer1_Timer() {
    Timer1.SetEnabled(false);
    if (PicturePrepared == 0) {
        PreparePicture(*this);
        PicturePrepared = 1;
    } else {
        ChooseTransition(Canvas(), Random(), TransitionNumber);
        if (setup_.group) setup_.group->Revealed(groupIndex_);
        PicturePrepared = 0;
    }
    // A show that ended inside the transition's pauses has no timer left to start.
    if (IsLoaded()) Timer1.SetEnabled(true);
}

void FrmMain::Form_Click() {
    if (!setup_.preview) Unload();
}

void FrmMain::Form_KeyDown(int, int) { Unload(); }

void FrmMain::Form_KeyPress(int) { Unload(); }

void FrmMain::Form_MouseMove(int, int, float, float) {
    if (setup_.preview) return;
    const auto readCursor = [] {
        POINT p{};
        LastApiResult = GetCursorPos(&p);
        return ScreenPoint{p.x, p.y};
    };
    const bool ends = setup_.group ? setup_.group->MouseMoveEndsShow(readCursor)
                                   : MouseMoveEndsShow(MouseReference, readCursor);
    if (ends) Unload();
}

void FrmMain::HostWatch_Timer() {
    if (!IsWindow(setup_.previewHost)) Unload();
}

// A new monitor, one taken away or another resolution: the screen the show covered is not the screen any
// more, and the show ends as it does on a key.
void FrmMain::Form_DisplayChange() {
    if (!setup_.preview) Unload();
}

void FrmMain::Form_Unload(bool& cancel) {
    // The first show to end ends the program for every monitor; the others only wait for that end.
    if (setup_.group && !setup_.group->ClaimEnd()) {
        cancel = true;
        return;
    }
    if (!setup_.preview) {
        ShowMouseCursor(true);
    } else {
        // A form made a child of the host has no owner; a close request posted to no window would land in
        // our own queue, so it is sent only where there is an owner to receive it.
        if (HWND owner = GetWindow(hWnd(), GW_OWNER)) LastApiResult = PostMessageA(owner, WM_CLOSE, 1, 1);
    }
    if (setup_.ended) setup_.ended();
}

}  // namespace kpv
