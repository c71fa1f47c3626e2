#pragma once
// The picture catalogue: the full paths of the pictures found, built once before a show starts and only
// read afterwards. A single empty entry 0 means that there are none.
#include <string>
#include <vector>

namespace kpv {

extern std::vector<std::wstring> PictureList;

inline constexpr wchar_t kNoPicturesMessage[] = L"指定されたフォルダには、表示できる画像ファイルが存在しません。";

}  // namespace kpv
