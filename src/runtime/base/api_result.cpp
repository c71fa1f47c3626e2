#include "runtime/base/api_result.h"

namespace kpv {

thread_local int32_t LastApiResult = 0;

}  // namespace kpv
