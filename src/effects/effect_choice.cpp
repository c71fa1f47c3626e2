#include "effects/effect_choice.h"

namespace kpv {

namespace {

// floor(r x N); an empty or negative range gives 0 as the plain formula would.
int64_t DrawInRange(rt::RandomSource& random, int64_t listCount) {
    const float r = random.Next();
    return listCount > 0 ? rt::DrawIndex(r, listCount) : 0;
}

// Remainder of the random-kind draw: 1 monochrome, 0 sepia, the other three leave the colours alone.
// The draw is kept at full width: a list beyond 32767 pictures still gives each remainder its share
// instead of failing to fit a 16-bit value.
int16_t KindFromDraw(int64_t v) {
    switch (v % 5) {
    case 1:
        return 1;
    case 0:
        return 2;
    default:
        return 0;
    }
}

}  // namespace

EffectDecision ChooseEffect(int16_t edit, int16_t caseValue, int64_t listCount, rt::RandomSource& random,
                            rt::ClockSource& clock) {
    EffectDecision decision;
    if (edit <= 0) return decision;

    decision.apply = true;
    if (caseValue > 0) {
        const int64_t k = DrawInRange(random, listCount);
        decision.apply = clock.SecondOfMinute() % 10 == k % 10;
    }

    if (edit == 3) {
        decision.kind = KindFromDraw(DrawInRange(random, listCount));
        decision.apply = true;  // the random kind already includes "no change", so Case does not thin it out
    } else {
        decision.kind = edit;
    }
    return decision;
}

}  // namespace kpv
