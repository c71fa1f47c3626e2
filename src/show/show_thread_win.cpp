#include "show/show_thread_win.h"

#include <atomic>
#include <system_error>

#include "runtime/base/handles_win.h"
#include "runtime/forms/message_loop_win.h"
#include "show/frm_main_win.h"
#include "show/show_start_win.h"

namespace kpv {

struct ShowThread::Status {
    std::atomic<HWND> window{nullptr};
    rt::UniqueHandle shown{CreateEventW(nullptr, TRUE, FALSE, nullptr)};  // up, or never to be
};

namespace {

void RunShow(ShowSetup setup, ShowThread::Status& status) {
    struct Signal {
        ShowThread::Status& status;
        ~Signal() {
            status.window = nullptr;
            SetEvent(status.shown.get());
        }
    } signal{status};
    FrmMain show(std::move(setup));
    if (!StartShowWindow(show)) return;
    status.window = show.hWnd();
    SetEvent(status.shown.get());
    rt::RunMessageLoop();
}

bool WaitForEvent(const rt::UniqueHandle& event, ULONGLONG deadline) {
    return !event || WaitForSingleObject(event.get(), rt::MillisecondsUntil(deadline)) == WAIT_OBJECT_0;
}

}  // namespace

ShowThread::ShowThread(ShowSetup setup) : status_(std::make_shared<Status>()) {
    if (!status_->shown) throw std::system_error(static_cast<int>(GetLastError()),
                                                                     std::system_category(), "CreateEvent");
    thread_ = rt::Thread([status = status_, setup = std::move(setup)]() mutable { RunShow(std::move(setup), *status); });
}

bool ShowThread::WaitUntilShown(ULONGLONG deadline) const {
    return WaitForEvent(status_->shown, deadline) && Window() != nullptr;
}

HWND ShowThread::Window() const { return status_->window.load(); }

bool ShowThread::WaitUntilEnded(ULONGLONG deadline) const { return thread_.WaitFor(rt::MillisecondsUntil(deadline)); }

}  // namespace kpv
