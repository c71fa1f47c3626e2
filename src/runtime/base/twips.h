#pragma once
// Twips to pixels for the drawing calls: nearest integer, ties to even. Unlike CLng this never fails: a
// factor that is not positive gives 0 and results beyond the 32-bit range are held to it, because a size
// read from a damaged setting must not stop a window from being drawn.
#include <cstdint>

namespace kpv::rt {

int32_t TwipsToPixels(double twips, double twipsPerPixel);

}  // namespace kpv::rt
