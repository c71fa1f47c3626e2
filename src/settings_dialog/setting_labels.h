#pragma once
// The two information lines at the foot of the dialog.
#include <cstdint>
#include <string>
#include <string_view>

namespace kpv {

// "Ver." and the version numbers joined by "." without leading zeros: 1, 1, 7 reads "Ver.1.1.7".
std::wstring VersionLabelText(uint16_t major, uint16_t minor, uint16_t revision);

// The legal-notice line, ".   " and the company name.
std::wstring CommentLabelText(std::wstring_view legalCopyright, std::wstring_view companyName);

}  // namespace kpv
