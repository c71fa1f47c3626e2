#pragma once
// One run of the show: every show window on the screen first, each on its own thread; then the picture
// folder scanned on a worker, its messages shown by the primary monitor's show; then each show's cycle,
// its pictures prepared by the one preparation worker. The thread that made the run only waits for its end
// and then stops everything within a time limit, never waiting without one.
#include <windows.h>

#include <memory>
#include <vector>

#include "runtime/base/thread_win.h"
#include "settings/saver_settings.h"
#include "show/preparation_worker_win.h"
#include "show/show_group.h"

namespace kpv {

class ShowThread;

class ShowRun {
public:
    // A full-screen show on each of the screens (in screen pixels, the primary monitor's first).
    ShowRun(const SaverSettingsRecord& settings, const std::vector<RECT>& screens);
    // The show inside a preview window.
    ShowRun(const SaverSettingsRecord& settings, HWND previewHost);
    ~ShowRun();
    ShowRun(const ShowRun&) = delete;
    ShowRun& operator=(const ShowRun&) = delete;

    // Waits until the run ends and says why. Every show still on the screen is then asked to close: as on a
    // key after input, silently (without a show's end) otherwise.
    RunEnd WaitForEnd();
    // When the end came (GetTickCount64).
    ULONGLONG EndedAt() const { return endedAt_; }
    // Waits for the show threads and the workers until `deadline`, cancelling the reads the workers wait
    // in; true when every one has ended. What has not ended by then is left behind.
    bool StopBy(ULONGLONG deadline);

    ShowGroup& Group() { return group_; }
    // The show windows on the screen now, the primary monitor's first.
    std::vector<HWND> Windows() const;

private:
    void StartScan();
    void Scan();

    const SaverSettingsRecord& settings_;
    ShowGroup group_;
    PreparationWorker worker_;
    std::vector<std::unique_ptr<ShowThread>> shows_;
    rt::Thread scan_;
    ULONGLONG endedAt_ = 0;
};

}  // namespace kpv
