#include "show/show_run_win.h"

#include <string>

#include "catalogue/catalogue_win.h"
#include "runtime/base/system_error_win.h"
#include "show/show_thread_win.h"

namespace kpv {

namespace {

// A show window is up within a fraction of a second; this only bounds a platform that never answers.
constexpr DWORD kShowStartLimitMs = 10'000;
constexpr DWORD kCancelRetryMs = 10;

// Thrown from the scan's report when the run ends while a message waits: the scan stops there.
struct ScanStopped {};

// The scan, on its own thread with its share of the run.
void Scan(const std::shared_ptr<RunState>& run) {
    std::vector<std::wstring> list;
    try {
        list = BuildPictureList(run->settings.Path, run->settings.SubFolder, [&run](const std::wstring& message) {
            if (!run->group.AskPrimaryToShow(message)) throw ScanStopped{};
        }, run->scanStop.get_token(), &run->scanCancel);
    } catch (const ScanStopped&) {
        return;
    } catch (...) {
        // Out of memory in a huge folder, say: the primary show tells the user and the run ends.
        run->group.ShowAndEnd(rt::CurrentExceptionReportText(), RunEnd::Failure);
        return;
    }
    if (run->group.Ended() != RunEnd::None) return;
    if (list.front().empty()) {
        run->group.End(RunEnd::NoPictures);
        return;
    }
    run->group.PublishPictures(std::move(list));
}

}  // namespace

ShowRun::ShowRun(const SaverSettingsRecord& settings, const std::vector<RECT>& screens, RunOptions options)
    : run_(std::make_shared<RunState>(settings, static_cast<int>(screens.size()), options.pool)) {
    std::vector<ShowSetup> setups;
    for (size_t i = 0; i < screens.size(); ++i)
        setups.push_back(ShowSetup{.run = run_, .index = static_cast<int>(i), .screen = screens[i]});
    StartShows(std::move(setups), options);
}

ShowRun::ShowRun(const SaverSettingsRecord& settings, HWND previewHost, RunOptions options)
    : run_(std::make_shared<RunState>(settings, 1, options.pool)) {
    StartShows({ShowSetup{.run = run_, .preview = true, .previewHost = previewHost}}, options);
}

ShowRun::~ShowRun() { run_->group.End(RunEnd::Stopped); }

// Every window first: the scan begins once each show is on the screen, or could not be put there. A show
// that cannot even be started fails the whole start: the shows already up close again.
void ShowRun::StartShows(std::vector<ShowSetup> setups, const RunOptions& options) {
    for (ShowSetup& setup : setups) {
        try {
            if (options.beforeShowStarts) options.beforeShowStarts(setup.index);
            shows_.push_back(std::make_unique<ShowThread>(std::move(setup)));
        } catch (const std::exception&) {
            run_->group.End(RunEnd::NoWindow);
            return;
        }
    }
    const ULONGLONG deadline = GetTickCount64() + kShowStartLimitMs;
    bool anyShown = false;
    for (const auto& show : shows_) anyShown = show->WaitUntilShown(deadline) || anyShown;
    if (!anyShown) {
        run_->group.End(RunEnd::NoWindow);
        return;
    }
    try {
        scan_ = rt::Thread([run = run_] { Scan(run); });
    } catch (...) {
        run_->group.ShowAndEnd(rt::CurrentExceptionReportText(), RunEnd::Failure);
    }
}

RunEnd ShowRun::WaitForEnd() { return run_->group.WaitForEnd(); }

bool ShowRun::WaitForShows(ShowGroup::Clock::time_point deadline) { return run_->group.WaitUntilAllLeft(deadline); }

bool ShowRun::Stop(ULONGLONG deadline) {
    run_->group.End(RunEnd::Stopped);
    for (;;) {
        // Cancelling again reaches a read that had only been about to start at the last try.
        run_->CancelWaits();
        const ULONGLONG step = std::min(deadline, GetTickCount64() + kCancelRetryMs);
        bool all = scan_.WaitFor(rt::MillisecondsUntil(step)) && run_->pool.WaitUntil(step);
        for (const auto& show : shows_) all = show->WaitUntilEnded(step) && all;
        if (all) return true;
        if (GetTickCount64() >= deadline) return false;
    }
}

std::vector<HWND> ShowRun::Windows() const {
    std::vector<HWND> windows;
    for (const auto& show : shows_)
        if (HWND w = show->Window()) windows.push_back(w);
    return windows;
}

}  // namespace kpv
