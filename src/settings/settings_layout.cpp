#include "settings/settings_layout.h"

namespace kpv {

std::wstring TextBeforeFirstNul(std::wstring_view text) {
    return std::wstring(text.substr(0, text.find(L'\0')));
}

std::wstring PictureFolderFrom(const std::optional<std::wstring>& storedText, std::wstring_view exeFolder) {
    std::wstring folder = storedText ? TextBeforeFirstNul(*storedText) : std::wstring(exeFolder);
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    return folder;
}

}  // namespace kpv
