// frmSetting's text fields: the key filters, the Change rule, and what focus does to them.
#include "runtime/base/beep_win.h"
#include "settings_dialog/field_rules.h"
#include "settings_dialog/frm_setting_win.h"
#include "settings/saver_settings.h"

namespace kpv {

namespace {

void ApplyChangeRule(rt::TextBox& box, NumericFieldRange range) {
    const ChangeOutcome o = ApplyNumericChangeRule(box.Text(), range);
    if (!o.replace) return;
    box.SetText(o.text);  // runs Change again, which finds the text settled
    if (o.caretToEnd) box.SetSelection(static_cast<int>(o.text.size()), 0);
}

void SelectWholeText(rt::TextBox& box) { box.SetSelection(0, static_cast<int>(box.Text().size())); }

}  // namespace

// The key filters exist once; the other two numeric fields pass their keys on.
void FrmSetting::txtViewTime_KeyDown(uint16_t& keyCode, int shift) {
    if (FilterNumericKeyDown(keyCode, shift)) rt::Beep();
}

void FrmSetting::txtViewTime_KeyPress(uint16_t& keyAscii) {
    if (FilterNumericKeyPress(keyAscii)) rt::Beep();
}

void FrmSetting::txtDrawSpeed_KeyDown(uint16_t& keyCode, int shift) { txtViewTime_KeyDown(keyCode, shift); }
void FrmSetting::txtDrawSpeed_KeyPress(uint16_t& keyAscii) { txtViewTime_KeyPress(keyAscii); }
void FrmSetting::txtBlockSize_KeyDown(uint16_t& keyCode, int shift) { txtViewTime_KeyDown(keyCode, shift); }
void FrmSetting::txtBlockSize_KeyPress(uint16_t& keyAscii) { txtViewTime_KeyPress(keyAscii); }

void FrmSetting::txtViewTime_Change() { ApplyChangeRule(txtViewTime, kViewTimeRange); }
void FrmSetting::txtDrawSpeed_Change() { ApplyChangeRule(txtDrawSpeed, kDrawSpeedRange); }
void FrmSetting::txtBlockSize_Change() { ApplyChangeRule(txtBlockSize, kBlockSizeRange); }

// Typing replaces the old value: the whole text is selected on entry.
void FrmSetting::txtPath_GotFocus() { SelectWholeText(txtPath); }
void FrmSetting::txtViewTime_GotFocus() { SelectWholeText(txtViewTime); }
void FrmSetting::txtDrawSpeed_GotFocus() { SelectWholeText(txtDrawSpeed); }
void FrmSetting::txtBlockSize_GotFocus() { SelectWholeText(txtBlockSize); }

// While the dialog closes, the focus leaving a field changes nothing any more.
void FrmSetting::txtViewTime_LostFocus() {
    if (unloading_) return;
    txtViewTime.SetText(NumericTextOnLeaving(txtViewTime.Text(), SaverSettings.Interval, kViewTimeRange));
}

void FrmSetting::txtDrawSpeed_LostFocus() {
    if (unloading_) return;
    txtDrawSpeed.SetText(NumericTextOnLeaving(txtDrawSpeed.Text(), SaverSettings.Speed, kDrawSpeedRange));
}

void FrmSetting::txtBlockSize_LostFocus() {
    if (unloading_) return;
    txtBlockSize.SetText(BlockSizeTextOnLeaving(txtBlockSize.Text(), SaverSettings.BlockSize));
}

void FrmSetting::txtPath_LostFocus() {
    if (unloading_) return;
    txtPath.SetText(PathTextOnLeaving(txtPath.Text()));
    txtPath.SetSelection(0, 0);
}

}  // namespace kpv
