#include "runtime/base/clock.h"

#include <ctime>

namespace kpv::rt {

namespace {
class SystemClock final : public ClockSource {
public:
    int SecondOfMinute() override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
#if defined(_WIN32)
        localtime_s(&local, &now);
#else
        localtime_r(&now, &local);
#endif
        return local.tm_sec % 60;  // a leap second reads as 0
    }
};
ClockSource* g_override = nullptr;
}  // namespace

ClockSource& Clock() {
    static SystemClock real;
    return g_override ? *g_override : real;
}

void SetClockForTesting(ClockSource* source) { g_override = source; }

}  // namespace kpv::rt
