#include "runtime/base/extended_path.h"

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

}  // namespace kpv
