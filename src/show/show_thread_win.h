#pragma once
// One show on a thread of its own: its window is made there and its message loop runs there, so a large
// picture being prepared for one show never pauses the reveal of another.
#include <windows.h>

#include <atomic>
#include <thread>

#include "runtime/base/random.h"
#include "show/show_setup_win.h"

namespace kpv {

class ShowThread {
public:
    // Starts the thread, which starts the show (first picture prepared, snapshot, window shown, timer on).
    explicit ShowThread(ShowSetup setup, rt::RandomSource* random = nullptr);
    // Stops a show still running, without its unload handler, and waits for its thread.
    ~ShowThread();
    ShowThread(const ShowThread&) = delete;
    ShowThread& operator=(const ShowThread&) = delete;

    // The show window once it is on the screen; nullptr before, and after its thread ended.
    HWND Window() const { return window_.load(); }
    bool WaitUntilShown(int timeoutMs) const;
    bool Finished() const { return finished_.load(); }
    // Waits until the show's thread has ended.
    void Join();

private:
    void Run(ShowSetup setup, rt::RandomSource* random);

    std::atomic<HWND> window_{nullptr};
    std::atomic<DWORD> threadId_{0};
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

}  // namespace kpv
