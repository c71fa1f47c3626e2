#pragma once
// The step every transition takes for one block: the pause of Speed + 1 message-loop passes, the block
// copied from the prepared picture into the show window's kept image, just that rectangle put on the
// screen, one more pass.
#include <cstdint>

#include "runtime/forms/form_win.h"
#include "runtime/forms/picture_box_win.h"
#include "transitions/block_grid.h"

namespace kpv {

// What a transition draws on: the show window, the prepared picture it copies from (the same size as the
// window), the grid of blocks over the window, and the pacing.
struct BlockCanvas {
    rt::Form& window;
    rt::PictureBox& source;
    const BlockGridRecord& grid;
    int32_t speed;  // the stored draw speed: Speed + 1 passes of the message loop before each block
};

// Once a pass has unloaded the window (the show ended inside the pause), nothing more is drawn.
void ShowBlock(const BlockCanvas& canvas, int32_t c, int32_t r);

}  // namespace kpv
