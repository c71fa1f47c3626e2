#pragma once
// The reveal step of the show's cycle: reseed, draw the transition number, run that transition over the
// canvas's block grid with ShowBlock.
#include <cstdint>

#include "runtime/base/random.h"
#include "transitions/show_block_win.h"

namespace kpv {

// transitionNumber receives the number drawn (1 to 15) before the transition runs.
void ChooseTransition(const BlockCanvas& canvas, rt::RandomSource& rng, int16_t& transitionNumber);

}  // namespace kpv
