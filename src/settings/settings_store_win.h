#pragma once
// Reading and writing SaverSettings in the registry, byte for byte in the stored layout.
#include <windows.h>

namespace kpv {

// Fills SaverSettings from the Settings key, defaults for what is missing; ends the program after a
// message when the key cannot be opened.
void LoadSettings();

// Writes the nine values of SaverSettings into an open Settings key, in the stored order and formats.
// The result of each write is ignored.
void WriteSettingsValues(HKEY settingsKey);

}  // namespace kpv
