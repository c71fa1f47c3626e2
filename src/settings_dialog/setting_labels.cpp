#include "settings_dialog/setting_labels.h"

#include "runtime/base/numbers.h"

namespace kpv {

std::wstring VersionLabelText(uint16_t major, uint16_t minor, uint16_t revision) {
    return L"Ver." + rt::ToDecimalText(major) + L"." + rt::ToDecimalText(minor) + L"." + rt::ToDecimalText(revision);
}

std::wstring CommentLabelText(std::wstring_view legalCopyright, std::wstring_view companyName) {
    return std::wstring(legalCopyright) + L".   " + std::wstring(companyName);
}

}  // namespace kpv
