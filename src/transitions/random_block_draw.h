#pragma once
// The random reveal's pick: a block number drawn uniformly, drawn again while it names a block already
// shown, so each block not yet shown is equally likely to come next.
#include <cstdint>

#include "runtime/base/random.h"
#include "transitions/shown_blocks.h"

namespace kpv {

// floor(v * N + 1) in double precision: 1 to N for every 0 <= v < 1 (held to that range otherwise).
int32_t BlockNumberFromDraw(double v, int32_t n);

// Draws until a block not yet shown comes up; there is no limit on redraws. At least one block must be
// unshown. The generator is not reseeded here.
// A draw carries only 24 bits, so on a grid of more than 2^24 blocks one draw could never name most
// blocks and the reveal would wait forever for them; there each attempt refines its draw with a second one.
int32_t DrawUnshownBlock(rt::RandomSource& rng, const ShownBlocks& shown);

}  // namespace kpv
