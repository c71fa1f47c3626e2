#include "settings/registry_win.h"

#include <windows.h>

#include <string>

#include "runtime/base/end_win.h"
#include "runtime/base/msgbox_win.h"
#include "runtime/base/text_win.h"
#include "runtime/base/api_result.h"
#include "settings/saver_settings.h"
#include "settings/settings_messages.h"

namespace kpv {

rt::UniqueHKey OpenProgramKey(std::wstring_view subkey) {
    const std::string path = rt::WideToAnsi(RegistryKeyBase + std::wstring(subkey));
    SECURITY_ATTRIBUTES security{};
    // The record that was 12 bytes in 32-bit builds: no descriptor, an inheritable handle.
    security.nLength = sizeof(SECURITY_ATTRIBUTES);
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = TRUE;
    HKEY key = nullptr;
    DWORD disposition = 0;
    LastApiResult = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, &security, &key, &disposition);
    if (LastApiResult != ERROR_SUCCESS) return rt::UniqueHKey();
    return rt::UniqueHKey(key);
}

rt::UniqueHKey OpenProgramKeyOrEnd(std::wstring_view subkey) {
    rt::UniqueHKey key = OpenProgramKey(subkey);
    if (!key) {
        rt::MsgBox(kSettingsReadFailedMessage);
        rt::EndProgram();
    }
    return key;
}

}  // namespace kpv
