// What a show on every monitor costs, in a two-monitor session (tests/harness/display-session.sh):
//   multi_show_bench_win blocks
//     the time per block of a reveal with one show alone and with two shows revealing at once, in one run,
//     alternating, the fastest of three runs each (a 10-pixel grid over each monitor, Speed 0).
//   multi_show_bench_win memory PHOTO [SMALL_PICTURE [SCR]]
//     the peak memory of KPV.scr /s (or SCR) over every monitor while PHOTO is prepared for each, against D
//     (the photo at 32 bits per pixel) and the screen buffers; the same with SMALL_PICTURE gives the base.
//     KPV_BENCH_TRACE=1 in the environment prints the working set as the shows start.
//   multi_show_bench_win cycles PHOTO SECONDS SCR [SCR ...]
//     the peak private memory of each SCR /s over every monitor at Interval 1 while two copies of PHOTO take
//     turns for SECONDS: the preparations after the first reveals, when each show has shown a picture.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "runtime/base/monitors_win.h"
#include "runtime/base/text_win.h"
#include "runtime/forms/message_loop_win.h"
#include "runtime/picture/picture_win.h"
#include "show/frm_main_win.h"
#include "show/run_state_win.h"
#include "support/process_resources_win.h"
#include "support/scratch_win.h"
#include "support/show_here_win.h"
#include "transitions/run_transition.h"
#include "transitions/show_block_win.h"

using namespace kpv;

namespace {

// A folder of the temporary folder that holds nothing but what the bench puts there.
std::wstring BenchFolder(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    const std::wstring folder = std::wstring(dir) + name + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring WriteTestPicture() {
    const std::wstring path = BenchFolder(L"kpv_bench_small") + L"small.bmp";
    test::WriteBmp(path, 256, 192, [](int x, int y) { return static_cast<uint32_t>((x * 7) << 16 | (y * 5) << 8 | (x ^ y)); });
    return path;
}

// Starts a show on each of the first `count` monitors, each on its own thread with the first picture
// prepared, lets all reveal it in rows at once, and gives the time per block of each.
std::vector<double> RevealAtOnce(const std::vector<RECT>& monitors, size_t count) {
    SaverSettingsRecord settings;
    settings.BlockSize = 10;
    settings.Speed = 0;
    settings.Interval = 30000;  // the bench drives the reveal itself
    settings.BackGround = 1;
    settings.BackColor = 0x202020;
    const auto run = std::make_shared<RunState>(settings, static_cast<int>(count));
    std::atomic<size_t> ready{0};
    std::atomic<bool> go{false};
    std::vector<double> perBlock(count);
    std::vector<std::thread> threads;
    const std::wstring picture = WriteTestPicture();
    for (size_t i = 0; i < count; ++i) {
        threads.emplace_back([&, i] {
            FrmMain show(ShowSetup{.run = run, .index = static_cast<int>(i), .screen = monitors[i]});
            test::StartWithPictures(show, run->group, {picture});
            show.Timer1.SetEnabled(false);
            ++ready;
            while (!go) rt::DoEvents();
            PauseClock pauses = StartPauseClock(settings.Speed);
            const BlockCanvas canvas{show, show.picImage, show.BlockGrid, pauses};
            rt::ClockSeededRandom rng;
            const auto start = std::chrono::steady_clock::now();
            RunTransition(TransitionKind::RevealRowsFromTopLeft, show.BlockGrid.Columns, show.BlockGrid.Rows, rng,
                          [&canvas](int32_t c, int32_t r) { ShowBlock(canvas, c, r); });
            const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
            perBlock[i] = us / (static_cast<double>(show.BlockGrid.Columns) * show.BlockGrid.Rows);
        });
    }
    while (ready < count) Sleep(10);
    go = true;
    for (auto& t : threads) t.join();
    return perBlock;
}

int Blocks() {
    const std::vector<RECT> monitors = rt::MonitorRects();
    if (monitors.size() < 2) {
        std::fprintf(stderr, "needs two monitors\n");
        return 2;
    }
    double alone = 1e300, together = 1e300;
    for (int run = 0; run < 3; ++run) {
        alone = std::min(alone, RevealAtOnce(monitors, 1)[0]);
        const std::vector<double> both = RevealAtOnce(monitors, 2);
        together = std::min(together, std::max(both[0], both[1]));
    }
    std::printf("per block, one show alone: %.1f us; two shows at once (the slower): %.1f us; ratio %.2f\n", alone,
                together, together / alone);
    return 0;
}

struct Peak {
    double bytes = 0;
    int windows = 0;
};

// The show of one folder (no subfolders, no colour effect, 32-pixel blocks) at the given view time, the flag
// of a killed earlier run cleared.
void UseFolder(const std::wstring& folder, int16_t interval) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tarnel Software\\KPV\\Settings", 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    const std::string ansi = rt::WideToAnsi(folder);
    RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi.c_str()), static_cast<DWORD>(ansi.size() + 1));
    const int16_t zero = 0, block = 32;
    RegSetValueExW(key, L"SubFolder", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&zero), 2);
    RegSetValueExW(key, L"Interval", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&interval), 2);
    RegSetValueExW(key, L"BlockSize", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&block), 2);
    RegSetValueExW(key, L"Edit", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&zero), 2);
    RegCloseKey(key);
    HKEY flags = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tarnel Software\\KPV\\Flags", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &flags, nullptr);
    RegSetValueExW(flags, L"Active", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&zero), 2);
    RegCloseKey(flags);
}

// `scr` /s on the folder of `picture`, until every monitor's first picture is prepared; its peak working set.
Peak ShowPeak(const std::wstring& scr, const std::wstring& picture, size_t monitors) {
    UseFolder(picture.substr(0, picture.find_last_of(L'\\') + 1), 60);

    std::wstring command = L"\"" + scr + L"\" /s";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return {};
    Peak peak;
    const ULONGLONG end = GetTickCount64() + 60000;
    while (GetTickCount64() < end && static_cast<size_t>(peak.windows) < monitors) {
        Sleep(50);
        if (getenv("KPV_BENCH_TRACE")) {
            PROCESS_MEMORY_COUNTERS t{};
            t.cb = sizeof t;
            GetProcessMemoryInfo(pi.hProcess, &t, sizeof t);
            std::printf("  %6.0f MB  peak %6.0f MB  windows %d\n", t.WorkingSetSize / 1048576.0, t.PeakWorkingSetSize / 1048576.0, peak.windows);
        }
        struct Count { DWORD pid; int n; } count{pi.dwProcessId, 0};
        EnumWindows([](HWND w, LPARAM p) -> BOOL {
            auto* c = reinterpret_cast<Count*>(p);
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == c->pid && IsWindowVisible(w)) ++c->n;
            return TRUE;
        }, reinterpret_cast<LPARAM>(&count));
        peak.windows = count.n;
    }
    // The windows come first; the worker then prepares the photo for each show, one after the other.
    Sleep(5000);
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof c;
    GetProcessMemoryInfo(pi.hProcess, &c, sizeof c);
    peak.bytes = static_cast<double>(c.PeakWorkingSetSize);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return peak;
}

// The KPV.scr of the build tree this benchmark belongs to.
std::wstring BuiltScr() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring scr(self);
    scr = scr.substr(0, scr.find_last_of(L'\\'));
    return scr.substr(0, scr.find_last_of(L'\\') + 1) + L"KPV.scr";
}

int Memory(const std::wstring& photo, std::wstring small, std::wstring scr) {
    const std::vector<RECT> monitors = rt::MonitorRects();
    if (small.empty()) small = WriteTestPicture();
    if (scr.empty()) scr = BuiltScr();
    const Peak base = ShowPeak(scr, small, monitors.size());
    // The photo alone in its folder, so that every show prepares it.
    const std::wstring copy = BenchFolder(L"kpv_bench_photo") + L"photo.jpg";
    CopyFileW(photo.c_str(), copy.c_str(), FALSE);
    const Peak withPhoto = ShowPeak(scr, copy, monitors.size());
    const rt::Picture shown = rt::LoadPicture(photo);
    const double d = 4.0 * shown.width() * shown.height();
    double screens = 0;
    for (const RECT& m : monitors) screens += 4.0 * (m.right - m.left) * (m.bottom - m.top);
    const double mb = 1048576.0;
    std::printf("%zu monitors (%d and %d show windows seen); photo %dx%d, D = %.1f MB; screen buffers %.1f MB in all\n",
                monitors.size(), base.windows, withPhoto.windows, shown.width(), shown.height(), d / mb, screens / mb);
    const double growth = withPhoto.bytes - base.bytes;
    std::printf("peak working set %.1f MB with the photo, %.1f MB with a small picture: the photo adds %.1f MB = "
                "%.2f D (target <= 2 D + 3 screen buffers per monitor = %.1f MB)\n",
                withPhoto.bytes / mb, base.bytes / mb, growth / mb, growth / d, (2 * d + 3 * screens) / mb);
    return 0;
}

// The peak of the private memory sampled every 20 ms while `scr` shows the folder for `seconds`.
double CyclingPeak(const std::wstring& scr, const std::wstring& folder, int seconds) {
    UseFolder(folder, 1);
    std::wstring command = L"\"" + scr + L"\" /s";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0;
    double peak = 0;
    for (const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000; GetTickCount64() < end;) {
        peak = std::max(peak, static_cast<double>(test::PrivateBytes(pi.hProcess)));
        Sleep(20);
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return peak;
}

int Cycles(const std::wstring& photo, int seconds, const std::vector<std::wstring>& copies) {
    const std::vector<RECT> monitors = rt::MonitorRects();
    const std::wstring folder = BenchFolder(L"kpv_bench_cycles");
    CopyFileW(photo.c_str(), (folder + L"one.jpg").c_str(), FALSE);
    CopyFileW(photo.c_str(), (folder + L"two.jpg").c_str(), FALSE);
    double screens = 0;
    for (const RECT& m : monitors) screens += 4.0 * (m.right - m.left) * (m.bottom - m.top);
    const double mb = 1048576.0;
    std::printf("%zu monitors, window-size pictures %.1f MB in all; %d s at Interval 1 each\n", monitors.size(),
                screens / mb, seconds);
    for (const std::wstring& scr : copies)
        std::printf("%-40ls peak private %.1f MB\n", scr.c_str(), CyclingPeak(scr, folder, seconds) / mb);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"blocks";
    if (mode == L"blocks") return Blocks();
    if (mode == L"memory" && argc > 2) return Memory(argv[2], argc > 3 ? argv[3] : L"", argc > 4 ? argv[4] : L"");
    if (mode == L"cycles" && argc > 4) return Cycles(argv[2], _wtoi(argv[3]), std::vector<std::wstring>(argv + 4, argv + argc));
    std::fprintf(stderr, "usage: multi_show_bench_win blocks | memory PHOTO [SMALL_PICTURE [SCR]] | cycles PHOTO SECONDS SCR...\n");
    return 2;
}
