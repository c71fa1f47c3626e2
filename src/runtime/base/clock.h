#pragma once
// The time of day as the program reads it (seconds for the effect choice); injectable in tests.
namespace kpv::rt {

class ClockSource {
public:
    virtual ~ClockSource() = default;
    virtual int SecondOfMinute() = 0;  // 0..59, local time
};

ClockSource& Clock();
void SetClockForTesting(ClockSource* source);  // nullptr restores the real one

}  // namespace kpv::rt
