// Peak memory of a whole picture preparation (load, place, background, scaled copy into the window-sized
// image) against D, the picture's size at 32 bits per pixel, and the window's screen buffers.
//   preparation_memory_bench_win PICTURE [WIDTH HEIGHT]
// The show window is made inside a host window of WIDTH x HEIGHT (1024 x 768 by default), and the worker
// prepares the picture for it, as at the start of a show.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "runtime/picture/picture_win.h"
#include "show/frm_main_win.h"
#include "show/run_state_win.h"
#include "support/show_here_win.h"

using namespace kpv;

namespace {

struct Memory {
    double current;
    double peak;
};

// Resident memory and its peak: what was really touched. (Wine keeps released address space reserved, so
// its committed-memory figures do not fall when memory is freed.)
Memory Now() {
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof(c);
    GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof(c));
    return {static_cast<double>(c.WorkingSetSize), static_cast<double>(c.PeakWorkingSetSize)};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: preparation_memory_bench_win PICTURE [WIDTH HEIGHT]\n");
        return 2;
    }
    const int width = argc >= 4 ? _wtoi(argv[2]) : 1024;
    const int height = argc >= 4 ? _wtoi(argv[3]) : 768;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KPVBenchHost";
    RegisterClassW(&wc);
    HWND host = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                                wc.hInstance, nullptr);
    SaverSettingsRecord settings;
    settings.BlockSize = 32;
    settings.Interval = 30000;
    settings.BackGround = 1;
    const auto run = std::make_shared<RunState>(settings, 1);
    auto frmMain = std::make_unique<FrmMain>(
        ShowSetup{.run = run, .preview = true, .previewHost = host});

    const Memory before = Now();
    const auto start = std::chrono::steady_clock::now();
    test::StartWithPictures(*frmMain, run->group, {argv[1]}, 120000);
    const auto end = std::chrono::steady_clock::now();
    const Memory after = Now();
    if (frmMain->LastPicturePath.empty()) {
        std::fprintf(stderr, "the picture was not prepared\n");
        return 1;
    }
    const double screen = 4.0 * width * height;
    frmMain.reset();
    DestroyWindow(host);
    // D from the picture as it is shown (turned for its EXIF orientation), loaded again after the measurement.
    const rt::Picture shown = rt::LoadPicture(argv[1]);
    const double d = 4.0 * shown.width() * shown.height();
    const double peakGrowth = after.peak - before.current;
    std::printf("window %dx%d, start with preparation %.0f ms\n", width, height,
                std::chrono::duration<double, std::milli>(end - start).count());
    std::printf("picture %dx%d, D = %.1f MB, screen buffer %.1f MB\n", shown.width(), shown.height(), d / 1048576.0,
                screen / 1048576.0);
    std::printf("peak growth %.1f MB = %.2f D (target <= 2 D + 3 screen buffers = %.1f MB)\n", peakGrowth / 1048576.0,
                peakGrowth / d, (2 * d + 3 * screen) / 1048576.0);
    std::printf("peak growth beyond 2 D: %.2f screen buffers\n", (peakGrowth - 2 * d) / screen);
    std::printf("kept after preparation %.1f MB\n", (after.current - before.current) / 1048576.0);
    std::fflush(stdout);
    return peakGrowth <= 2 * d + 3 * screen ? 0 : 1;
}
