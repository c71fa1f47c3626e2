#pragma once
// What every thread of one run shares: a copy of the settings, the group of shows, the pictures that
// failed, the preparation workers and the scan's cancel. Each thread holds a share of it, so nothing a
// thread uses is freed under it, whichever thread is left behind; the run's one end (the group's End)
// raises every stop flag and cancels every wait through it.
#include <memory>
#include <stop_token>

#include "runtime/base/io_cancel_win.h"
#include "settings/saver_settings.h"
#include "show/failed_pictures.h"
#include "show/preparation_pool_win.h"
#include "show/show_group.h"

namespace kpv {

struct RunState {
    // shows: how many shows the run has (one in a preview).
    RunState(const SaverSettingsRecord& runSettings, int shows, PoolLimits limits = {});
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;

    // Stops the scan and its helpers and the preparation workers, and cancels the reads and listings they
    // wait in. Never waits; safe to repeat from any thread, which cancels a read that had only been about
    // to start.
    void CancelWaits();

    const SaverSettingsRecord settings;  // in a preview BlockSize is already 5
    ShowGroup group;
    FailedPictures failed;
    PreparationPool pool;
    std::stop_source scanStop;
    rt::IoCancel scanCancel;
};

}  // namespace kpv
