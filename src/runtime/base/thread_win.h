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
    // Waits at most `milliseconds` for the body to return; true when it has.
    bool WaitFor(DWORD milliseconds) const;
    // Cancels the synchronous read or listing the thread may be in now, without waiting.
    void CancelIo() const;

private:
    UniqueHandle handle_;
};

// Milliseconds from now until `deadline` (GetTickCount64), none when it has passed.
DWORD MillisecondsUntil(ULONGLONG deadline);

}  // namespace kpv::rt
