#pragma once
// The pause before each block. It is Speed + 1 yields (none for a negative Speed), and a yield is a fixed
// microsecond of waiting, about what an idle pass of a message loop costs, so a Speed means the same time
// on every machine. The settings dialog stores 0 to 20000; a larger value from a damaged store is held to
// 20000 (20 ms before each block).
//
// The pauses are kept on a clock: the pause before a block starts when the block before it is drawn. A
// deadline closer than the shortest wait the platform makes is not waited for: the block is drawn at once
// and the time it came early is carried over, so blocks whose pauses are shorter than that step are drawn
// together, and over a transition the pauses still add up to what they should.
#include <cstdint>

namespace kpv {

inline constexpr int32_t kSlowestSpeed = 20000;

int32_t PauseYields(int32_t speed);

// The pause before each block in ticks of a clock that counts ticksPerSecond.
int64_t PauseTicks(int32_t speed, int64_t ticksPerSecond);

// All times in ticks of one clock.
class PauseClock {
public:
    // pause: before each block; step: the shortest wait the platform makes; start: when the transition begins.
    PauseClock(int64_t pause, int64_t step, int64_t start) : pause_(pause), step_(step), base_(start) {}

    // When the next block is due.
    int64_t Deadline() const { return base_ + pause_; }
    // Whether to wait for it, seen at `now`; otherwise it is drawn at once.
    bool ShouldWait(int64_t now) const { return Deadline() - now >= step_; }
    // The block was drawn from `started` to `ended`.
    void BlockDrawn(int64_t started, int64_t ended);

private:
    int64_t pause_;
    int64_t step_;
    int64_t base_;  // when the pause before the next block starts
};

}  // namespace kpv
