#pragma once
// The reveal step of the show's cycle: draw the transition number, run that transition over the block grid
// with ShowBlock, pausing before each block as the draw speed says.
#include <cstdint>

#include "runtime/base/random.h"
#include "runtime/forms/form_win.h"
#include "runtime/forms/picture_box_win.h"
#include "transitions/block_grid.h"

namespace kpv {

// The generator is reseeded from the clock first. transitionNumber receives the number drawn (1 to 15)
// before the transition runs.
void ChooseTransition(rt::Form& window, rt::PictureBox& source, const BlockGridRecord& grid, int32_t speed,
                      rt::RandomSource& rng, int16_t& transitionNumber);

}  // namespace kpv
