#pragma once
// Cancelling the synchronous reads and listings of other threads. A thread opens a Scope around each call
// that may wait on a disk or a share; Cancel, from any thread, marks the whole set cancelled and cancels
// the calls of every thread inside a scope. A cancel can miss a call that is only about to start, so the
// one who stops a run calls Cancel again until the threads are out; a scope opened after the first Cancel
// reports itself cancelled and its caller makes no call at all.
#include <windows.h>

#include <mutex>
#include <vector>

#include "runtime/base/handles_win.h"

namespace kpv::rt {

class IoCancel {
public:
    IoCancel() = default;
    IoCancel(const IoCancel&) = delete;
    IoCancel& operator=(const IoCancel&) = delete;

    class Scope {
    public:
        // A null cancel makes a scope that nothing cancels.
        explicit Scope(IoCancel* cancel);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        bool Cancelled() const;

    private:
        IoCancel* cancel_;
        UniqueHandle thread_;
    };

    void Cancel();
    bool Cancelled() const;

private:
    mutable std::mutex mutex_;
    bool cancelled_ = false;
    std::vector<HANDLE> inside_;  // threads in a scope now; their scopes own the handles
};

}  // namespace kpv::rt
