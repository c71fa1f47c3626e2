#pragma once
// The one worker that prepares pictures for every show of the run, first come first served, so memory
// holds one decoded photo however many monitors there are. It opens, reads, decodes, scales and recolours
// off every show's thread, and hands each result back through the request's delivery. It never touches a
// window and is never waited for without a limit: a read that does not return is cancelled, and failing
// that, left behind.
#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "runtime/base/thread_win.h"
#include "show/prepare_picture_win.h"

namespace kpv {

class PreparationWorker {
public:
    // Runs on the worker with the result; it must only hand the result over (a posted message).
    using Deliver = std::function<void(PreparedPicture)>;

    PreparationWorker();
    // Stops the worker, giving it a short time to end.
    ~PreparationWorker();
    PreparationWorker(const PreparationWorker&) = delete;
    PreparationWorker& operator=(const PreparationWorker&) = delete;

    void Request(PreparationRequest request, Deliver deliver);

    // No further work; the preparation running gives up at its next chance, and the read it waits in is
    // cancelled until it ends or `deadline` (GetTickCount64) passes. True when the worker has ended.
    bool StopBy(ULONGLONG deadline);

private:
    struct Job {
        PreparationRequest request;
        Deliver deliver;
    };
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    std::atomic<bool> stop_{false};
    rt::Thread thread_;  // last: it starts once everything it uses exists
};

}  // namespace kpv
