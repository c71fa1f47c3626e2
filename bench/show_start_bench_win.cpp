// Times the screen saver's start, `<scr> /s` on the picture folder given, for each copy given in turn (the
// order alternating per round): until every monitor is covered by a show window, and until the first
// picture is on the screen (the primary monitor's top-left pixel shows the background colour around it;
// this includes the one-second view time before the first reveal).
// Usage: show_start_bench_win <folder> <rounds> <scr> [<scr> ...]   (run under Wine by slow_share_bench.sh)
// It writes the picture folder and the show's settings into the program's settings of the prefix it runs in.
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

// A background no desktop has, a view time of a second, no pause between blocks, no colour effect.
constexpr COLORREF kBackground = RGB(0xF0, 0x10, 0xE0);

void UsePictureFolder(const std::wstring& folder) {
    std::string ansi(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, folder.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_ACP, 0, folder.c_str(), -1, ansi.data(), static_cast<int>(ansi.size()), nullptr, nullptr);
    WriteProgramValue(L"Settings", "Path", REG_SZ, ansi.c_str(), static_cast<DWORD>(ansi.size()));
    const BYTE one[2] = {1, 0}, zero[2] = {0, 0}, block[2] = {32, 0};
    const BYTE speed[4] = {0, 0, 0, 0};
    const DWORD back = kBackground;
    WriteProgramValue(L"Settings", "SubFolder", REG_BINARY, one, sizeof one);
    WriteProgramValue(L"Settings", "Interval", REG_BINARY, one, sizeof one);
    WriteProgramValue(L"Settings", "BlockSize", REG_BINARY, block, sizeof block);
    WriteProgramValue(L"Settings", "Speed", REG_BINARY, speed, sizeof speed);
    WriteProgramValue(L"Settings", "BackGround", REG_BINARY, one, sizeof one);
    WriteProgramValue(L"Settings", "BackColor", REG_BINARY, &back, sizeof back);
    WriteProgramValue(L"Settings", "Edit", REG_BINARY, zero, sizeof zero);
    WriteProgramValue(L"Settings", "Case", REG_BINARY, zero, sizeof zero);
}

// A run that had to be killed leaves its flag set, and the next would refuse to start.
void ClearActiveFlag() {
    const BYTE zero[2] = {0, 0};
    WriteProgramValue(L"Flags", "Active", REG_BINARY, zero, sizeof zero);
}

// The process's visible windows, and whether one of them is a message box.
struct Windows {
    int shows = 0;
    bool messageBox = false;
    HWND any = nullptr;
};

Windows VisibleWindowsOf(DWORD pid) {
    struct Search {
        DWORD pid;
        Windows found;
    } search{pid, {}};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner != s->pid || !IsWindowVisible(w)) return TRUE;
            wchar_t windowClass[64] = {};
            GetClassNameW(w, windowClass, 64);
            if (std::wstring(windowClass) == L"#32770") s->found.messageBox = true;
            else ++s->found.shows;
            s->found.any = w;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool BackgroundAtTopLeft() {
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, 0, 0);
    ReleaseDC(nullptr, screen);
    return pixel == kBackground;
}

struct StartTimes {
    double covered = -1;       // every monitor covered by a show window
    double firstPicture = -1;  // the first picture revealed
};

// Milliseconds from starting the process until every monitor shows a show window, and until the first
// picture is on the screen; negative when that never came or a message box came instead.
StartTimes TimeStart(const std::wstring& scr, int monitors) {
    ClearActiveFlag();
    std::wstring command = L"\"" + scr + L"\" /s";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    const auto start = Clock::now();
    const auto since = [&] { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); };
    StartTimes times;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
        return times;
    const kpv::rt::UniqueHandle process(child.hProcess), thread(child.hThread);
    HWND any = nullptr;
    while (times.firstPicture < 0 && Clock::now() - start < std::chrono::minutes(2)) {
        if (WaitForSingleObject(child.hProcess, 1) == WAIT_OBJECT_0) break;
        const Windows windows = VisibleWindowsOf(child.dwProcessId);
        if (windows.messageBox) break;
        any = windows.any ? windows.any : any;
        if (times.covered < 0 && windows.shows >= monitors) times.covered = since();
        if (times.covered >= 0 && BackgroundAtTopLeft()) times.firstPicture = since();
    }
    if (any) PostMessageW(any, WM_KEYDOWN, VK_SPACE, 0);  // a key ends the show as a user would
    if (WaitForSingleObject(child.hProcess, 20000) != WAIT_OBJECT_0) {
        TerminateProcess(child.hProcess, 1);
        WaitForSingleObject(child.hProcess, 5000);
        ClearActiveFlag();
    }
    return times;
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
    const int monitors = GetSystemMetrics(SM_CMONITORS);
    for (const std::wstring& scr : copies) TimeStart(scr, monitors);  // warm-up: caches, Wine's own start
    std::vector<std::vector<double>> covered(copies.size()), first(copies.size());
    for (int round = 0; round < rounds; ++round) {
        for (size_t turn = 0; turn < copies.size(); ++turn) {
            const size_t which = (turn + round) % copies.size();
            const StartTimes t = TimeStart(copies[which], monitors);
            if (t.covered < 0 || t.firstPicture < 0) {
                std::fwprintf(stderr, L"%ls: no show, or no picture on it\n", copies[which].c_str());
                return 1;
            }
            covered[which].push_back(t.covered);
            first[which].push_back(t.firstPicture);
        }
    }
    for (size_t i = 0; i < copies.size(); ++i) {
        const std::wstring& path = copies[i];
        const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
        std::printf("%-22ls start -> %d monitor(s) covered  median %8.1f ms (min %8.1f);  -> first picture  median "
                    "%8.1f ms (min %8.1f); %d rounds\n",
                    name.c_str(), monitors, Median(covered[i]), *std::min_element(covered[i].begin(), covered[i].end()),
                    Median(first[i]), *std::min_element(first[i].begin(), first[i].end()), rounds);
    }
    return 0;
}
