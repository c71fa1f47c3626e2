#pragma once
// Turns the Edit and Case settings into a decision for one picture: whether to recolour it, and how.
#include <cstdint>

#include "runtime/base/clock.h"
#include "runtime/base/random.h"

namespace kpv {

struct EffectDecision {
    bool apply = false;
    int16_t kind = 0;  // an EffectKind value; with Edit above 3 it is Edit itself, which recolours nothing
};

// edit: 0 none, 1 monochrome, 2 sepia, 3 random kind. caseValue: 0 every picture, above 0 about one picture
// in ten (the draw must agree with the last digit of the clock's seconds). listCount: the number of pictures,
// the range of both draws. Draws nothing for edit <= 0; otherwise one draw for caseValue > 0, then one for
// edit 3, in that order, from the given generator (not reseeded here).
EffectDecision ChooseEffect(int16_t edit, int16_t caseValue, int64_t listCount, rt::RandomSource& random,
                            rt::ClockSource& clock);

}  // namespace kpv
