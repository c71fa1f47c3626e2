#include "transitions/choose_transition_win.h"

#include "runtime/random.h"
#include "startup/mod_main.h"
#include "transitions/run_transition.h"
#include "transitions/show_block_win.h"
#include "transitions/transition_draw.h"
#include "transitions/transition_kind.h"

namespace kpv {

void ChooseTransition() {
    rt::RandomSource& rng = rt::Random();
    TransitionNumber = DrawTransitionNumber(rng);
    RunTransition(TransitionForNumber(TransitionNumber), BlockGrid.Columns, BlockGrid.Rows, rng,
                  [](int32_t c, int32_t r) { ShowBlock(c, r); });
}

}  // namespace kpv
