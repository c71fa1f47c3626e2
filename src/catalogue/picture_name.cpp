#include "catalogue/picture_name.h"

namespace kpv {

namespace {

wchar_t UpperAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// The endings are plain ASCII, so folding ASCII letters is all the upper-casing they need.
bool EndsWithUpper(std::wstring_view name, std::wstring_view ending) {
    if (name.size() < ending.size()) return false;
    const std::wstring_view tail = name.substr(name.size() - ending.size());
    for (size_t i = 0; i < ending.size(); ++i)
        if (UpperAscii(tail[i]) != ending[i]) return false;
    return true;
}

}  // namespace

bool IsPictureName(std::wstring_view name) {
    return EndsWithUpper(name, L".BMP") || EndsWithUpper(name, L".JPG") || EndsWithUpper(name, L".JPEG");
}

}  // namespace kpv
