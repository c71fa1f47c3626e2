#pragma once
// The in-memory settings record: one field per registry value, each exactly the width of its value.
#include <cstdint>
#include <string>

namespace kpv {

struct SaverSettingsRecord {
    std::wstring Path;       // picture folder, ends with "\" after loading
    int16_t SubFolder = 0;   // 1: descend into subfolders
    int16_t Interval = 0;    // view time, seconds
    int16_t BlockSize = 0;   // block edge, pixels
    int32_t Speed = 0;       // message-loop passes before each block, minus one
    int16_t BackGround = 0;  // 0: random background colour, else BackColor
    uint32_t BackColor = 0;  // 0x00BBGGRR, or a system-colour reference (high bit set)
    int16_t Edit = 0;        // 0 none, 1 monochrome, 2 sepia, 3 random
    int16_t Case = 0;        // 0 always, 1 sometimes
};

// The program's settings: loaded once at start, edited only by the settings dialog. A show reads them and
// never writes them.
extern SaverSettingsRecord SaverSettings;

// "Software\Tarnel Software\KPV\" under HKEY_CURRENT_USER; a subkey name is appended directly.
extern std::wstring RegistryKeyBase;

}  // namespace kpv
