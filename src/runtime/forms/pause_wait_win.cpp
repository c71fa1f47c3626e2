#include "runtime/forms/pause_wait_win.h"

#include <windows.h>

#include "runtime/base/handles_win.h"
#include "runtime/forms/message_loop_win.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace kpv::rt {

namespace {

constexpr DWORD kTimerSlackMs = 20;

// One timer per thread that waits; a high-resolution one where the system offers it.
struct PauseTimer {
    PauseTimer() {
        handle.reset(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
        if (handle) {
            step100ns = 10'000;  // 1 ms: what a wait of this kind can be trusted to
            return;
        }
        handle.reset(CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
        DWORD adjustment = 0, increment = 0;
        BOOL disabled = FALSE;
        step100ns = GetSystemTimeAdjustment(&adjustment, &increment, &disabled) && increment > 0 ? increment : 156'250;
    }
    UniqueHandle handle;
    int64_t step100ns = 10'000;
};

PauseTimer& ThisThreadsTimer() {
    thread_local PauseTimer timer;
    return timer;
}

}  // namespace

int64_t PerformanceCounterNow() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t PerformanceCounterFrequency() {
    static const int64_t frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return f.QuadPart > 0 ? f.QuadPart : 1;
    }();
    return frequency;
}

int64_t PauseWaitStep() {
    return ThisThreadsTimer().step100ns * PerformanceCounterFrequency() / 10'000'000;
}

void WaitUntil(int64_t deadline, const std::function<bool()>& goOn) {
    PauseTimer& timer = ThisThreadsTimer();
    const int64_t frequency = PerformanceCounterFrequency();
    while (goOn()) {
        const int64_t left = deadline - PerformanceCounterNow();
        if (left <= 0) return;
        LARGE_INTEGER due{};
        due.QuadPart = -(left * 10'000'000 / frequency);  // relative, in 100 ns
        if (due.QuadPart == 0) return;
        HANDLE handle = timer.handle.get();
        if (!handle || !SetWaitableTimer(handle, &due, 0, nullptr, nullptr, FALSE)) {
            // No timer to wait on: the pause is waited for in whole milliseconds, messages still answered.
            const DWORD ms = static_cast<DWORD>((left * 1000 + frequency - 1) / frequency);
            if (MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0) DoEvents();
            continue;
        }
        // The timer ends the wait; the limit, just past it, only guards a timer that never fires.
        const DWORD limitMs = static_cast<DWORD>((left * 1000 + frequency - 1) / frequency) + kTimerSlackMs;
        const DWORD woke = MsgWaitForMultipleObjectsEx(1, &handle, limitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_TIMEOUT) return;
        if (woke == WAIT_OBJECT_0) return;
        if (woke != WAIT_OBJECT_0 + 1) return;  // the wait itself failed: never spin on it
        DoEvents();
    }
}

}  // namespace kpv::rt
