#include "app/main_win.h"

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_messages.h"
#include "app/run_mode.h"
#include "catalogue/catalogue_win.h"
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

// The whole end of a run after input, the windows gone, the flag written and the threads joined.
constexpr ULONGLONG kEndLimitMs = 250;
// Before the no-pictures message the windows must have gone; they have nothing slow to finish.
constexpr ULONGLONG kCloseLimitMs = 1000;

// Waits for the run's end and ends the program accordingly. The process always ends through ExitProcess,
// so the run is never destroyed: a worker stuck in a read of a share that stopped answering is left
// behind, never waited for.
[[noreturn]] void EndRun(ShowRun& run) {
    switch (run.WaitForEnd()) {
    case RunEnd::Input:
        ClearActiveFlag();
        run.StopBy(run.EndedAt() + kEndLimitMs);
        rt::EndProgram(0);
    case RunEnd::NoPictures:
        // The windows go without a show's end; the flag stays set, as on every start that ends at once.
        run.StopBy(run.EndedAt() + kCloseLimitMs);
        rt::MsgBoxOwned(nullptr, kNoPicturesMessage);
        rt::EndProgram(0);
    case RunEnd::NoneLoadable:  // the show that found none has told the user
        run.StopBy(run.EndedAt() + kCloseLimitMs);
        rt::EndProgram(0);
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
    // A preview for a window that does not exist has nowhere to run. The folder is still scanned, and an
    // empty one reported, as for any start; then it ends at once, the flag cleared.
    if (!IsWindow(host)) {
        const std::vector<std::wstring> pictures = BuildPictureList(
            SaverSettings.Path, SaverSettings.SubFolder, [](const std::wstring& message) { rt::MsgBox(message); });
        if (pictures.front().empty()) {
            rt::MsgBox(kNoPicturesMessage);
            rt::EndProgram(0);
        }
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
