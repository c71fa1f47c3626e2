#pragma once
// The message shown when the program's registry key cannot be opened or created.
namespace kpv {

inline constexpr wchar_t kSettingsReadFailedMessage[] = L"設定情報の取得に失敗しました。";

}  // namespace kpv
