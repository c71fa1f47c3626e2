#pragma once
// One show on a thread of its own: its window is made there and its message loop runs there, so every
// monitor's show answers input and draws whatever the others do.
#include <windows.h>

#include <atomic>

#include "runtime/base/thread_win.h"
#include "show/show_setup_win.h"

namespace kpv {

class ShowThread {
public:
    // Starts the thread, which puts the show on the screen and runs its loop until the window goes.
    explicit ShowThread(ShowSetup setup);
    // Closes a show still running, without a show's end, and gives its thread a short time to stop.
    ~ShowThread();
    ShowThread(const ShowThread&) = delete;
    ShowThread& operator=(const ShowThread&) = delete;

    // Waits until the window is on the screen (true) or the show could not start or has ended (false).
    bool WaitUntilShown(DWORD timeoutMs) const;
    // The show window while it is on the screen; nullptr before and after.
    HWND Window() const { return window_.load(); }
    // Waits at most until `deadline` (GetTickCount64) for the thread to end; true when it has.
    bool WaitUntil(ULONGLONG deadline) const;

private:
    void Run(ShowSetup setup);

    std::atomic<HWND> window_{nullptr};
    std::atomic<bool> over_{false};  // the show failed to start or has ended
    rt::Thread thread_;              // last: it starts once everything it uses exists
};

}  // namespace kpv
