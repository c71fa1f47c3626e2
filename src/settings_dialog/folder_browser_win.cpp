#include "settings_dialog/folder_browser_win.h"

#include <shlobj.h>

#include "runtime/base/guarded_win.h"
#include "runtime/base/handles_win.h"
#include "settings/saver_settings.h"

namespace kpv {

std::wstring LastBrowseFolder;

namespace {

constexpr size_t kStatusPathChars = 1024;

std::wstring PathOf(PCIDLIST_ABSOLUTE item, size_t capacity) {
    // SHGetPathFromIDListW writes at most MAX_PATH characters; a larger buffer is fine.
    std::wstring buffer(capacity < MAX_PATH ? MAX_PATH : capacity, L'\0');
    if (!item || !SHGetPathFromIDListW(item, buffer.data())) return {};
    buffer.resize(buffer.find(L'\0'));
    return buffer;
}

void FolderBrowserMessage(HWND browser, UINT msg, LPARAM lParam, LPARAM data) {
    switch (msg) {
        case BFFM_INITIALIZED:
            // Wine passes over the first request for a folder made since its last look at the disk; asking
            // a second time selects it. On Windows the repeat is harmless.
            SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
            SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
            break;
        case BFFM_SELCHANGED: {
            const std::wstring path = PathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), kStatusPathChars);
            SendMessageW(browser, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path.c_str()));
            break;
        }
        default:
            break;
    }
}

}  // namespace

int CALLBACK FolderBrowserCallback(HWND browser, UINT msg, LPARAM lParam, LPARAM data) {
    rt::RunGuarded([&] { FolderBrowserMessage(browser, msg, lParam, data); });
    return 0;
}

std::wstring SelectPictureFolder(HWND owner) {
    if (LastBrowseFolder.empty()) LastBrowseFolder = SaverSettings.Path;
    const std::wstring start = LastBrowseFolder;

    rt::ComApartment com;
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW request{};
    request.hwndOwner = owner;
    request.pidlRoot = nullptr;
    request.pszDisplayName = displayName;
    request.lpszTitle = kFolderBrowserTitle;
    request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    request.lpfn = FolderBrowserCallback;
    request.lParam = reinterpret_cast<LPARAM>(start.c_str());
    request.iImage = 0;

    const rt::UniqueCoTaskMem item(SHBrowseForFolderW(&request));
    if (!item) return {};

    std::wstring result = PathOf(static_cast<PCIDLIST_ABSOLUTE>(item.get()), MAX_PATH);
    if (!result.empty() && result.back() != L'\\') result += L'\\';
    LastBrowseFolder = result;  // an empty one too: the next browse starts at the saved folder again
    return result;
}

}  // namespace kpv
