#pragma once
// Waiting inside a show's step without spinning: the thread sleeps until a deadline on the performance
// counter, and every message that arrives meanwhile is handled at once, as a pass of the message loop
// would handle it.
#include <cstdint>
#include <functional>

namespace kpv::rt {

// The performance counter now, and how many of its ticks make a second.
int64_t PerformanceCounterNow();
int64_t PerformanceCounterFrequency();

// The shortest wait this thread's timer makes, in performance-counter ticks: a deadline closer than this
// is not worth a wait.
int64_t PauseWaitStep();

// Sleeps until the counter reaches `deadline`, handling messages as they arrive; returns early as soon as
// goOn() is false after a message (the window that waits has gone).
void WaitUntil(int64_t deadline, const std::function<bool()>& goOn);

}  // namespace kpv::rt
