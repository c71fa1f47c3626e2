#pragma once
// A scratch folder of the test data area holding only plain files that the test itself writes: emptied
// file by file and made again, so nothing running beside the test can remove it after it was filled.
#include <windows.h>

#include <string>

#include "driver/driver_win.h"

namespace kpv::test {

inline std::wstring FreshFolder(const std::wstring& name) {
    const std::wstring folder = TestDataDir() + L"\\" + name;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(h, &found));
        FindClose(h);
    }
    MakeDirectory(folder);
    return folder;
}

}  // namespace kpv::test
