#pragma once
// Runs one of the eleven transitions over a grid of blocks. The drawing of a block (pause, copy, refresh)
// belongs to the caller and is passed in as showBlock(c, r), called once per block in the transition's
// order. If showBlock throws, or the program ends inside it, the run simply stops there.
#include <cstdint>
#include <vector>

#include "runtime/base/random.h"
#include "transitions/reveal_frame.h"
#include "transitions/transition_kind.h"

namespace kpv {

// A grid with no columns or no rows has nothing to reveal: the call returns at once. Only the random
// reveal draws from rng; it does not reseed it (the caller reseeds before choosing the transition).
void RunTransition(TransitionKind kind, int32_t columns, int32_t rows, rt::RandomSource& rng,
                   const ShowBlockFn& showBlock);

// The block numbers (row by row from 1 at the top-left) in the order the transition shows them.
std::vector<int32_t> BlockOrder(TransitionKind kind, int32_t columns, int32_t rows, rt::RandomSource& rng);

}  // namespace kpv
