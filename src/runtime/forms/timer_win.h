#pragma once
// A timer on a form: Interval in milliseconds and Enabled. Its handler runs on the user-interface thread
// from the message loop, never while the timer is disabled. Switching it on starts the period afresh.
#include <basetsd.h>

#include <cstdint>
#include <functional>

namespace kpv::rt {

class Form;

class Timer {
public:
    Timer(Form& owner, std::function<void()> onTick);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // 0 (or below) means no ticks while enabled, as for a new timer. Periods beyond what the platform
    // timer accepts are held to its largest, periods below its shortest to its shortest.
    void SetInterval(int64_t milliseconds);
    uint32_t Interval() const { return interval_; }
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }

private:
    friend class Form;
    void Tick();
    void Apply();  // makes the platform timer match Interval and Enabled

    Form& owner_;
    UINT_PTR id_ = 0;  // small ids: the platform keeps fewer bits of a timer id than a pointer has
    std::function<void()> onTick_;
    uint32_t interval_ = 0;
    bool enabled_ = false;
    bool running_ = false;
};

}  // namespace kpv::rt
