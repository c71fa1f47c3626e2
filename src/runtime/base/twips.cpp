#include "runtime/base/twips.h"

#include <cmath>

#include "runtime/base/numbers.h"

namespace kpv::rt {

int32_t TwipsToPixels(double twips, double twipsPerPixel) {
    if (!(twipsPerPixel > 0)) return 0;
    return RoundHeldToInt32(twips / twipsPerPixel);
}

}  // namespace kpv::rt
