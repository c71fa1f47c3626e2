#pragma once
// Preparing test folders from the host side when running under Wine: what a Windows process cannot do there
// (real folder links) or does slowly (tens of thousands of files in one folder, where every new name is first
// looked up case-insensitively). Elsewhere the same helpers use the Windows calls.
#include <windows.h>

#include <functional>
#include <string>

#include "driver/driver_win.h"

namespace kpv::test {

using HostNameFunction = char*(CDECL*)(const wchar_t*);

inline HostNameFunction HostNameConverter() {
    return reinterpret_cast<HostNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
}

inline bool UnderWine() { return HostNameConverter() != nullptr; }

// The host path of an existing Windows path, as wide text; empty when there is none.
inline std::wstring HostPath(const std::wstring& windowsPath) {
    const HostNameFunction convert = HostNameConverter();
    if (!convert) return {};
    char* host = convert(windowsPath.c_str());
    if (!host) return {};
    std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, host, -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, host, -1, wide.data(), static_cast<int>(wide.size()));
    HeapFree(GetProcessHeap(), 0, host);
    if (!wide.empty()) wide.pop_back();
    return wide;
}

// Host processes started from Wine give no handle to wait on: wait for what they make instead.
inline bool RunHostShell(const std::wstring& script, const std::function<bool()>& done, int timeoutMs = 60000) {
    std::wstring command = L"/bin/sh -c \"" + script + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    return PollUntil(done, timeoutMs);
}

inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A link `link` (a new name in an existing folder) to the folder `target`.
inline bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
    if (!UnderWine()) return CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) != 0;
    const size_t slash = link.find_last_of(L'\\');
    const std::wstring hostLink = HostPath(link.substr(0, slash)) + L"/" + link.substr(slash + 1);
    return RunHostShell(L"ln -s '" + HostPath(target) + L"' '" + hostLink + L"'", [&] { return Exists(link); });
}

// `count` empty files named <prefix><n><suffix> in an existing folder.
inline bool MakeEmptyFiles(const std::wstring& folder, const std::wstring& prefix, int count, const std::wstring& suffix) {
    if (!UnderWine()) {
        for (int i = 0; i < count; ++i) {
            HANDLE h = CreateFileW((folder + L"\\" + prefix + std::to_wstring(i) + suffix).c_str(), GENERIC_WRITE, 0,
                                   nullptr, CREATE_ALWAYS, 0, nullptr);
            if (h == INVALID_HANDLE_VALUE) return false;
            CloseHandle(h);
        }
        return true;
    }
    const std::wstring last = folder + L"\\" + prefix + std::to_wstring(count - 1) + suffix;
    return RunHostShell(L"cd '" + HostPath(folder) + L"' && i=0 && while [ $i -lt " + std::to_wstring(count) +
                            L" ]; do : > " + prefix + L"$i" + suffix + L"; i=$((i+1)); done",
                        [&] { return Exists(last); }, 120000);
}

}  // namespace kpv::test
