#pragma once
// The program's first own code: instance guard, run mode, and the show, preview or settings flow.
#include <cstdint>
#include <string>

namespace kpv {

extern int32_t PreviewParent;  // the preview window named on the command line (32-bit handle value)

void Main();

}  // namespace kpv
