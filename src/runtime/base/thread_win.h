#pragma once
// A thread of the program's own, with the Win32 handle kept: it can be waited for with a limit, and a read
// it is stuck in can be cancelled. Its body runs under the guard, so no exception leaves it. Destroying
// the object never waits: a thread still running is left behind, holding its own share of whatever it uses.
#include <windows.h>

#include <functional>

#include "runtime/base/handles_win.h"

namespace kpv::rt {

class Thread {
public:
    Thread() = default;
    // Starts body on a new thread; throws std::system_error when the platform cannot start one.
    explicit Thread(std::function<void()> body);
    Thread(Thread&&) noexcept = default;
    Thread& operator=(Thread&&) noexcept = default;

    bool Started() const { return static_cast<bool>(handle_); }
    // True once the body has returned (or when no thread was started).
    bool Finished() const { return WaitFor(0); }
    // Waits at most `milliseconds` for the body to return; true when it has.
    bool WaitFor(DWORD milliseconds) const;
    // Waits until the body returns or `deadline` (GetTickCount64) passes, cancelling meanwhile the synchronous
    // read or listing it may be stuck in; true when it has returned. The cancel races with the start of the
    // next read, so it is made again every few milliseconds.
    bool CancelIoAndWaitUntil(ULONGLONG deadline) const;
    // Cancels the synchronous read or listing the thread may be in now, without waiting.
    void CancelIo() const;

private:
    UniqueHandle handle_;
};

// Milliseconds from now until `deadline` (GetTickCount64), none when it has passed.
DWORD MillisecondsUntil(ULONGLONG deadline);

}  // namespace kpv::rt
