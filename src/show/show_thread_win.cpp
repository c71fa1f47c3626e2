#include "show/show_thread_win.h"

#include "runtime/base/guarded_win.h"
#include "runtime/base/handles_win.h"
#include "runtime/forms/message_loop_win.h"
#include "show/frm_main_win.h"
#include "show/show_start_win.h"

namespace kpv {

ShowThread::ShowThread(ShowSetup setup, rt::RandomSource* random)
    : thread_([this, setup = std::move(setup), random]() mutable { Run(std::move(setup), random); }) {}

ShowThread::~ShowThread() {
    // WM_QUIT ends the loop with the show still loaded: the window goes with the form, on its own thread.
    while (!finished_.load()) {
        const DWORD id = threadId_.load();
        if (id != 0 && Window() && PostThreadMessageW(id, WM_QUIT, 0, 0)) break;
        Sleep(10);
    }
    Join();
}

void ShowThread::Join() {
    if (thread_.joinable()) thread_.join();
}

bool ShowThread::WaitUntilShown(int timeoutMs) const {
    const DWORD start = GetTickCount();
    while (!Window()) {
        if (finished_.load() || GetTickCount() - start > static_cast<DWORD>(timeoutMs)) return false;
        Sleep(10);
    }
    return true;
}

void ShowThread::Run(ShowSetup setup, rt::RandomSource* random) {
    rt::RunGuarded([&] {
        threadId_ = GetCurrentThreadId();
        const rt::ComApartment com;  // the picture decoder's objects live on this thread
        FrmMain show(std::move(setup), random);
        StartShowWindow(show);
        window_ = show.hWnd();
        rt::RunMessageLoop();
        window_ = nullptr;
    });
    finished_ = true;
}

}  // namespace kpv
