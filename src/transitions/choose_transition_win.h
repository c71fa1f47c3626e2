#pragma once
// The reveal step of the show's cycle: reseed, draw the transition number, run that transition over the
// block grid with ShowBlock.
namespace kpv {

void ChooseTransition();

}  // namespace kpv
