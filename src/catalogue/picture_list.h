#pragma once
// The picture catalogue as a show reads it: the full paths of the pictures found, built once per start and
// only read afterwards. A single empty entry 0 means that there are none.
namespace kpv {

inline constexpr wchar_t kNoPicturesMessage[] = L"指定されたフォルダには、表示できる画像ファイルが存在しません。";

}  // namespace kpv
