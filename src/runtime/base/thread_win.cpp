#include "runtime/base/thread_win.h"

#include <memory>
#include <system_error>

#include "runtime/base/guarded_win.h"

namespace kpv::rt {

namespace {

DWORD WINAPI ThreadStart(LPVOID parameter) {
    const std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    RunGuarded(*body);
    return 0;
}

}  // namespace

Thread::Thread(std::function<void()> body) {
    auto owned = std::make_unique<std::function<void()>>(std::move(body));
    handle_.reset(CreateThread(nullptr, 0, ThreadStart, owned.get(), 0, nullptr));
    if (!handle_) throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreateThread");
    owned.release();  // the thread owns its body now
}

bool Thread::WaitFor(DWORD milliseconds) const {
    return !handle_ || WaitForSingleObject(handle_.get(), milliseconds) != WAIT_TIMEOUT;
}

void Thread::CancelIo() const {
    if (handle_) CancelSynchronousIo(handle_.get());
}

DWORD MillisecondsUntil(ULONGLONG deadline) {
    const ULONGLONG now = GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
}

}  // namespace kpv::rt
