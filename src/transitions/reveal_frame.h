#pragma once
// The frame every transition runs in: take the next block by the transition's own rule, mark it shown,
// show it, test whether all blocks are shown, and (for the walks) advance. Only that test ends a run.
#include <cstdint>
#include <functional>

#include "transitions/block_position.h"
#include "transitions/shown_blocks.h"

namespace kpv {

using ShowBlockFn = std::function<void(int32_t c, int32_t r)>;

// `next()` gives the block to take, `advance()` moves a walk on after the block is shown (it also runs
// after the last block; that position is never used). Should a rule ever hand out a position outside the
// grid or a block already shown, the lowest block not yet shown is taken instead, so a run always ends
// with every block shown exactly once.
template <class Next, class Advance>
void RunRevealFrame(ShownBlocks& shown, int32_t columns, int32_t rows, Next&& next, Advance&& advance,
                    const ShowBlockFn& showBlock) {
    bool done = shown.AllBlocksShown();
    while (!done) {
        BlockPosition p = next();
        if (!IsInGrid(p, columns, rows) || shown.IsShown(static_cast<int32_t>(BlockNumber(p, columns)))) {
            p = PositionOfBlock(shown.FirstUnshown(), columns);
        }
        shown.MarkShown(static_cast<int32_t>(BlockNumber(p, columns)));
        showBlock(p.c, p.r);
        done = shown.AllBlocksShown();
        advance();
    }
}

}  // namespace kpv
