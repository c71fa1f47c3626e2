#include "runtime/base/io_cancel_win.h"

#include <algorithm>

namespace kpv::rt {

IoCancel::Scope::Scope(IoCancel* cancel) : cancel_(cancel) {
    if (!cancel_) return;
    // A real handle to this thread: the pseudo-handle would name whichever thread uses it.
    HANDLE self = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, 0, FALSE,
                        DUPLICATE_SAME_ACCESS))
        thread_.reset(self);
    const std::lock_guard lock(cancel_->mutex_);
    if (thread_) cancel_->inside_.push_back(thread_.get());
}

IoCancel::Scope::~Scope() {
    if (!cancel_) return;
    const std::lock_guard lock(cancel_->mutex_);
    std::erase(cancel_->inside_, thread_.get());
}

bool IoCancel::Scope::Cancelled() const { return cancel_ && cancel_->Cancelled(); }

void IoCancel::Cancel() {
    const std::lock_guard lock(mutex_);
    cancelled_ = true;
    for (HANDLE thread : inside_) CancelSynchronousIo(thread);
}

bool IoCancel::Cancelled() const {
    const std::lock_guard lock(mutex_);
    return cancelled_;
}

}  // namespace kpv::rt
