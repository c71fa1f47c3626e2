#include "startup/main_win.h"

#include <string>

#include "runtime/app_info_win.h"
#include "runtime/end_win.h"
#include "runtime/error_report.h"
#include "runtime/msgbox_win.h"
#include "runtime/numbers.h"
#include "settings_dialog/settings_dialog_win.h"
#include "show/show_start_win.h"
#include "startup/catalogue_win.h"
#include "startup/instance_flag_win.h"
#include "startup/mod_main.h"
#include "startup/run_mode.h"
#include "startup/settings_store_win.h"
#include "startup/startup_messages.h"

namespace kpv {

namespace {

// Without a picture there is nothing to show: the catalogue has told the user, the run ends here.
void BuildPictureListOrEnd() {
    LastApiResult = BuildPictureList() ? -1 : 0;
    if (LastApiResult == 0) rt::EndProgram();
}

void RunShow() {
    RunMode = L"S";
    LoadSettings();
    BuildPictureListOrEnd();
    StartShowWindow();
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
    StartShowWindow();
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
