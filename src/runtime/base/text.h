#pragma once
// Text helpers that need no platform: width folding of Japanese full-width characters.
#include <string>
#include <string_view>

namespace kpv::rt {

// Full-width ASCII forms (U+FF01..U+FF5E) and the ideographic space become their narrow ASCII forms.
std::wstring ToNarrowWidth(std::wstring_view text);

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace kpv::rt
