#pragma once
// The step every transition takes for one block: the pause before it, the block copied from the prepared
// picture into the show window's kept image, just that rectangle put on the screen, one pass of the
// message loop.
#include <cstdint>

#include "runtime/forms/form_win.h"
#include "runtime/forms/picture_box_win.h"
#include "transitions/block_grid.h"
#include "transitions/pacing.h"

namespace kpv {

// What a transition draws on: the show window, the prepared picture it copies from (the same size as the
// window), the grid of blocks over the window, and the clock of its pauses.
struct BlockCanvas {
    rt::Form& window;
    rt::PictureBox& source;
    const BlockGridRecord& grid;
    PauseClock& pauses;
};

// A clock for one transition at the stored draw speed, starting now.
PauseClock StartPauseClock(int32_t speed);

// Once a message in the pause has unloaded the window (the show ended), nothing more is drawn.
void ShowBlock(const BlockCanvas& canvas, int32_t c, int32_t r);

}  // namespace kpv
