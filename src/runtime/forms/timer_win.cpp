#include "runtime/forms/timer_win.h"

#include <windows.h>

#include "runtime/forms/form_win.h"

namespace kpv::rt {

Timer::Timer(Form& owner, std::function<void()> onTick) : owner_(owner), onTick_(std::move(onTick)) {
    id_ = owner_.AddTimer(this);
}

Timer::~Timer() {
    enabled_ = false;
    Apply();
    owner_.RemoveTimer(this);
}

void Timer::SetInterval(int64_t milliseconds) {
    if (milliseconds <= 0) {
        interval_ = 0;
    } else if (milliseconds > USER_TIMER_MAXIMUM) {
        interval_ = USER_TIMER_MAXIMUM;
    } else if (milliseconds < USER_TIMER_MINIMUM) {
        interval_ = USER_TIMER_MINIMUM;
    } else {
        interval_ = static_cast<uint32_t>(milliseconds);
    }
    Apply();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Apply();
}

void Timer::Apply() {
    HWND window = owner_.hWnd();
    if (running_ && window) KillTimer(window, id_);  // also drops a tick already queued
    running_ = false;
    if (enabled_ && interval_ > 0 && window) running_ = SetTimer(window, id_, interval_, nullptr) != 0;
}

void Timer::Tick() {
    if (enabled_ && onTick_) onTick_();
}

}  // namespace kpv::rt
