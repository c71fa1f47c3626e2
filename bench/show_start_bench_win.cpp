// Times the screen saver's start, `<scr> /s` on the picture folder given, for each copy given in turn (the
// order alternating per round): until every monitor is covered by a show window, and until the first
// picture is on the screen (the primary monitor's top-left pixel shows the background colour around it;
// this includes the one-second view time before the first reveal).
// Usage: show_start_bench_win <folder> <rounds> <scr> [<scr> ...]   (run under Wine by slow_share_bench.sh)
// With KPV_BENCH_MARKERS naming the markers folder of a share (tests/harness/slow_share.py --markers, reads
// waiting), it also prints, for each start, the first picture file read: where the first picture came from.
// It writes the picture folder and the show's settings into the program's settings of the prefix it runs in.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/base/handles_win.h"
#include "median.h"
#include "scr_settings_win.h"

namespace {

using Clock = std::chrono::steady_clock;

// A background no desktop has.
constexpr COLORREF kBackground = RGB(0xF0, 0x10, 0xE0);

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

// The screen keeps what the last show drew (its background at the top left among it) until something else
// draws there: the next start must not count that as its first picture.
// The paint must have reached the screen before the next show takes its snapshot of it.
void PaintScreenBlack() {
    HDC screen = GetDC(nullptr);
    const RECT all{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    FillRect(screen, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    GdiFlush();
    for (int i = 0; i < 200 && GetPixel(screen, 0, 0) != RGB(0, 0, 0); ++i) Sleep(5);
    ReleaseDC(nullptr, screen);
}

struct StartTimes {
    double covered = -1;       // every monitor covered by a show window
    double firstPicture = -1;  // the first picture revealed
};

// Milliseconds from starting the process until every monitor shows a show window, and until the first
// picture is on the screen; negative when that never came or a message box came instead.
StartTimes TimeStart(const std::wstring& scr, int monitors) {
    bench::ClearActiveFlag();
    PaintScreenBlack();
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
    bench::EndShow(any, child.hProcess);
    return times;
}

// The markers folder of the share, if any.
std::wstring MarkersFolder() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(L"KPV_BENCH_MARKERS", folder, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(folder, n) + L"\\" : std::wstring();
}

// Calls `visit` with each read marker's name and time.
template <typename Visit>
void ForEachReadMarker(const std::wstring& markers, Visit visit) {
    WIN32_FIND_DATAW found{};
    HANDLE h = FindFirstFileW((markers + L"read-*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        visit(std::wstring(found.cFileName), found.ftLastWriteTime);
    } while (FindNextFileW(h, &found));
    FindClose(h);
}

void ClearReadMarkers(const std::wstring& markers) {
    ForEachReadMarker(markers, [&](const std::wstring& name, FILETIME) { DeleteFileW((markers + name).c_str()); });
}

// The first picture file read since the markers were cleared.
std::wstring FirstRead(const std::wstring& markers) {
    std::wstring first;
    FILETIME earliest{0xFFFFFFFF, 0xFFFFFFFF};
    ForEachReadMarker(markers, [&](const std::wstring& name, FILETIME t) {
        if (CompareFileTime(&t, &earliest) < 0) {
            earliest = t;
            first = name;
        }
    });
    return first;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: show_start_bench_win <folder> <rounds> <scr> [<scr> ...]\n");
        return 2;
    }
    const int rounds = std::max(1, _wtoi(argv[2]));
    const std::vector<std::wstring> copies(argv + 3, argv + argc);
    bench::UseShowSettings(argv[1], 32, kBackground);
    const int monitors = GetSystemMetrics(SM_CMONITORS);
    for (const std::wstring& scr : copies) TimeStart(scr, monitors);  // warm-up: caches, Wine's own start
    std::vector<std::vector<double>> covered(copies.size()), first(copies.size());
    for (int round = 0; round < rounds; ++round) {
        for (size_t turn = 0; turn < copies.size(); ++turn) {
            const size_t which = (turn + round) % copies.size();
            const std::wstring markers = MarkersFolder();
            if (!markers.empty()) ClearReadMarkers(markers);
            const StartTimes t = TimeStart(copies[which], monitors);
            if (!markers.empty())
                std::printf("first picture of %ls: %ls\n", copies[which].substr(copies[which].find_last_of(L"\\/") + 1).c_str(),
                            FirstRead(markers).c_str());
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
