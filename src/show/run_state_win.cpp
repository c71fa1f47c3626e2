#include "show/run_state_win.h"

namespace kpv {

RunState::RunState(const SaverSettingsRecord& runSettings, int shows, PoolLimits limits)
    : settings(runSettings), group(shows), pool(limits) {
    group.OnEnd([this](RunEnd) { CancelWaits(); });
}

void RunState::CancelWaits() {
    scanStop.request_stop();
    scanCancel.Cancel();
    pool.Stop();
}

}  // namespace kpv
