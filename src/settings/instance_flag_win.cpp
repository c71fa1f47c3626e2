#include "settings/instance_flag_win.h"

#include <windows.h>

#include <array>

#include "runtime/base/app_info_win.h"
#include "runtime/base/end_win.h"
#include "runtime/base/api_result.h"
#include "settings/registry_win.h"
#include "settings/settings_layout.h"

namespace kpv {

namespace {

// Any failure (missing, longer than 2 bytes, ...) counts as not set.
int16_t ReadActiveFlag(HKEY flags) {
    std::array<uint8_t, 2> bytes{};
    DWORD type = REG_BINARY;
    DWORD size = sizeof(int16_t);
    LastApiResult = RegQueryValueExA(flags, "Active", nullptr, &type, bytes.data(), &size);
    if (LastApiResult != ERROR_SUCCESS) return 0;
    int16_t flag = 0;
    FillLowOrderBytes(flag, std::span<const uint8_t>(bytes.data(), size < bytes.size() ? size : bytes.size()));
    return flag;
}

void WriteActiveFlag(int16_t value) {
    const rt::UniqueHKey flags = OpenProgramKeyOrEnd(L"Flags");
    const auto bytes = LittleEndianBytes(value);
    LastApiResult = RegSetValueExA(flags.get(), "Active", 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

}  // namespace

void PassInstanceGuard() {
    int16_t flag = 0;
    {
        const rt::UniqueHKey flags = OpenProgramKeyOrEnd(L"Flags");
        flag = ReadActiveFlag(flags.get());
    }
    // Asked on every start, not only when the flag is set: the question also registers this copy, so that
    // a later start sees it running.
    const bool anotherCopyRuns = rt::AppPrevInstance();
    if (anotherCopyRuns && flag != 0) rt::EndProgram();
    WriteActiveFlag(1);
}

void ClearActiveFlag() { WriteActiveFlag(0); }

}  // namespace kpv
