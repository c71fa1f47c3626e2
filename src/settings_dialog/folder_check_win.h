#pragma once
// Whether the picture folder typed or chosen in the dialog exists, and whether it can be stored: the
// folder goes to the registry as text in the system's ANSI code page, and the loader reads at most 260
// bytes of it back.
#include <optional>
#include <string>

namespace kpv {

// True when the text names an existing folder, with or without its final "\"; a drive root counts. A plain
// file, a wildcard pattern or an empty text does not.
bool FolderExists(const std::wstring& path);

// The text to store for an existing folder: the text itself when it survives the trip through the ANSI
// code page and fits in 260 bytes there, otherwise the folder's short (8.3) form when that does; nothing
// when neither does (storing it would lose the folder).
std::optional<std::wstring> StorableFolderText(const std::wstring& path);

}  // namespace kpv
