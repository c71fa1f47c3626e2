// What one stuck file, or input at any moment, does to a run of KPV.scr (run under Wine by run_end_bench.sh,
// which makes the pictures and the share):
//   run_end_bench_win changes <scr> <folder> <seconds> [<marker>]
//     picture changes per minute at Interval 1 on solid full-screen pictures; with a marker (a file the
//     share makes when the never-answering file is first read), counted from 10 s after it appears, when
//     the stuck preparation has been given up.
//   run_end_bench_win end <scr> <folder> <tries> <wait-ms> [<marker>]
//     milliseconds from a key to the process gone: the key comes <wait-ms> after the show window is up, or
//     once the marker appears (a worker then waits in a read that never returns).
// It writes the show's settings into the prefix it runs in.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "median.h"
#include "runtime/base/handles_win.h"
#include "scr_settings_win.h"
#include "support/driver_win.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

struct Started {
    kpv::rt::UniqueHandle process;
    DWORD pid = 0;
    HWND window = nullptr;
};

Started StartShow(const std::wstring& scr) {
    bench::ClearActiveFlag();
    std::wstring command = L"\"" + scr + L"\" /s";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    Started s;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child)) return s;
    CloseHandle(child.hThread);
    s.process.reset(child.hProcess);
    s.pid = child.dwProcessId;
    s.window = kpv::test::WaitForWindow(s.pid, [](HWND w) { return IsWindowVisible(w) != FALSE; }, 30000);
    return s;
}

bool WaitForFile(const std::wstring& path, int timeoutMs) {
    return kpv::test::PollUntil([&] { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs);
}

// The colour of the screen's centre when the whole screen shows one picture; 0 otherwise.
uint32_t WholeScreenColour() {
    const kpv::test::Screenshot shot = kpv::test::CaptureScreen();
    if (shot.width < 100) return 0;
    const uint32_t c = shot.At(shot.width / 2, shot.height / 2) & 0xFFFFFF;
    const bool whole = (shot.At(5, 5) & 0xFFFFFF) == c && (shot.At(shot.width - 5, shot.height - 5) & 0xFFFFFF) == c;
    return whole ? c : 0;
}

int Changes(const std::wstring& scr, const std::wstring& folder, int seconds, const std::wstring& marker) {
    bench::UseShowSettings(folder, 32, RGB(0, 0, 0));
    kpv::test::PaintScreen(0x808080);
    Started show = StartShow(scr);
    if (!show.window) return 1;
    if (!marker.empty()) {
        if (!WaitForFile(marker, 120000)) {
            std::fprintf(stderr, "the stuck file was never read\n");
            return 1;
        }
        Sleep(10000);  // until the preparation that waits for it is given up
    }
    int changes = 0;
    uint32_t shown = 0;
    const auto start = Clock::now();
    while (MsSince(start) < seconds * 1000.0) {
        const uint32_t c = WholeScreenColour();
        if (c != 0 && c != 0x808080 && c != shown) {
            if (shown != 0) ++changes;
            shown = c;
        }
        Sleep(100);
    }
    bench::EndShow(show.window, show.process.get());
    std::printf("%.1f changes per minute\n", changes * 60.0 / seconds);
    return 0;
}

int End(const std::wstring& scr, const std::wstring& folder, int tries, int waitMs, const std::wstring& marker) {
    bench::UseShowSettings(folder, 32, RGB(0, 0, 0));
    std::vector<double> took;
    for (int i = 0; i < tries; ++i) {
        if (!marker.empty()) DeleteFileW(marker.c_str());
        Started show = StartShow(scr);
        if (!show.window) return 1;
        if (!marker.empty() && !WaitForFile(marker, 60000)) {
            std::fprintf(stderr, "the stuck file was never read\n");
            return 1;
        }
        Sleep(static_cast<DWORD>(waitMs));
        const auto pressed = Clock::now();
        kpv::test::SendKey('A');
        const DWORD ended = WaitForSingleObject(show.process.get(), 10000);
        took.push_back(ended == WAIT_OBJECT_0 ? MsSince(pressed) : 10000.0);
        if (ended != WAIT_OBJECT_0) bench::EndShow(show.window, show.process.get());
        bench::ClearActiveFlag();
        Sleep(300);
    }
    std::printf("key -> process gone over %d tries: median %.1f ms, max %.1f ms\n", tries, Median(took),
                *std::max_element(took.begin(), took.end()));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"changes" && argc >= 5) return Changes(argv[2], argv[3], _wtoi(argv[4]), argc > 5 ? argv[5] : L"");
    if (mode == L"end" && argc >= 6) return End(argv[2], argv[3], _wtoi(argv[4]), _wtoi(argv[5]), argc > 6 ? argv[6] : L"");
    std::fprintf(stderr, "usage: run_end_bench_win changes <scr> <folder> <seconds> [<marker>]\n"
                         "       run_end_bench_win end <scr> <folder> <tries> <wait-ms> [<marker>]\n");
    return 2;
}
