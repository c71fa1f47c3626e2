// frmSetting's load, unload and button handlers.
#include <optional>

#include "runtime/base/app_info_win.h"
#include "runtime/forms/label_win.h"
#include "runtime/base/msgbox_win.h"
#include "runtime/base/numbers.h"
#include "runtime/base/twips.h"
#include "runtime/base/units_win.h"
#include "settings_dialog/colour_chooser_win.h"
#include "settings_dialog/dialog_values.h"
#include "settings_dialog/field_rules.h"
#include "settings_dialog/folder_browser_win.h"
#include "settings_dialog/folder_check_win.h"
#include "settings_dialog/frm_setting_win.h"
#include "settings_dialog/setting_labels.h"
#include "settings_dialog/stored_options.h"
#include "settings_dialog/swatch_colour.h"
#include "settings/instance_flag_win.h"
#include "settings/saver_settings.h"
#include "settings/registry_win.h"
#include "settings/settings_store_win.h"

namespace kpv {

void FrmSetting::Form_Load() {
    // Centred on the screen, computed in twips as floating values.
    RECT window;
    GetWindowRect(hwnd_, &window);
    const float tx = rt::TwipsPerPixelX();
    const float ty = rt::TwipsPerPixelY();
    const float width = static_cast<float>(window.right - window.left) * tx;
    const float height = static_cast<float>(window.bottom - window.top) * ty;
    const float top = (rt::ScreenHeightTwips() - height) / 2;
    const float left = (rt::ScreenWidthTwips() - width) / 2;
    SetWindowPos(hwnd_, nullptr, rt::TwipsToPixels(left, tx), rt::TwipsToPixels(top, ty), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    txtPath.SetText(SaverSettings.Path);
    SendMessageW(chkSubFolder, BM_SETCHECK, SubFolderTicked(SaverSettings.SubFolder) ? BST_CHECKED : BST_UNCHECKED, 0);
    // Each of these passes through the field's Change rule, so a stored value out of range shows clamped.
    txtViewTime.SetText(rt::ToDecimalText(SaverSettings.Interval));
    txtDrawSpeed.SetText(rt::ToDecimalText(SaverSettings.Speed));
    txtBlockSize.SetText(rt::ToDecimalText(SaverSettings.BlockSize));

    for (int i = 0; i < optBackground.Count(); ++i) optBackground.SetValue(i, false);
    optBackground.SetValue(BackgroundOptionFor(SaverSettings.BackGround), true);

    for (int i = 0; i < optEdit.Count(); ++i) optEdit.SetValue(i, false);
    optEdit.SetValue(EditOptionFor(SaverSettings.Edit), true);

    // After the effect: the stored Case shows even where the effect has disabled the group.
    for (int i = 0; i < optCase.Count(); ++i) optCase.SetValue(i, false);
    optCase.SetValue(CaseOptionFor(SaverSettings.Case), true);

    rt::SetLabelCaption(lblComment, CommentLabelText(rt::AppLegalCopyright(), rt::AppCompanyName()));
    rt::SetLabelCaption(lblVersion, VersionLabelText(rt::AppMajor(), rt::AppMinor(), rt::AppRevision()));
}

void FrmSetting::Form_Unload() {
    // Every close releases the instance flag (or ends the program after a message when it cannot).
    ClearActiveFlag();
}

void FrmSetting::optBackground_Click(int index) {
    EnableWindow(cmdColor, index != 0);
    const uint32_t c = SwatchColourFor(index, SaverSettings.BackColor);
    picBackground.Cls();
    picBackground.SetBackColor(c);
    picBackground.SetForeColor(SwatchCaptionColour(c));
    picBackground.SetCurrentX((picBackground.ScaleWidth() - picBackground.TextWidth(kSwatchCaption)) / 2);
    picBackground.SetCurrentY((picBackground.ScaleHeight() - picBackground.TextHeight(kSwatchCaption)) / 2);
    picBackground.Print(kSwatchCaption);
}

void FrmSetting::optEdit_Click(int index) {
    const bool caseCounts = CaseOptionsEnabledFor(index);
    optCase.SetEnabled(0, caseCounts);
    optCase.SetEnabled(1, caseCounts);
    if (!caseCounts) optCase.SetValue(0, true);
}

void FrmSetting::cmdColor_Click() {
    SaverSettings.BackColor = SelectColor(SaverSettings.BackColor);
    optBackground_Click(1);
}

void FrmSetting::cmdBrowse_Click() {
    const std::wstring chosen = SelectPictureFolder(hwnd_);
    if (chosen.empty()) return;
    SaverSettings.Path = chosen;
    txtPath.SetText(chosen);
}

void FrmSetting::cmdOk_Click() {
    const std::wstring pathText = txtPath.Text();
    // The folder the field names, with or without its final "\" (Enter may be pressed before the field
    // was left and normalised).
    if (!FolderExists(pathText)) {
        rt::MsgBox(kFolderMissingMessage);
        txtPath.SetFocus();
        txtPath_GotFocus();
        return;
    }
    const std::optional<std::wstring> storable = StorableFolderText(pathText);
    if (!storable) {
        rt::MsgBox(kFolderNotStorableMessage);
        txtPath.SetFocus();
        txtPath_GotFocus();
        return;
    }

    rt::UniqueHKey key = OpenProgramKey(L"Settings");
    if (!key) {
        rt::MsgBox(kSaveFailedMessage);
        cmdCancel_Click();
        return;
    }

    DialogControlState state;
    state.pathText = *storable;
    state.subFolderTicked = SendMessageW(chkSubFolder, BM_GETCHECK, 0, 0) == BST_CHECKED;
    state.viewTimeText = txtViewTime.Text();
    state.drawSpeedText = txtDrawSpeed.Text();
    state.blockSizeText = txtBlockSize.Text();
    state.backgroundOption = optBackground.Selected();
    state.swatchColour = picBackground.BackColor();
    state.editOption = optEdit.Selected();
    state.caseOption = optCase.Selected();
    SaverSettings = TakeDialogValues(state, SaverSettings);

    WriteSettingsValues(key.get());
    key.reset();
    cmdCancel_Click();
}

void FrmSetting::cmdCancel_Click() { Unload(); }

}  // namespace kpv
