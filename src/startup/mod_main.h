#pragma once
// Program-wide state. Everything runs on the one user-interface thread, so these are plain variables.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "show/block_grid.h"
#include "startup/saver_settings.h"

namespace kpv {

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

extern SaverSettingsRecord SaverSettings;
extern std::wstring RegistryKeyBase;          // "Software\Tarnel Software\KPV\"
extern std::wstring RunMode;                  // "S" show, "P" preview, empty: settings
extern int32_t PreviewParent;                 // preview host window (32-bit handle value)
extern int32_t LastApiResult;
extern std::vector<std::wstring> PictureList; // full paths; a single empty entry 0 means none
extern BlockGridRecord BlockGrid;
extern int16_t TransitionNumber;
extern ScreenPoint MouseReference;
extern std::wstring LastBrowseFolder;
extern std::array<uint32_t, 16> CustomColors;

}  // namespace kpv
