#pragma once
// What the benchmarks that start KPV.scr share: the show's settings written into the prefix they run in,
// and the end of a started show, as a user's key would end it.
#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/base/text_win.h"

namespace bench {

inline void WriteProgramValue(const wchar_t* sub, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(L"Software\\Tarnel Software\\KPV\\") + sub;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

// A run that had to be killed leaves its flag set, and the next would refuse to start.
inline void ClearActiveFlag() {
    const int16_t zero = 0;
    WriteProgramValue(L"Flags", "Active", REG_BINARY, &zero, sizeof zero);
}

// The folder (with its subfolders), a picture a second, no pause between blocks, a fixed background, no
// colour effect.
inline void UseShowSettings(std::wstring folder, int16_t blockSize, COLORREF background) {
    if (folder.back() != L'\\') folder += L'\\';
    const std::string ansi = kpv::rt::WideToAnsi(folder);
    WriteProgramValue(L"Settings", "Path", REG_SZ, ansi.c_str(), static_cast<DWORD>(ansi.size() + 1));
    const int16_t one = 1, zero = 0;
    const int32_t speed = 0;
    WriteProgramValue(L"Settings", "SubFolder", REG_BINARY, &one, sizeof one);
    WriteProgramValue(L"Settings", "Interval", REG_BINARY, &one, sizeof one);
    WriteProgramValue(L"Settings", "BlockSize", REG_BINARY, &blockSize, sizeof blockSize);
    WriteProgramValue(L"Settings", "Speed", REG_BINARY, &speed, sizeof speed);
    WriteProgramValue(L"Settings", "BackGround", REG_BINARY, &one, sizeof one);
    WriteProgramValue(L"Settings", "BackColor", REG_BINARY, &background, sizeof background);
    WriteProgramValue(L"Settings", "Edit", REG_BINARY, &zero, sizeof zero);
    WriteProgramValue(L"Settings", "Case", REG_BINARY, &zero, sizeof zero);
    ClearActiveFlag();
}

// A key to the show's window ends it as a user would; a show that does not end is killed.
inline void EndShow(HWND window, HANDLE process) {
    if (window) PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
    if (WaitForSingleObject(process, 20000) == WAIT_OBJECT_0) return;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    ClearActiveFlag();
}

}  // namespace bench
