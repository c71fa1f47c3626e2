#include "settings/saver_settings.h"

namespace kpv {

SaverSettingsRecord SaverSettings;
std::wstring RegistryKeyBase;

}  // namespace kpv
