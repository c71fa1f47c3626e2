#pragma once
// How many passes of the message loop come before each block: Speed + 1, none for a negative Speed.
// The settings dialog stores 0 to 20000; a larger value from a damaged store is held to 20000, since
// 2^31 passes per block would freeze the show for days (and Speed + 1 would overflow).
#include <cstdint>

namespace kpv {

inline constexpr int32_t kSlowestSpeed = 20000;

int32_t PauseYields(int32_t speed);

}  // namespace kpv
