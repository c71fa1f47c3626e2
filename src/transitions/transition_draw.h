#pragma once
// The draw that starts every reveal: the generator is reseeded from the clock, then one value picks the
// transition number from 1 to 15 (see TransitionForNumber).
#include <cstdint>

#include "runtime/base/random.h"

namespace kpv {

int16_t DrawTransitionNumber(rt::RandomSource& rng);

}  // namespace kpv
