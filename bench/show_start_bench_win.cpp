// Times the screen saver's start to its show window: `<scr> /s` until the process shows its first window,
// for each copy given in turn (the order alternating per round), on the picture folder given.
// Usage: show_start_bench_win <folder> <rounds> <scr> [<scr> ...]   (run under Wine by slow_share_bench.sh)
// It writes the picture folder into the program's settings of the prefix it runs in.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/base/handles_win.h"
#include "median.h"

namespace {

using Clock = std::chrono::steady_clock;

void WriteProgramValue(const wchar_t* sub, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(L"Software\\Tarnel Software\\KPV\\") + sub;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void UsePictureFolder(const std::wstring& folder) {
    std::string ansi(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, folder.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_ACP, 0, folder.c_str(), -1, ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr);
    WriteProgramValue(L"Settings", "Path", REG_SZ, ansi.c_str(), static_cast<DWORD>(ansi.size()));
    const BYTE one[2] = {1, 0};
    WriteProgramValue(L"Settings", "SubFolder", REG_BINARY, one, sizeof one);
}

// A run that had to be killed leaves its flag set, and the next would refuse to start.
void ClearActiveFlag() {
    const BYTE zero[2] = {0, 0};
    WriteProgramValue(L"Flags", "Active", REG_BINARY, zero, sizeof zero);
}

HWND VisibleWindowOf(DWORD pid) {
    struct Search {
        DWORD pid;
        HWND found;
    } search{pid, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner != s->pid || !IsWindowVisible(w)) return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Milliseconds from starting the process to its first visible window; negative when there was none or it was
// a message box rather than the show.
double StartToShowMs(const std::wstring& scr) {
    ClearActiveFlag();
    std::wstring command = L"\"" + scr + L"\" /s";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const auto start = Clock::now();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
        return -1;
    const kpv::rt::UniqueHandle process(child.hProcess), thread(child.hThread);
    HWND shown = nullptr;
    while ((shown = VisibleWindowOf(child.dwProcessId)) == nullptr) {
        if (WaitForSingleObject(child.hProcess, 1) == WAIT_OBJECT_0) return -1;
        if (Clock::now() - start > std::chrono::minutes(2)) break;
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    wchar_t windowClass[64] = {};
    GetClassNameW(shown, windowClass, 64);
    const bool isShow = shown != nullptr && std::wstring(windowClass) != L"#32770";
    if (shown) PostMessageW(shown, WM_KEYDOWN, VK_SPACE, 0);  // a key ends the show as a user would
    if (WaitForSingleObject(child.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(child.hProcess, 1);
        WaitForSingleObject(child.hProcess, 5000);
        ClearActiveFlag();
    }
    return isShow ? ms : -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: show_start_bench_win <folder> <rounds> <scr> [<scr> ...]\n");
        return 2;
    }
    std::wstring folder = argv[1];
    if (folder.back() != L'\\') folder += L'\\';
    const int rounds = std::max(1, _wtoi(argv[2]));
    const std::vector<std::wstring> copies(argv + 3, argv + argc);
    UsePictureFolder(folder);
    for (const std::wstring& scr : copies) StartToShowMs(scr);  // warm-up: caches, Wine's own start
    std::vector<std::vector<double>> times(copies.size());
    for (int round = 0; round < rounds; ++round) {
        for (size_t turn = 0; turn < copies.size(); ++turn) {
            const size_t which = (turn + round) % copies.size();
            const double ms = StartToShowMs(copies[which]);
            if (ms < 0) {
                std::fwprintf(stderr, L"%ls: no show window\n", copies[which].c_str());
                return 1;
            }
            times[which].push_back(ms);
        }
    }
    for (size_t i = 0; i < copies.size(); ++i) {
        const std::wstring& path = copies[i];
        const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
        std::printf("%-22ls start -> show window  median %8.1f ms  (min %8.1f, %d rounds)\n", name.c_str(),
                    Median(times[i]), *std::min_element(times[i].begin(), times[i].end()), rounds);
    }
    return 0;
}
