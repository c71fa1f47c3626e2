#include "settings_dialog/settings_dialog_win.h"

#include "settings_dialog/frm_setting_win.h"

namespace kpv {

void ShowSettingsDialogModal() {
    FrmSetting form;
    if (!form.Load()) return;
    form.ShowModal();
}

}  // namespace kpv
