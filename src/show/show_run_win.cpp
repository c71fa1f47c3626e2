#include "show/show_run_win.h"

#include <string>

#include "catalogue/catalogue_win.h"
#include "show/show_thread_win.h"

namespace kpv {

namespace {

// A show window is up within a fraction of a second; this only bounds a platform that never answers.
constexpr DWORD kShowStartLimitMs = 10'000;
constexpr DWORD kStopOnDestructionMs = 2000;

// Thrown from the scan's report when the run ends while a message waits: the scan stops there.
struct ScanStopped {};

}  // namespace

ShowRun::ShowRun(const SaverSettingsRecord& settings, const std::vector<RECT>& screens)
    : settings_(settings), group_(static_cast<int>(screens.size())) {
    for (size_t i = 0; i < screens.size(); ++i)
        shows_.push_back(std::make_unique<ShowThread>(
            ShowSetup{.settings = settings, .group = group_, .worker = worker_, .index = static_cast<int>(i),
                      .screen = screens[i]}));
    StartScan();
}

ShowRun::ShowRun(const SaverSettingsRecord& settings, HWND previewHost) : settings_(settings), group_(1) {
    shows_.push_back(std::make_unique<ShowThread>(
        ShowSetup{.settings = settings, .group = group_, .worker = worker_, .preview = true, .previewHost = previewHost}));
    StartScan();
}

// The program ends a run through ExitProcess; this is for a run that its owner stops (a test).
ShowRun::~ShowRun() {
    group_.End(RunEnd::Stopped);
    group_.SignalAll(ShowSignal::CloseSilently);
    StopBy(GetTickCount64() + kStopOnDestructionMs);
}

// Every window first: the scan begins once each show is on the screen, or could not be put there.
void ShowRun::StartScan() {
    bool anyShown = false;
    for (const auto& show : shows_) anyShown = show->WaitUntilShown(kShowStartLimitMs) || anyShown;
    if (!anyShown) {
        group_.End(RunEnd::NoWindow);
        return;
    }
    scan_ = rt::Thread([this] { Scan(); });
}

void ShowRun::Scan() {
    std::vector<std::wstring> list;
    try {
        list = BuildPictureList(settings_.Path, settings_.SubFolder, [this](const std::wstring& message) {
            if (!group_.AskPrimaryToShow(message)) throw ScanStopped{};
        });
    } catch (const ScanStopped&) {
        return;
    }
    if (group_.Ended() != RunEnd::None) return;
    if (list.front().empty()) {
        group_.End(RunEnd::NoPictures);
        return;
    }
    group_.PublishPictures(std::move(list));
}

RunEnd ShowRun::WaitForEnd() {
    const RunEnd why = group_.WaitForEnd();
    endedAt_ = GetTickCount64();
    group_.SignalAll(why == RunEnd::Input ? ShowSignal::Close : ShowSignal::CloseSilently);
    return why;
}

bool ShowRun::StopBy(ULONGLONG deadline) {
    bool all = true;
    for (const auto& show : shows_) all = show->WaitUntil(deadline) && all;
    all = worker_.StopBy(deadline) && all;
    return scan_.CancelIoAndWaitUntil(deadline) && all;
}

std::vector<HWND> ShowRun::Windows() const {
    std::vector<HWND> windows;
    for (const auto& show : shows_)
        if (HWND w = show->Window()) windows.push_back(w);
    return windows;
}

}  // namespace kpv
