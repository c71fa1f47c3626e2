// How quickly a running show answers while it prepares large photos: `<scr> /s` on the folder given (put two
// photos of 8000 x 6000 there), then for the given seconds a WM_NULL sent to the show window every 20 ms,
// each answer timed, for each copy given in turn. A show thread that waits on a decode answers late.
// Usage: responsiveness_bench_win <folder> <seconds> <scr> [<scr> ...]   (run under Wine)
// It writes the picture folder and the show's settings into the program's settings of the prefix it runs in.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/base/handles_win.h"
#include "runtime/base/text_win.h"

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

// A picture a second, revealed at once: the show spends its time preparing.
void UsePictureFolder(const std::wstring& folder) {
    const std::string ansi = kpv::rt::WideToAnsi(folder);
    WriteProgramValue(L"Settings", "Path", REG_SZ, ansi.c_str(), static_cast<DWORD>(ansi.size() + 1));
    const BYTE one[2] = {1, 0}, zero[2] = {0, 0}, block[2] = {64, 0};
    const BYTE speed[4] = {0, 0, 0, 0};
    WriteProgramValue(L"Settings", "SubFolder", REG_BINARY, zero, sizeof zero);
    WriteProgramValue(L"Settings", "Interval", REG_BINARY, one, sizeof one);
    WriteProgramValue(L"Settings", "BlockSize", REG_BINARY, block, sizeof block);
    WriteProgramValue(L"Settings", "Speed", REG_BINARY, speed, sizeof speed);
    WriteProgramValue(L"Settings", "Edit", REG_BINARY, zero, sizeof zero);
    WriteProgramValue(L"Flags", "Active", REG_BINARY, zero, sizeof zero);
}

HWND ShowWindowOf(DWORD pid) {
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

struct Answers {
    int asked = 0;
    int over100 = 0;
    int over250 = 0;
    double worstMs = 0;
};

Answers Probe(const std::wstring& scr, int seconds) {
    std::wstring command = L"\"" + scr + L"\" /s";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    Answers answers;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
        return answers;
    const kpv::rt::UniqueHandle process(child.hProcess), thread(child.hThread);
    HWND show = nullptr;
    for (int i = 0; i < 3000 && !show; ++i) {
        if (WaitForSingleObject(child.hProcess, 10) == WAIT_OBJECT_0) return answers;
        show = ShowWindowOf(child.dwProcessId);
    }
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    while (show && Clock::now() < end) {
        const auto asked = Clock::now();
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(show, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) break;
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - asked).count();
        ++answers.asked;
        answers.over100 += ms > 100 ? 1 : 0;
        answers.over250 += ms > 250 ? 1 : 0;
        answers.worstMs = std::max(answers.worstMs, ms);
        Sleep(20);
    }
    if (show) PostMessageW(show, WM_KEYDOWN, VK_SPACE, 0);
    if (WaitForSingleObject(child.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
    return answers;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: responsiveness_bench_win <folder> <seconds> <scr> [<scr> ...]\n");
        return 2;
    }
    std::wstring folder = argv[1];
    if (folder.back() != L'\\') folder += L'\\';
    const int seconds = std::max(1, _wtoi(argv[2]));
    for (int i = 3; i < argc; ++i) {
        UsePictureFolder(folder);
        const Answers a = Probe(argv[i], seconds);
        const std::wstring path = argv[i];
        std::printf("%-22ls %5d answers in %d s: worst %7.1f ms, %4d over 100 ms, %4d over 250 ms\n",
                    path.substr(path.find_last_of(L"\\/") + 1).c_str(), a.asked, seconds, a.worstMs, a.over100,
                    a.over250);
        std::fflush(stdout);
    }
    return 0;
}
