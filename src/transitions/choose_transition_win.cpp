#include "transitions/choose_transition_win.h"

#include "transitions/run_transition.h"
#include "transitions/show_block_win.h"
#include "transitions/transition_draw.h"
#include "transitions/transition_kind.h"

namespace kpv {

void ChooseTransition(rt::Form& window, rt::PictureBox& source, const BlockGridRecord& grid, int32_t speed,
                      rt::RandomSource& rng, int16_t& transitionNumber) {
    transitionNumber = DrawTransitionNumber(rng);
    PauseClock pauses = StartPauseClock(speed);
    const BlockCanvas canvas{window, source, grid, pauses};
    RunTransition(TransitionForNumber(transitionNumber), grid.Columns, grid.Rows, rng,
                  [&canvas](int32_t c, int32_t r) { ShowBlock(canvas, c, r); });
}

}  // namespace kpv
