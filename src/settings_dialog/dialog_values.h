#pragma once
// What OK copies from the dialog's controls into the settings record.
#include <string>

#include "settings/saver_settings.h"

namespace kpv {

inline constexpr int kNoOptionSelected = -1;

// The state of the dialog's controls as OK finds it.
struct DialogControlState {
    std::wstring pathText;
    bool subFolderTicked = false;
    std::wstring viewTimeText;
    std::wstring drawSpeedText;
    std::wstring blockSizeText;
    int backgroundOption = kNoOptionSelected;
    uint32_t swatchColour = 0;
    int editOption = kNoOptionSelected;
    int caseOption = kNoOptionSelected;
};

// The record OK stores: the fields in the order Path, SubFolder, Interval, Speed, BlockSize, BackGround,
// BackColor, Edit, Case. An empty numeric field keeps the current setting. With the random background
// selected the fixed colour is kept as it is: the show does not use it then, and the user may switch back
// to the fixed background later without having lost the colour chosen for it.
SaverSettingsRecord TakeDialogValues(const DialogControlState& controls, const SaverSettingsRecord& current);

}  // namespace kpv
