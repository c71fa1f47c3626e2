#pragma once
// The show timer's period from the view time in seconds. A view time of 0 or below can only come from a
// damaged settings store; it would stop the show (a timer without a period never ticks), so the default
// view time of one second is used instead. Every positive 16-bit view time fits the platform timer.
#include <cstdint>

namespace kpv {

inline constexpr int16_t kDefaultViewSeconds = 1;

int32_t ViewPeriodMilliseconds(int16_t intervalSeconds);

}  // namespace kpv
