#include "app/main_win.h"

#include <windows.h>

#include <chrono>
#include <string>

#include "app/app_messages.h"
#include "app/run_mode.h"
#include "catalogue/picture_list.h"
#include "runtime/base/app_info_win.h"
#include "runtime/base/end_win.h"
#include "runtime/base/error_report.h"
#include "runtime/base/monitors_win.h"
#include "runtime/base/msgbox_win.h"
#include "runtime/base/numbers.h"
#include "settings/instance_flag_win.h"
#include "settings/saver_settings.h"
#include "settings/settings_store_win.h"
#include "settings_dialog/settings_dialog_win.h"
#include "show/show_run_win.h"

namespace kpv {

int32_t PreviewParent = 0;

namespace {

// After input every show does what its unload must (the cursor back, the host asked to close); they have
// nothing slow to finish, and whatever the workers hold ends with the process.
constexpr std::chrono::milliseconds kShowsCloseLimit{50};
// Before the no-pictures message the windows must have gone.
constexpr std::chrono::milliseconds kWindowsGoneLimit{1000};

// Waits for the run's end and ends the program as that end says. The process ends through
// TerminateProcess: nothing a worker holds (a read that never returns, a decoder's lock) needs to be let
// go of, and nothing needs a DLL's detach code, so nothing is waited for but the shows themselves.
[[noreturn]] void EndRun(ShowRun& run) {
    const RunEnd why = run.WaitForEnd();
    const auto endedAt = run.Group().EndedAt();
    switch (why) {
    case RunEnd::Input:
        run.WaitForShows(endedAt + kShowsCloseLimit);
        ClearActiveFlag();
        rt::EndProgram(0);
    case RunEnd::NoPictures:
        // The windows go without a show's end; the flag stays set, as on every start that ends at once.
        run.WaitForShows(endedAt + kWindowsGoneLimit);
        rt::MsgBoxOwned(nullptr, kNoPicturesMessage);
        rt::EndProgram(0);
    case RunEnd::Failure:  // the primary show has told the user; the flag stays set
        run.WaitForShows(endedAt + kShowsCloseLimit);
        rt::EndProgram(1);
    case RunEnd::NoWindow:
    case RunEnd::Stopped:
    case RunEnd::None:
        break;
    }
    // Nothing could be put on the screen: the start failed.
    ClearActiveFlag();
    rt::EndProgram(1);
}

// Every window first, one on each monitor, each on its own thread; the picture folder is scanned after.
void RunShow() {
    LoadSettings();
    ShowRun run(SaverSettings, rt::MonitorRects());
    EndRun(run);
}

// The handle comes as decimal text; anything else is reported like a runtime error and nothing is shown.
int32_t PreviewParentOrEnd(std::wstring_view args) {
    try {
        return rt::TextToLong(PreviewHandleText(args));
    } catch (const rt::TypeMismatchError&) {
        rt::MsgBox(rt::ErrorReportText(kTypeMismatchDescription, kTypeMismatchNumber));
    } catch (const rt::OverflowError&) {
        rt::MsgBox(rt::ErrorReportText(kOverflowDescription, kOverflowNumber));
    }
    rt::EndProgram();
}

void RunPreview(std::wstring_view args) {
    PreviewParent = PreviewParentOrEnd(args);
    LoadSettings();
    SaverSettings.BlockSize = 5;  // the small preview window gets small blocks; the stored value stays
    // The 32-bit handle value widens with its sign, as the platform widens handle values.
    HWND host = reinterpret_cast<HWND>(static_cast<LONG_PTR>(PreviewParent));
    // The display settings start and drop previews quickly; one whose window has already gone has nowhere to
    // run and nobody to show anything to: it ends at once, before any scan, the flag cleared.
    if (!IsWindow(host)) {
        ClearActiveFlag();
        rt::EndProgram(0);
    }
    ShowRun run(SaverSettings, host);
    EndRun(run);
}

void RunSettings() {
    LoadSettings();
    ShowSettingsDialogModal();
    rt::EndProgram();
}

}  // namespace

void Main() {
    RegistryKeyBase = L"Software\\Tarnel Software\\KPV\\";
    PassInstanceGuard();
    const std::wstring args = rt::CommandArgs();
    switch (RunModeFromArgs(args)) {
        case RunModeKind::Show: RunShow(); break;
        case RunModeKind::Preview: RunPreview(args); break;
        case RunModeKind::Settings: RunSettings(); break;
    }
}

}  // namespace kpv
