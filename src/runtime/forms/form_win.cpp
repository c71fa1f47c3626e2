#include "runtime/forms/form_win.h"

#include <algorithm>

#include "runtime/base/colour_win.h"
#include "runtime/base/resource_ids.h"
#include "runtime/base/guarded_win.h"
#include "runtime/forms/message_loop_win.h"
#include "runtime/forms/timer_win.h"
#include "runtime/base/twips.h"
#include "runtime/base/units_win.h"

namespace kpv::rt {

namespace {
constexpr wchar_t kFormClass[] = L"KPVForm";
}  // namespace

int MouseButtonsFromWParam(WPARAM wParam) {
    int buttons = 0;
    if (wParam & MK_LBUTTON) buttons |= 1;
    if (wParam & MK_RBUTTON) buttons |= 2;
    if (wParam & MK_MBUTTON) buttons |= 4;
    return buttons;
}

int ShiftStateNow() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
    if (GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

// A new form shows the system's face colour.
Form::Form() : KeptImageWindow(0x8000000Fu) {}

Form::~Form() {
    unloading_ = true;
    for (Timer* t : timers_) t->enabled_ = false;
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (loaded_) FormClosed();
}

void Form::EnsureWindow() {
    if (hwnd_) return;
    hwnd_ = CreateKeptImageWindow(kFormClass, 0, 0, WS_POPUP | WS_CLIPCHILDREN,
                                  RECT{left_, top_, left_ + width_, top_ + height_}, nullptr, 0);
    for (Timer* t : timers_) t->Apply();
}

void Form::Load() {
    if (loaded_) return;
    EnsureWindow();
    loaded_ = true;
    unloading_ = false;
    FormOpened();
    Form_Load();
}

void Form::Show() {
    if (!loaded_) Load();
    if (!hwnd_ || !loaded_) return;
    const bool child = (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD) != 0;
    ShowWindow(hwnd_, SW_SHOW);
    if (!child) SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
}

void Form::Unload() {
    if (!loaded_ || unloading_) return;
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) return;
    unloading_ = true;
    for (Timer* t : timers_) {
        t->enabled_ = false;
        t->Apply();
    }
    if (hwnd_) {
        HWND w = hwnd_;
        DestroyWindow(w);
    }
    Closed();
}

void Form::UnloadFromOutside() {
    // Destroyed from outside, as when the window it lives in goes: the form unloads with it.
    if (!loaded_ || unloading_) return;
    unloading_ = true;
    bool ignored = false;
    Form_Unload(ignored);
}

void Form::Closed() {
    hwnd_ = nullptr;
    if (loaded_) {
        loaded_ = false;
        FormClosed();
    }
}

float Form::Left() const { return static_cast<float>(left_ * static_cast<double>(TwipsPerPixelX())); }
float Form::Top() const { return static_cast<float>(top_ * static_cast<double>(TwipsPerPixelY())); }
float Form::Width() const { return static_cast<float>(width_ * static_cast<double>(TwipsPerPixelX())); }
float Form::Height() const { return static_cast<float>(height_ * static_cast<double>(TwipsPerPixelY())); }

void Form::SetLeft(float twips) { left_ = TwipsToPixels(twips, TwipsPerPixelX()); ApplyBounds(); }
void Form::SetTop(float twips) { top_ = TwipsToPixels(twips, TwipsPerPixelY()); ApplyBounds(); }
void Form::SetWidth(float twips) { width_ = std::max(0, TwipsToPixels(twips, TwipsPerPixelX())); ApplyBounds(); }
void Form::SetHeight(float twips) { height_ = std::max(0, TwipsToPixels(twips, TwipsPerPixelY())); ApplyBounds(); }

void Form::ApplyBounds() {
    if (hwnd_) SetWindowPos(hwnd_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
    image_.Resize(width_, height_, ResolveColour(backColor_));
}

void Form::SetCaption(const std::wstring& caption) {
    EnsureWindow();
    if (hwnd_) SetWindowTextW(hwnd_, caption.c_str());
}

void Form::Refresh() { Refresh(RECT{0, 0, width_, height_}); }

void Form::Refresh(const RECT& changed) {
    if (!hwnd_ || !IsWindowVisible(hwnd_)) return;
    WindowDc screen = WindowDc::Get(hwnd_);
    if (!screen) return;
    PaintInto(screen.get(), changed);
}

UINT_PTR Form::AddTimer(Timer* timer) {
    timers_.push_back(timer);
    return nextTimerId_++;
}

void Form::RemoveTimer(Timer* timer) { timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end()); }

LRESULT Form::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool live = loaded_ && !unloading_;
    switch (msg) {
    case WM_NCCREATE:
        hwnd_ = hwnd;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_TIMER:
        for (Timer* t : timers_) {
            if (t->id_ == wParam) {
                if (live) t->Tick();
                return 0;
            }
        }
        return 0;
    case WM_MOUSEMOVE:
        if (live) {
            const POINTS p = MAKEPOINTS(lParam);
            Form_MouseMove(MouseButtonsFromWParam(wParam), ShiftStateNow(),
                           static_cast<float>(p.x * static_cast<double>(TwipsPerPixelX())),
                           static_cast<float>(p.y * static_cast<double>(TwipsPerPixelY())));
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (live) Form_Click();
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (live) Form_KeyDown(static_cast<int>(wParam), ShiftStateNow());
        return msg == WM_SYSKEYDOWN ? DefWindowProcW(hwnd, msg, wParam, lParam) : 0;
    case WM_CHAR:
        if (live) Form_KeyPress(static_cast<int>(wParam));
        return 0;
    case WM_DISPLAYCHANGE:
        if (live) Form_DisplayChange();
        return 0;
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_DESTROY:
        UnloadFromOutside();
        return 0;
    default:
        if (msg >= WM_APP && msg <= 0xBFFF) {
            if (live) Form_AppMessage(msg, wParam, lParam);
            return 0;
        }
        return KeptImageWindow::OnMessage(hwnd, msg, wParam, lParam);
    }
}

void Form::WindowGone() {
    // A window destroyed with a parent of another process that ended may get only this message.
    UnloadFromOutside();
    Closed();
}

}  // namespace kpv::rt
