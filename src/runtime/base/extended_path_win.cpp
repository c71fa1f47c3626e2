#include "runtime/base/extended_path_win.h"

#include <windows.h>

#include "runtime/base/extended_path.h"

namespace kpv {

std::wstring FileOpenPath(const std::wstring& path) {
    if (IsLiteralFullPath(path)) return ExtendedLengthPath(path);
    std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD n = full.empty() ? 0 : GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0 || n >= full.size()) return path;
    full.resize(n);
    return ExtendedLengthPath(full);
}

}  // namespace kpv
