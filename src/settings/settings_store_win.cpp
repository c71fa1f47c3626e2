#include "settings/settings_store_win.h"

#include <array>
#include <optional>
#include <string>

#include "runtime/base/app_info_win.h"
#include "runtime/base/text_win.h"
#include "runtime/base/api_result.h"
#include "settings/saver_settings.h"
#include "settings/registry_win.h"
#include "settings/settings_layout.h"

namespace kpv {

namespace {

// The stored "Path" text, or nothing when it cannot be read (missing, longer than the announced size, ...).
std::optional<std::wstring> ReadStoredPath(HKEY key) {
    std::array<char, kPathBufferBytes> buffer{};
    DWORD type = REG_SZ;
    DWORD size = kPathAnnouncedBytes;
    LastApiResult = RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (LastApiResult != ERROR_SUCCESS) return std::nullopt;
    // The whole buffer: whatever the value held, the zero fill behind it ends the text.
    return rt::AnsiToWide(std::string_view(buffer.data(), buffer.size()));
}

// Reads a value's bytes into the field's low-order bytes; the stored type is not looked at, and data longer
// than the field is refused by the platform, which gives the default.
template <typename Field>
void ReadNumber(HKEY key, const char* name, Field& field, Field defaultValue) {
    std::array<uint8_t, sizeof(Field)> bytes{};
    DWORD type = REG_BINARY;
    DWORD size = sizeof(Field);
    LastApiResult = RegQueryValueExA(key, name, nullptr, &type, bytes.data(), &size);
    if (LastApiResult != ERROR_SUCCESS) {
        field = defaultValue;
        return;
    }
    FillLowOrderBytes(field, std::span<const uint8_t>(bytes.data(), size < bytes.size() ? size : bytes.size()));
}

template <typename Field>
void WriteNumber(HKEY key, const char* name, Field value) {
    const auto bytes = LittleEndianBytes(value);
    LastApiResult = RegSetValueExA(key, name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

}  // namespace

void LoadSettings() {
    const rt::UniqueHKey key = OpenProgramKeyOrEnd(L"Settings");
    // The program's folder is taken as wide text: a folder outside the ANSI code page stays usable.
    SaverSettings.Path = PictureFolderFrom(ReadStoredPath(key.get()), rt::AppPath());
    ReadNumber<int16_t>(key.get(), "SubFolder", SaverSettings.SubFolder, 1);
    ReadNumber<int16_t>(key.get(), "Interval", SaverSettings.Interval, 1);
    ReadNumber<int16_t>(key.get(), "BlockSize", SaverSettings.BlockSize, 32);
    ReadNumber<int32_t>(key.get(), "Speed", SaverSettings.Speed, 0);
    ReadNumber<int16_t>(key.get(), "BackGround", SaverSettings.BackGround, 0);
    ReadNumber<uint32_t>(key.get(), "BackColor", SaverSettings.BackColor, 0x00808080);
    ReadNumber<int16_t>(key.get(), "Edit", SaverSettings.Edit, 0);
    ReadNumber<int16_t>(key.get(), "Case", SaverSettings.Case, 1);
}

void WriteSettingsValues(HKEY settingsKey) {
    const std::string path = rt::WideToAnsi(SaverSettings.Path);
    LastApiResult = RegSetValueExA(settingsKey, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                                   static_cast<DWORD>(path.size() + 1));
    WriteNumber(settingsKey, "SubFolder", SaverSettings.SubFolder);
    WriteNumber(settingsKey, "Interval", SaverSettings.Interval);
    WriteNumber(settingsKey, "Speed", SaverSettings.Speed);
    WriteNumber(settingsKey, "BlockSize", SaverSettings.BlockSize);
    WriteNumber(settingsKey, "BackGround", SaverSettings.BackGround);
    WriteNumber(settingsKey, "BackColor", SaverSettings.BackColor);
    WriteNumber(settingsKey, "Edit", SaverSettings.Edit);
    WriteNumber(settingsKey, "Case", SaverSettings.Case);
}

}  // namespace kpv
