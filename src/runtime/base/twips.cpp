#include "runtime/base/twips.h"

#include <cmath>

#include "runtime/base/numbers.h"

namespace kpv::rt {

int32_t TwipsToPixels(double twips, double twipsPerPixel) {
    if (!(twipsPerPixel > 0) || std::isnan(twips)) return 0;
    const double r = RoundHalfEven(twips / twipsPerPixel);
    if (r >= 2147483647.0) return INT32_MAX;
    if (r <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(r);
}

}  // namespace kpv::rt
