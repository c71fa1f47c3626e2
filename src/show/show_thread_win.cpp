#include "show/show_thread_win.h"

#include <algorithm>

#include "runtime/forms/message_loop_win.h"
#include "show/frm_main_win.h"
#include "show/show_start_win.h"

namespace kpv {

namespace {
constexpr DWORD kStopOnDestructionMs = 1000;
constexpr DWORD kPollMs = 5;
}  // namespace

ShowThread::ShowThread(ShowSetup setup)
    : thread_([this, setup = std::move(setup)]() mutable { Run(std::move(setup)); }) {}

ShowThread::~ShowThread() {
    if (HWND w = Window()) PostShowSignal(w, ShowSignal::CloseSilently);
    WaitUntil(GetTickCount64() + kStopOnDestructionMs);
}

bool ShowThread::WaitUntilShown(DWORD timeoutMs) const {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!Window()) {
        if (over_.load() || thread_.Finished()) return false;
        const DWORD left = rt::MillisecondsUntil(deadline);
        if (left == 0) return false;
        thread_.WaitFor(std::min(left, kPollMs));
    }
    return true;
}

bool ShowThread::WaitUntil(ULONGLONG deadline) const { return thread_.WaitFor(rt::MillisecondsUntil(deadline)); }

void ShowThread::Run(ShowSetup setup) {
    FrmMain show(std::move(setup));
    if (StartShowWindow(show)) {
        window_ = show.hWnd();
        rt::RunMessageLoop();
        window_ = nullptr;
    }
    over_ = true;
}

}  // namespace kpv
