#pragma once
// One run of the show: every show window on the screen first, each on its own thread; then the picture
// folder scanned on a worker, its messages shown by the primary monitor's show; then each show's cycle,
// its pictures prepared by the preparation workers. Every thread holds a share of the run's state, so
// nothing is freed under a thread that is left behind. The run ends in one place, the group's End, from
// any thread; whoever owns the run then waits for what it needs, always against a deadline.
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "runtime/base/thread_win.h"
#include "settings/saver_settings.h"
#include "show/preparation_pool_win.h"
#include "show/run_state_win.h"
#include "show/show_setup_win.h"

namespace kpv {

class ShowThread;

struct RunOptions {
    PoolLimits pool{};
    // Called before each show's thread is started; a test throws here to fail a start.
    std::function<void(int show)> beforeShowStarts{};
};

class ShowRun {
public:
    // A full-screen show on each of the screens (in screen pixels, the primary monitor's first).
    ShowRun(const SaverSettingsRecord& settings, const std::vector<RECT>& screens, RunOptions options = {});
    // The show inside a preview window.
    ShowRun(const SaverSettingsRecord& settings, HWND previewHost, RunOptions options = {});
    // Ends a run still going (Stopped) and waits for nothing: the threads hold their share of the run.
    ~ShowRun();
    ShowRun(const ShowRun&) = delete;
    ShowRun& operator=(const ShowRun&) = delete;

    // Waits until the run ends and says why.
    RunEnd WaitForEnd();
    // Waits until every show has unloaded (its cursor back, its host asked to close), at most until
    // `deadline`; true when they have. Its window may still be going.
    bool WaitForShows(ShowGroup::Clock::time_point deadline);
    // Ends the run (Stopped, unless it has ended already), cancels every wait, and waits once for every
    // thread of the run against `deadline`: the shows, the scan with its helpers and the workers not left
    // behind. True when all have ended. This is how a test stops a run.
    bool Stop(ULONGLONG deadline);

    ShowGroup& Group() { return run_->group; }
    RunState& State() { return *run_; }
    // The show windows on the screen now, the primary monitor's first.
    std::vector<HWND> Windows() const;

private:
    void StartShows(std::vector<ShowSetup> setups, const RunOptions& options);

    std::shared_ptr<RunState> run_;
    std::vector<std::unique_ptr<ShowThread>> shows_;
    rt::Thread scan_;
};

}  // namespace kpv
