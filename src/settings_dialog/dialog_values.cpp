#include "settings_dialog/dialog_values.h"

#include "settings_dialog/field_rules.h"

namespace kpv {

SaverSettingsRecord TakeDialogValues(const DialogControlState& c, const SaverSettingsRecord& current) {
    SaverSettingsRecord r = current;
    r.Path = c.pathText;
    r.SubFolder = c.subFolderTicked ? 1 : 0;
    r.Interval = TakeInt16Field(c.viewTimeText, current.Interval);
    r.Speed = TakeInt32Field(c.drawSpeedText, current.Speed);
    r.BlockSize = TakeInt16Field(c.blockSizeText, current.BlockSize);
    r.BackGround = c.backgroundOption == 0 ? 0 : 1;
    r.BackColor = c.backgroundOption == 0 ? current.BackColor : c.swatchColour;
    if (c.editOption != kNoOptionSelected) r.Edit = static_cast<int16_t>(c.editOption);
    r.Case = c.caseOption == 0 ? 0 : 1;
    return r;
}

}  // namespace kpv
