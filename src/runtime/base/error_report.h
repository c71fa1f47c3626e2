#pragma once
// How an error caught by a routine is told to the user: its description, a blank, its number in parentheses.
#include <cstdint>
#include <string>
#include <string_view>

namespace kpv::rt {

std::wstring ErrorReportText(std::wstring_view description, int64_t number);

}  // namespace kpv::rt
