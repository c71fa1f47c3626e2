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
#include "scr_settings_win.h"

namespace {

using Clock = std::chrono::steady_clock;

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
    bench::EndShow(show, child.hProcess);
    return answers;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: responsiveness_bench_win <folder> <seconds> <scr> [<scr> ...]\n");
        return 2;
    }
    const int seconds = std::max(1, _wtoi(argv[2]));
    for (int i = 3; i < argc; ++i) {
        bench::UseShowSettings(argv[1], 64, RGB(0x20, 0x20, 0x20));
        const Answers a = Probe(argv[i], seconds);
        const std::wstring path = argv[i];
        std::printf("%-22ls %5d answers in %d s: worst %7.1f ms, %4d over 100 ms, %4d over 250 ms\n",
                    path.substr(path.find_last_of(L"\\/") + 1).c_str(), a.asked, seconds, a.worstMs, a.over100,
                    a.over250);
        std::fflush(stdout);
    }
    return 0;
}
