#pragma once
// The eight row and column sweeps: each starts in one corner and walks every line in the same direction,
// starting each new line from the same side again.
#include <cstdint>

#include "transitions/block_position.h"
#include "transitions/transition_kind.h"

namespace kpv {

class SweepWalk {
public:
    // kind must be one of the eight sweeps.
    SweepWalk(TransitionKind kind, int32_t columns, int32_t rows);

    BlockPosition Position() const { return pos_; }
    // At the last block of its line the inner coordinate goes back to the start side and the outer one
    // moves a line on; otherwise the inner coordinate moves one block on. The line end is tested first,
    // so one-block lines work. The advance after the last block leaves the grid and is never used.
    void Advance();

private:
    bool alongRows_;  // true: lines are rows and the inner coordinate is the column
    int32_t innerStep_;
    int32_t outerStep_;
    int32_t innerCount_;
    BlockPosition pos_;
};

}  // namespace kpv
