#include "startup/mod_main.h"

namespace kpv {

SaverSettingsRecord SaverSettings;
std::wstring RegistryKeyBase;
std::wstring RunMode;
int32_t PreviewParent = 0;
int32_t LastApiResult = 0;
std::vector<std::wstring> PictureList;
BlockGridRecord BlockGrid;
int16_t TransitionNumber = 0;
ScreenPoint MouseReference;
std::wstring LastBrowseFolder;
std::array<uint32_t, 16> CustomColors{};

}  // namespace kpv
