#pragma once
// Which file names the show can present.
#include <string_view>

namespace kpv {

// A picture's name ends in ".BMP", ".JPG" or ".JPEG" in any letter case; nothing else about the file counts.
// A name shorter than an ending is compared as a whole, so ".bmp" alone is a picture.
bool IsPictureName(std::wstring_view name);

}  // namespace kpv
