#pragma once
// The shell's folder browser for the picture folder. It starts at the folder chosen last (or the saved
// picture folder) and shows the full path of the current selection in its status line.
#include <windows.h>

#include <string>

namespace kpv {

// Where the next browse starts: empty at first (the saved picture folder), then the last result.
extern std::wstring LastBrowseFolder;

inline constexpr wchar_t kFolderBrowserTitle[] = L"画像フォルダを指定してください。";

// Shows the browser owned by `owner` (the settings dialog). Returns the chosen folder as a full path ending
// in "\", or an empty text when the user cancels or the chosen item is not a file-system folder.
std::wstring SelectPictureFolder(HWND owner);

// The browser's callback; `data` is the start folder as a NUL-terminated wide text. Always returns 0.
int CALLBACK FolderBrowserCallback(HWND browser, UINT msg, LPARAM lParam, LPARAM data);

}  // namespace kpv
