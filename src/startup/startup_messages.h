#pragma once
// The messages that start-up and the picture catalogue show the user.
namespace kpv {

inline constexpr wchar_t kSettingsReadFailedMessage[] = L"設定情報の取得に失敗しました。";
inline constexpr wchar_t kNoPicturesMessage[] = L"指定されたフォルダには、表示できる画像ファイルが存在しません。";

// A preview handle that is not a number, or too large for one, is reported like any runtime error.
inline constexpr wchar_t kTypeMismatchDescription[] = L"型が一致しません。";
inline constexpr int kTypeMismatchNumber = 13;
inline constexpr wchar_t kOverflowDescription[] = L"オーバーフローしました。";
inline constexpr int kOverflowNumber = 6;

}  // namespace kpv
