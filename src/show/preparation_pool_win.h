#pragma once
// The workers that prepare pictures for every show of the run, first come first served. One works at a
// time, so memory holds one decoded photo however many monitors there are. A watchdog gives up a
// preparation that makes no progress for too long (a file that never arrives): its file counts as failed,
// its read is cancelled, the worker is left behind and a new one takes the show's request at once. Nothing
// is ever waited for without a limit; the workers and the watchdog hold the pool's state, so a worker left
// behind uses nothing that goes away.
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>

#include "show/prepare_picture_win.h"

namespace kpv {

struct PoolLimits {
    // A preparation with no progress for this long is given up: the limit is for waiting, not for work.
    std::chrono::milliseconds giveUpAfter{10'000};
    // Workers left behind in one run; after that the shows keep the pictures they have.
    int maxLeftBehind = 4;
};

class PreparationPool {
public:
    // Runs on a worker with the result; it must only hand the result over (a posted message).
    using Deliver = std::function<void(PreparedPicture)>;

    explicit PreparationPool(PoolLimits limits = {});
    // Stops the workers; waits for nothing.
    ~PreparationPool();
    PreparationPool(const PreparationPool&) = delete;
    PreparationPool& operator=(const PreparationPool&) = delete;

    void Request(PreparationRequest request, Deliver deliver);

    // No further work: every worker stops at its next step, and the read each waits in is cancelled. May be
    // called again, from any thread, to cancel a read that had only been about to start.
    void Stop();
    // True once the watchdog and every worker not left behind have ended, waiting at most until `deadline`
    // (GetTickCount64).
    bool WaitUntil(ULONGLONG deadline) const;
    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace kpv
