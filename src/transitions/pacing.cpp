#include "transitions/pacing.h"

#include <algorithm>

namespace kpv {

namespace {
constexpr int64_t kYieldsPerSecond = 1'000'000;  // one yield: one microsecond
}  // namespace

int32_t PauseYields(int32_t speed) {
    if (speed < 0) return 0;
    if (speed > kSlowestSpeed) return kSlowestSpeed + 1;
    return speed + 1;
}

int64_t PauseTicks(int32_t speed, int64_t ticksPerSecond) {
    // Rounded up: a pause is never shorter than its yields.
    return (int64_t{PauseYields(speed)} * ticksPerSecond + kYieldsPerSecond - 1) / kYieldsPerSecond;
}

void PauseClock::BlockDrawn(int64_t started, int64_t ended) {
    // A block drawn before its deadline owes the rest of its pause to the next one.
    base_ = ended + std::max<int64_t>(0, Deadline() - started);
}

}  // namespace kpv
