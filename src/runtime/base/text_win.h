#pragma once
// Conversions between the program's wide text and the system's ANSI code page.
#include <string>
#include <string_view>

namespace kpv::rt {

std::string WideToAnsi(std::wstring_view wide);  // unmappable characters become the code page's default
std::wstring AnsiToWide(std::string_view ansi);

}  // namespace kpv::rt
