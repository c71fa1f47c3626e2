// Transition time per block at Speed 0, through the real per-block step (pause, copy into the kept image,
// refresh of just that block, one more pass), for grids and windows of different sizes.
//   transition_bench_win WIDTH HEIGHT BLOCKSIZE [WIDTH HEIGHT BLOCKSIZE ...]
// Run it on a screen at least as large as the largest window, e.g. an Xvfb of 3840x2160x24, so that every
// block really reaches the screen. Prints the microseconds per block of the random reveal and of a sweep,
// the fastest of three runs each (on a shared machine the fastest run is the one least disturbed).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "runtime/base/random.h"
#include "show/frm_main_win.h"
#include "show/run_state_win.h"
#include "transitions/run_transition.h"
#include "transitions/show_block_win.h"
#include "support/scratch_win.h"
#include "support/show_here_win.h"

using namespace kpv;

namespace {

std::wstring WriteTestPicture(int w, int h) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    const std::wstring path = std::wstring(dir) + L"kpv_transition_bench.bmp";
    kpv::test::WriteBmp(path, w, h, [](int x, int y) { return uint32_t((x ^ y) & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | (x & 0xFF); });
    return path;
}

double MicrosecondsPerBlock(FrmMain& show, TransitionKind kind) {
    const BlockGridRecord& grid = show.BlockGrid;
    const int64_t blocks = static_cast<int64_t>(grid.Columns) * grid.Rows;
    PauseClock pauses = StartPauseClock(0);
    const BlockCanvas canvas{show, show.picImage, grid, pauses};
    rt::ClockSeededRandom rng;
    const auto start = std::chrono::steady_clock::now();
    RunTransition(kind, grid.Columns, grid.Rows, rng,
                  [&canvas](int32_t c, int32_t r) { ShowBlock(canvas, c, r); });
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count() / static_cast<double>(blocks);
}

void Measure(int width, int height, int blockSize) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KPVBenchHost";
    RegisterClassW(&wc);
    HWND host = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                nullptr, nullptr, wc.hInstance, nullptr);
    SaverSettingsRecord settings;
    settings.BlockSize = static_cast<int16_t>(blockSize);
    settings.Speed = 0;
    settings.Interval = 30000;  // the bench drives the transitions itself
    settings.BackGround = 1;
    settings.BackColor = 0x202020;
    const auto run = std::make_shared<RunState>(settings, 1);
    auto frmMain = std::make_unique<FrmMain>(
        ShowSetup{.run = run, .preview = true, .previewHost = host});
    test::StartWithPictures(*frmMain, run->group, {WriteTestPicture(width / 2, height / 2)});
    frmMain->Timer1.SetEnabled(false);
    const BlockGridRecord& BlockGrid = frmMain->BlockGrid;
    double random = 1e300;
    double rows = 1e300;
    for (int round = 0; round < 3; ++round) {
        random = std::min(random, MicrosecondsPerBlock(*frmMain, TransitionKind::RevealRandomBlocks));
        rows = std::min(rows, MicrosecondsPerBlock(*frmMain, TransitionKind::RevealRowsFromTopLeft));
    }
    std::printf("%5dx%-5d block %3d: %4d x %4d = %6lld blocks  random %7.1f us/block  rows %7.1f us/block\n", width,
                height, blockSize, BlockGrid.Columns, BlockGrid.Rows,
                static_cast<long long>(BlockGrid.Columns) * BlockGrid.Rows, random, rows);
    std::fflush(stdout);
    frmMain.reset();
    DestroyWindow(host);
    // The last form closing asks the message loop to end; the next measurement must not run with that
    // request pending, since every pass of the message loop would then stop at it.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4 || (argc - 1) % 3 != 0) {
        std::fprintf(stderr, "usage: transition_bench_win WIDTH HEIGHT BLOCKSIZE [...]\n");
        return 2;
    }
    for (int i = 1; i + 2 < argc; i += 3) Measure(_wtoi(argv[i]), _wtoi(argv[i + 1]), _wtoi(argv[i + 2]));
    return 0;
}
