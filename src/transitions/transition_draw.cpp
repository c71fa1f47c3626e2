#include "transitions/transition_draw.h"

#include "transitions/transition_kind.h"

namespace kpv {

int16_t DrawTransitionNumber(rt::RandomSource& rng) {
    rng.Reseed();
    return TransitionNumberFromDraw(rng.Next());
}

}  // namespace kpv
