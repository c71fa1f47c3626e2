#include "transitions/run_transition.h"

#include <limits>

#include "transitions/random_block_draw.h"
#include "transitions/spiral_walk.h"
#include "transitions/sweep_walk.h"

namespace kpv {

void RunTransition(TransitionKind kind, int32_t columns, int32_t rows, rt::RandomSource& rng,
                   const ShowBlockFn& showBlock) {
    if (columns <= 0 || rows <= 0) return;
    if (static_cast<int64_t>(columns) * rows > std::numeric_limits<int32_t>::max()) return;
    ShownBlocks shown(columns * rows);
    const auto noAdvance = [] {};

    if (kind == TransitionKind::RevealRandomBlocks) {
        const auto next = [&] { return PositionOfBlock(DrawUnshownBlock(rng, shown), columns); };
        RunRevealFrame(shown, columns, rows, next, noAdvance, showBlock);
    } else if (kind == TransitionKind::RevealSpiralInward) {
        SpiralWalk walk(columns, rows);
        RunRevealFrame(shown, columns, rows, [&] { return walk.Position(); }, [&] { walk.AdvanceInward(); },
                       showBlock);
    } else if (kind == TransitionKind::RevealSpiralOutward) {
        SpiralWalk walk = FindInwardEnd(columns, rows);
        walk.ReverseForOutward();
        RunRevealFrame(shown, columns, rows, [&] { return walk.Position(); }, [&] { walk.AdvanceOutward(); },
                       showBlock);
    } else {
        SweepWalk walk(kind, columns, rows);
        RunRevealFrame(shown, columns, rows, [&] { return walk.Position(); }, [&] { walk.Advance(); }, showBlock);
    }
}

std::vector<int32_t> BlockOrder(TransitionKind kind, int32_t columns, int32_t rows, rt::RandomSource& rng) {
    std::vector<int32_t> order;
    RunTransition(kind, columns, rows, rng, [&](int32_t c, int32_t r) {
        order.push_back(static_cast<int32_t>(BlockNumber({c, r}, columns)));
    });
    return order;
}

}  // namespace kpv
