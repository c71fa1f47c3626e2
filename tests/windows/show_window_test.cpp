// The show window in-process, in preview mode inside a host window of this test: what the preview draws
// (Wine never shows a foreign child's drawing on the screen, so its pixels are read through WM_PRINTCLIENT),
// the block grid of the host's size, the recolour, damaged settings that must not stop or hang the show, and
// and a run of two shows at once, each on its own thread.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "support/driver_win.h"
#include "runtime/base/handles_win.h"
#include "runtime/forms/persistent_image_win.h"
#include "show/frm_main_win.h"
#include "show/run_state_win.h"
#include "show/show_run_win.h"
#include "show/show_start_win.h"
#include "support/scratch_win.h"
#include "support/show_here_win.h"

namespace kpv {
namespace {

using namespace kpv::test;

constexpr uint32_t kBackPixel = 0x30C050;   // 0x00RRGGBB
constexpr uint32_t kBackColorRef = 0x50C030;

// A picture of 2 x 2 cells, so that a copy shrunk to half size by whole pixels is known exactly.
uint32_t Cell(int cx, int cy) { return static_cast<uint32_t>(((cx * 37) & 0xFF) << 16 | ((cy * 53) & 0xFF) << 8 | 0x40); }

std::wstring WritePicture(const std::wstring& name, int w, int h) {
    const std::wstring path = TestDataDir() + L"\\" + name;
    WriteBmp(path, w, h, [](int x, int y) { return Cell(x / 2, y / 2); });
    return path;
}

struct Host {
    Host(int w, int h) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KPVTestHost";
        RegisterClassW(&wc);
        top = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                              wc.hInstance, nullptr);
        preview = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 10, 10, w, h, top, nullptr,
                                  wc.hInstance, nullptr);
    }
    ~Host() { DestroyWindow(top); }
    HWND top = nullptr;
    HWND preview = nullptr;
};

// A preview show on this test's thread, inside a host window of this test, with a run of its own (the
// settings as they are at the start, the group that hands it the picture list, the workers that prepare
// its pictures). It goes without a show's end, so the test process is not ended.
struct PreviewShow {
    PreviewShow(int w, int h, const std::wstring& picture) : host(w, h), pictures{picture} {
        settings.BlockSize = 5;
        settings.Interval = 1;
        settings.Speed = 0;
        settings.BackGround = 1;
        settings.BackColor = kBackColorRef;
        settings.Edit = 0;
    }
    ~PreviewShow() {
        if (run) run->group.End(RunEnd::Stopped);
        frmMain.reset();
        // The last form of this thread asked its loop to end: the next test must not find that request.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
        if (run) {
            EXPECT_TRUE(run->pool.WaitUntil(GetTickCount64() + 5000)) << "the workers stop with the run";
        }
    }
    // The window on the screen, the list handed over and the first picture prepared.
    FrmMain& Start() {
        run = std::make_shared<RunState>(settings, 1);
        frmMain = std::make_unique<FrmMain>(ShowSetup{.run = run, .preview = true, .previewHost = host.preview});
        EXPECT_TRUE(StartWithPictures(*frmMain, run->group, pictures));
        return *frmMain;
    }
    // Waits, answering messages, until the worker's picture has come back.
    bool Prepared() { return PumpMessagesUntil([&] { return frmMain->PicturePrepared == 1; }, 20000); }

    Host host;
    SaverSettingsRecord settings;
    std::vector<std::wstring> pictures;
    std::shared_ptr<RunState> run;
    std::unique_ptr<FrmMain> frmMain;
};

// What the form would paint, read through WM_PRINTCLIENT.
struct Printed {
    explicit Printed(HWND w) {
        RECT r{};
        GetClientRect(w, &r);
        width = r.right;
        height = r.bottom;
        bitmap = rt::CreateImageBitmap(width, height, &bits);
        dc.reset(CreateCompatibleDC(nullptr));
        previous = SelectObject(dc.get(), bitmap.get());
        SendMessageW(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
        GdiFlush();
    }
    ~Printed() { SelectObject(dc.get(), previous); }
    uint32_t At(int x, int y) const { return bits[static_cast<size_t>(y) * width + x] & 0xFFFFFFu; }
    int width = 0, height = 0;
    uint32_t* bits = nullptr;
    rt::UniqueBitmap bitmap;
    rt::UniqueMemoryDc dc;
    HGDIOBJ previous = nullptr;
};

TEST(ShowWindow, PreviewBecomesTheHostsChildAndRevealsThePictureOnTheBackground) {
    PreviewShow preview(152, 112, WritePicture(L"preview_100x60.bmp", 100, 60));
    FrmMain& frmMain = preview.Start();
    EXPECT_EQ(GetParent(frmMain.hWnd()), preview.host.preview);
    // The host's own style with 5 added (the platform may add WS_CLIPSIBLINGS to a child by itself).
    const LONG expected = GetWindowLongA(preview.host.preview, GWL_STYLE) | 5;
    EXPECT_EQ(GetWindowLongA(frmMain.hWnd(), GWL_STYLE) & ~WS_CLIPSIBLINGS, expected & ~WS_CLIPSIBLINGS);
    EXPECT_EQ(frmMain.BlockGrid.Columns, 31);
    EXPECT_EQ(frmMain.BlockGrid.Rows, 23);
    EXPECT_EQ(frmMain.PicturePrepared, 1);
    EXPECT_TRUE(frmMain.Timer1.Enabled());
    EXPECT_EQ(frmMain.Timer1.Interval(), 1000u);

    frmMain.Timer1_Timer();  // the first tick reveals
    EXPECT_EQ(frmMain.PicturePrepared, 0);
    EXPECT_TRUE(frmMain.Timer1.Enabled());
    Printed shown(frmMain.hWnd());
    ASSERT_EQ(shown.width, 152);
    ASSERT_EQ(shown.height, 112);
    long bad = 0;
    for (int y = 0; y < 112; ++y)
        for (int x = 0; x < 152; ++x) {
            const bool inside = x >= 26 && x < 126 && y >= 26 && y < 86;
            const uint32_t want = inside ? Cell((x - 26) / 2, (y - 26) / 2) : kBackPixel;
            bad += shown.At(x, y) != want ? 1 : 0;
        }
    EXPECT_EQ(bad, 0);

    frmMain.Timer1_Timer();  // the second asks for the next (the only picture again)
    EXPECT_FALSE(frmMain.Timer1.Enabled()) << "the prepare step lasts until the picture is back";
    EXPECT_TRUE(preview.Prepared());
    EXPECT_TRUE(frmMain.Timer1.Enabled());
    EXPECT_EQ(frmMain.LastPicturePath, preview.pictures[0]);
}

TEST(ShowWindow, ALargerPictureIsShrunkByWholePixelsAndCentred) {
    PreviewShow preview(152, 112, WritePicture(L"preview_304x112.bmp", 304, 112));
    FrmMain& frmMain = preview.Start();
    frmMain.Timer1_Timer();
    Printed shown(frmMain.hWnd());
    // Twice too wide: 152 x 56 at y 28.
    long bad = 0;
    for (int y = 0; y < 112; ++y)
        for (int x = 0; x < 152; ++x) {
            const bool inside = y >= 28 && y < 84;
            const uint32_t want = inside ? Cell(x, y - 28) : kBackPixel;
            bad += shown.At(x, y) != want ? 1 : 0;
        }
    EXPECT_EQ(bad, 0);
}

TEST(ShowWindow, MonochromeRecoloursThePictureButNotTheBackground) {
    PreviewShow preview(152, 112, WritePicture(L"preview_mono.bmp", 100, 60));
    preview.settings.Edit = 1;
    preview.settings.Case = 0;
    FrmMain& frmMain = preview.Start();
    frmMain.Timer1_Timer();
    Printed shown(frmMain.hWnd());
    for (int y = 26; y < 86; y += 7)
        for (int x = 26; x < 126; x += 9) {
            const uint32_t p = shown.At(x, y);
            EXPECT_EQ(p >> 16, (p >> 8) & 0xFF) << x << "," << y;
            EXPECT_EQ(p >> 16, p & 0xFF) << x << "," << y;
        }
    EXPECT_EQ(shown.At(0, 0), kBackPixel);
    EXPECT_EQ(shown.At(151, 111), kBackPixel);
}

TEST(ShowWindow, AHostWithoutSizeGivesAnEmptyGridAndTheCycleStillRuns) {
    PreviewShow preview(0, 0, WritePicture(L"preview_empty_host.bmp", 40, 30));
    FrmMain& frmMain = preview.Start();
    EXPECT_EQ(frmMain.BlockGrid.Columns, 0);
    EXPECT_EQ(frmMain.BlockGrid.Rows, 0);
    frmMain.Timer1_Timer();
    frmMain.Timer1_Timer();
    EXPECT_TRUE(preview.Prepared());
    EXPECT_TRUE(frmMain.Timer1.Enabled());
}

TEST(ShowWindow, DamagedSettingsNeitherStopNorHangTheShow) {
    const std::wstring picture = WritePicture(L"preview_damaged.bmp", 8, 8);
    for (const int32_t speed : {INT32_MAX, INT32_MIN}) {
        PreviewShow preview(12, 7, picture);
        preview.settings.BlockSize = 0;  // would divide by zero
        preview.settings.Interval = -3;  // a timer without a period would never tick again
        preview.settings.Speed = speed;
        FrmMain& frmMain = preview.Start();
        EXPECT_GE(frmMain.BlockGrid.Columns, 1);
        EXPECT_GE(frmMain.BlockGrid.Rows, 1);
        EXPECT_EQ(frmMain.Timer1.Interval(), 1000u);
        EXPECT_TRUE(frmMain.Timer1.Enabled());
        const DWORD start = GetTickCount();
        frmMain.Timer1_Timer();  // one block, whose pause is held to the slowest stored setting
        EXPECT_LT(GetTickCount() - start, 30000u);
        EXPECT_EQ(frmMain.PicturePrepared, 0);
        Printed shown(frmMain.hWnd());
        EXPECT_EQ(shown.At(0, 0), kBackPixel) << speed;  // 8 x 8 picture at (2, 0): column 0 is background
        EXPECT_EQ(shown.At(2, 0), Cell(0, 0)) << speed;
    }
}

// The run as the program makes it, in this process: two full-screen shows on small screens, each on its own
// thread, on the screen before the scan; the scan's list reaches both, and each reveals a picture of its own.
TEST(ShowWindow, TwoShowsRunAtOnceEachOnItsOwnThread) {
    const std::wstring folder = FreshFolder(L"two_shows") + L"\\";
    WriteBmp(folder + L"wide.bmp", 40, 20, [](int x, int y) { return Cell(x / 2, y / 2); });
    WriteBmp(folder + L"tall.bmp", 20, 40, [](int x, int y) { return Cell(x / 2, y / 2); });
    SaverSettingsRecord settings;
    settings.Path = folder;
    settings.BlockSize = 8;
    settings.Interval = 1;
    settings.BackGround = 1;
    settings.BackColor = kBackColorRef;
    ShowRun run(settings, {RECT{0, 0, 80, 60}, RECT{100, 0, 180, 60}});
    const std::vector<HWND> windows = run.Windows();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_NE(GetWindowThreadProcessId(windows[0], nullptr), GetWindowThreadProcessId(windows[1], nullptr));

    // Centred in 80 x 60: the wide one from (20, 20), the tall one from (30, 10).
    const auto shows = [](HWND w) {
        const Printed shown(w);
        if (shown.At(0, 0) != kBackPixel || shown.At(79, 59) != kBackPixel) return 0;
        if (shown.At(20, 20) == Cell(0, 0) && shown.At(19, 20) == kBackPixel) return 1;
        if (shown.At(30, 10) == Cell(0, 0) && shown.At(29, 10) == kBackPixel) return 2;
        return 0;
    };
    int first = 0, second = 0;
    EXPECT_TRUE(PollUntil([&] { return (first = shows(windows[0])) != 0 && (second = shows(windows[1])) != 0; }, 20000));
    EXPECT_NE(first, second) << "each monitor reveals a picture of its own";
    EXPECT_EQ(run.Group().Ended(), RunEnd::None);
    EXPECT_TRUE(run.Stop(GetTickCount64() + 5000)) << "every thread of the run ends when it is stopped";
    EXPECT_TRUE(run.Windows().empty());
    RemoveTree(folder.substr(0, folder.size() - 1));
}

// A show thread that cannot be started, the second of three: the start fails as a whole, the show already
// coming up closes again with nothing freed under it, and nothing hangs.
TEST(ShowWindow, AShowThatCannotStartEndsTheRunAsAFailedStart) {
    SaverSettingsRecord settings;
    settings.Path = TestDataDir() + L"\\";
    settings.BlockSize = 8;
    settings.Interval = 1;
    RunOptions options;
    options.beforeShowStarts = [](int show) {
        if (show == 1) throw std::system_error(ERROR_NOT_ENOUGH_MEMORY, std::system_category(), "CreateThread");
    };
    auto run = std::make_unique<ShowRun>(settings, std::vector<RECT>{{0, 0, 80, 60}, {100, 0, 180, 60}, {200, 0, 280, 60}},
                                         options);
    EXPECT_EQ(run->Group().Ended(), RunEnd::NoWindow);
    EXPECT_EQ(run->WaitForEnd(), RunEnd::NoWindow);
    EXPECT_TRUE(run->Stop(GetTickCount64() + 5000));
    EXPECT_TRUE(run->Windows().empty());
    run.reset();  // the run goes while nothing of it runs
}

}  // namespace
}  // namespace kpv
