#include "settings_dialog/folder_check_win.h"

#include <windows.h>

#include "runtime/base/text_win.h"

namespace kpv {

namespace {

constexpr size_t kLongestStoredPathBytes = 260;

bool SurvivesAnsi(const std::wstring& text) {
    if (text.empty()) return true;
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                                      0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return false;
    return rt::AnsiToWide(rt::WideToAnsi(text)) == text;
}

bool Storable(const std::wstring& text) {
    return SurvivesAnsi(text) && rt::WideToAnsi(text).size() <= kLongestStoredPathBytes;
}

std::wstring ShortForm(const std::wstring& path) {
    const DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) return {};
    std::wstring out(n, L'\0');
    const DWORD got = GetShortPathNameW(path.c_str(), out.data(), n);
    if (got == 0 || got >= n) return {};
    out.resize(got);
    return out;
}

}  // namespace

bool FolderExists(const std::wstring& path) {
    if (path.empty() || path.find_first_of(L"*?") != std::wstring::npos) return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::wstring> StorableFolderText(const std::wstring& path) {
    if (Storable(path)) return path;
    std::wstring shortForm = ShortForm(path);
    if (shortForm.empty()) return std::nullopt;
    // Keep the text's own ending: with or without the final "\".
    const bool wantsSlash = !path.empty() && path.back() == L'\\';
    if (wantsSlash && shortForm.back() != L'\\') shortForm += L'\\';
    if (!wantsSlash && shortForm.size() > 3 && shortForm.back() == L'\\') shortForm.pop_back();
    if (Storable(shortForm)) return shortForm;
    return std::nullopt;
}

}  // namespace kpv
