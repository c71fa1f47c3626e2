#pragma once
// The name a file is opened by, at any length.
#include <string>

namespace kpv {

// The extended-length form of path: as it stands when it is literal (IsLiteralFullPath), else made full by
// the system first. The path itself when the system cannot make it full.
std::wstring FileOpenPath(const std::wstring& path);

}  // namespace kpv
