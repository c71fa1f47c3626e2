#include "runtime/base/extended_path.h"

#include <algorithm>

namespace kpv {

std::wstring ExtendedLengthPath(std::wstring_view fullPath) {
    if (fullPath.starts_with(L"\\\\?\\") || fullPath.starts_with(L"\\\\.\\") || fullPath.starts_with(L"\\??\\"))
        return std::wstring(fullPath);
    if (fullPath.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + std::wstring(fullPath.substr(2));
    return L"\\\\?\\" + std::wstring(fullPath);
}

std::wstring DirectoryOpenPath(std::wstring_view folder) {
    std::wstring path(folder);
    if (path.size() >= 2 && path.back() == L'\\' && path[path.size() - 2] != L':') path.pop_back();
    return path;
}

bool IsLiteralFullPath(std::wstring_view path) {
    if (path.starts_with(L"\\\\?\\")) return true;
    size_t first = 0;  // where the first name starts
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\' && (path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z')
        first = 3;
    else if (path.starts_with(L"\\\\") && !path.starts_with(L"\\\\.\\"))
        first = 2;
    else
        return false;
    if (path.find(L'/') != std::wstring_view::npos) return false;
    for (size_t start = first; start <= path.size();) {
        const size_t end = std::min(path.find(L'\\', start), path.size());
        if (end == start || path[end - 1] == L'.' || path[end - 1] == L' ') return false;
        start = end + 1;
    }
    return true;
}

}  // namespace kpv
