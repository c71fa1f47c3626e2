#include "show/view_period.h"

namespace kpv {

int32_t ViewPeriodMilliseconds(int16_t intervalSeconds) {
    const int32_t seconds = intervalSeconds > 0 ? intervalSeconds : kDefaultViewSeconds;
    return seconds * 1000;
}

}  // namespace kpv
