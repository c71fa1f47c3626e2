#pragma once
// One show on a thread of its own: its window is made there and its message loop runs there, so every
// monitor's show answers input and draws whatever the others do. The thread holds its share of the run and
// of its own status, so this object may go while the thread still runs.
#include <windows.h>

#include <memory>

#include "runtime/base/thread_win.h"
#include "show/show_setup_win.h"

namespace kpv {

class ShowThread {
public:
    // Starts the thread, which puts the show on the screen and runs its loop until the window goes. Throws
    // std::system_error when no thread can be started.
    explicit ShowThread(ShowSetup setup);
    ShowThread(const ShowThread&) = delete;
    ShowThread& operator=(const ShowThread&) = delete;

    // Waits until the window is on the screen (true) or the show could not start or has ended (false).
    bool WaitUntilShown(ULONGLONG deadline) const;
    // The show window while it is on the screen; nullptr before and after.
    HWND Window() const;
    // Waits at most until `deadline` for the thread to end; true when it has.
    bool WaitUntilEnded(ULONGLONG deadline) const;

    struct Status;

private:
    std::shared_ptr<Status> status_;
    rt::Thread thread_;
};

}  // namespace kpv
