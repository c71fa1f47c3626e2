#include "app/main_win.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "app/app_messages.h"
#include "app/run_mode.h"
#include "catalogue/catalogue_win.h"
#include "catalogue/picture_list.h"
#include "runtime/base/api_result.h"
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
#include "show/frm_main_win.h"
#include "show/show_group.h"
#include "show/show_start_win.h"
#include "show/show_thread_win.h"

namespace kpv {

std::wstring RunMode;
int32_t PreviewParent = 0;

namespace {

// The preview's show; the program lives in its event handlers once Main returns.
std::unique_ptr<FrmMain> frmMain;

// Without a picture there is nothing to show: the catalogue has told the user, the run ends here.
void BuildPictureListOrEnd() {
    LastApiResult = BuildPictureList(SaverSettings.Path, SaverSettings.SubFolder) ? -1 : 0;
    if (LastApiResult == 0) rt::EndProgram();
}

// When the show unloads, after it restored the cursor or asked its owner to close.
void EndAfterShow() {
    ClearActiveFlag();
    rt::EndProgram(0);
}

// One show on every monitor, each on its own thread. The program lives in their event handlers: the first
// to end ends the program for all, so this thread only waits.
void RunShow() {
    RunMode = L"S";
    LoadSettings();
    BuildPictureListOrEnd();
    static ShowGroup group;
    std::vector<std::unique_ptr<ShowThread>> shows;
    for (const RECT& monitor : rt::MonitorRects()) {
        shows.push_back(std::make_unique<ShowThread>(ShowSetup{.settings = SaverSettings,
                                                               .pictures = PictureList,
                                                               .screen = monitor,
                                                               .group = &group,
                                                               .ended = EndAfterShow}));
    }
    for (auto& show : shows) show->Join();
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
    RunMode = L"P";
    PreviewParent = PreviewParentOrEnd(args);
    LoadSettings();
    SaverSettings.BlockSize = 5;  // the small preview window gets small blocks; the stored value stays
    BuildPictureListOrEnd();
    // The 32-bit handle value widens with its sign, as the platform widens handle values.
    HWND host = reinterpret_cast<HWND>(static_cast<LONG_PTR>(PreviewParent));
    // A preview for a window that does not exist has nowhere to run: it ends at once, the flag cleared.
    if (!IsWindow(host)) EndAfterShow();
    frmMain = std::make_unique<FrmMain>(ShowSetup{
        .settings = SaverSettings, .pictures = PictureList, .preview = true, .previewHost = host, .ended = EndAfterShow});
    StartShowWindow(*frmMain);
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
