#pragma once
// The result of the latest platform call the program made on this thread. Registry failures are tested on
// it right after the call; drawing results are stored and never read. Each thread keeps its own, so shows
// running on several threads never race on it.
#include <cstdint>

namespace kpv {

extern thread_local int32_t LastApiResult;

}  // namespace kpv
