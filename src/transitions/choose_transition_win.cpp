#include "transitions/choose_transition_win.h"

#include "transitions/run_transition.h"
#include "transitions/transition_draw.h"
#include "transitions/transition_kind.h"

namespace kpv {

void ChooseTransition(const BlockCanvas& canvas, rt::RandomSource& rng, int16_t& transitionNumber) {
    transitionNumber = DrawTransitionNumber(rng);
    RunTransition(TransitionForNumber(transitionNumber), canvas.grid.Columns, canvas.grid.Rows, rng,
                  [&canvas](int32_t c, int32_t r) { ShowBlock(canvas, c, r); });
}

}  // namespace kpv
