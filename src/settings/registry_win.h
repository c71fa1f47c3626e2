#pragma once
// Opening the program's registry keys, the one way every reader and writer does it.
#include <string_view>

#include "runtime/base/handles_win.h"

namespace kpv {

// RegCreateKeyExA on HKEY_CURRENT_USER\<RegistryKeyBase><subkey>, created when missing, all access,
// an inheritable handle. The result goes to LastApiResult; an empty owner means failure.
rt::UniqueHKey OpenProgramKey(std::wstring_view subkey);

// OpenProgramKey for the readers and the flag writers: when the key cannot be opened, the message
// "設定情報の取得に失敗しました。" and the program ends at once.
rt::UniqueHKey OpenProgramKeyOrEnd(std::wstring_view subkey);

}  // namespace kpv
