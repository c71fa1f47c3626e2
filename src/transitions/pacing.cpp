#include "transitions/pacing.h"

namespace kpv {

int32_t PauseYields(int32_t speed) {
    if (speed < 0) return 0;
    if (speed > kSlowestSpeed) return kSlowestSpeed + 1;
    return speed + 1;
}

}  // namespace kpv
