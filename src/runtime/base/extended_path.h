#pragma once
// Paths for opening files and folders at any depth: the extended-length form lifts the 260-character limit.
#include <string>
#include <string_view>

namespace kpv {

// The extended-length form of a full path: "C:\a\" -> "\\?\C:\a\", "\\srv\share\" -> "\\?\UNC\srv\share\".
// A path already in a device or extended form is returned unchanged.
std::wstring ExtendedLengthPath(std::wstring_view fullPath);

// The form a folder is opened by: without its trailing backslash, except at a drive's root ("\\?\C:\"),
// where dropping it would name the volume instead of its root folder.
std::wstring DirectoryOpenPath(std::wstring_view folder);

// Whether a path may take the extended-length form as it stands: a drive or UNC path (or one already in that
// form) without "/", empty, "." or ".." names or names ending in a dot or space, which only the plain form
// rewrites. Other paths are made full first. A device name ("aux.bmp") counts as literal: it names a file.
bool IsLiteralFullPath(std::wstring_view path);

}  // namespace kpv
