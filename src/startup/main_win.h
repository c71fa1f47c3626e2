#pragma once
namespace kpv {

// The program's first own code: instance guard, run mode, and the show, preview or settings flow.
void Main();

}  // namespace kpv
