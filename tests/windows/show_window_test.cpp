// The show window in-process, in preview mode inside a host window of this test: what the preview draws
// (Wine never shows a foreign child's drawing on the screen, so its pixels are read through WM_PRINTCLIENT),
// the block grid of the host's size, the recolour, and damaged settings that must not stop or hang the show.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstdint>
#include <string>

#include "driver/driver_win.h"
#include "runtime/handles_win.h"
#include "runtime/persistent_image_win.h"
#include "show/frm_main_win.h"
#include "show/show_start_win.h"
#include "startup/mod_main.h"

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
    ~Host() {
        frmMain.reset();  // gone without its unload handler, which would end the test process
        DestroyWindow(top);
    }
    HWND top = nullptr;
    HWND preview = nullptr;
};

void PreviewSettings(HWND host, const std::wstring& picture) {
    RunMode = L"P";
    PreviewParent = static_cast<int32_t>(reinterpret_cast<LONG_PTR>(host));
    SaverSettings = SaverSettingsRecord{};
    SaverSettings.BlockSize = 5;
    SaverSettings.Interval = 1;
    SaverSettings.Speed = 0;
    SaverSettings.BackGround = 1;
    SaverSettings.BackColor = kBackColorRef;
    SaverSettings.Edit = 0;
    PictureList = {picture};
}

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
    Host host(152, 112);
    PreviewSettings(host.preview, WritePicture(L"preview_100x60.bmp", 100, 60));
    StartShowWindow();
    ASSERT_TRUE(frmMain);
    EXPECT_EQ(GetParent(frmMain->hWnd()), host.preview);
    // The host's own style with 5 added (the platform may add WS_CLIPSIBLINGS to a child by itself).
    const LONG expected = GetWindowLongA(host.preview, GWL_STYLE) | 5;
    EXPECT_EQ(GetWindowLongA(frmMain->hWnd(), GWL_STYLE) & ~WS_CLIPSIBLINGS, expected & ~WS_CLIPSIBLINGS);
    EXPECT_EQ(BlockGrid.Columns, 31);
    EXPECT_EQ(BlockGrid.Rows, 23);
    EXPECT_EQ(frmMain->PicturePrepared, 1);
    EXPECT_FALSE(frmMain->picGetpic.HasPicture());  // released once copied
    EXPECT_TRUE(frmMain->Timer1.Enabled());
    EXPECT_EQ(frmMain->Timer1.Interval(), 1000u);

    frmMain->Timer1_Timer();  // the first tick reveals
    EXPECT_EQ(frmMain->PicturePrepared, 0);
    EXPECT_TRUE(frmMain->Timer1.Enabled());
    Printed shown(frmMain->hWnd());
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

    frmMain->Timer1_Timer();  // the second prepares the next (the only picture again)
    EXPECT_EQ(frmMain->PicturePrepared, 1);
    EXPECT_EQ(frmMain->LastPicturePath, PictureList[0]);
}

TEST(ShowWindow, ALargerPictureIsShrunkByWholePixelsAndCentred) {
    Host host(152, 112);
    PreviewSettings(host.preview, WritePicture(L"preview_304x112.bmp", 304, 112));
    StartShowWindow();
    frmMain->Timer1_Timer();
    Printed shown(frmMain->hWnd());
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
    Host host(152, 112);
    PreviewSettings(host.preview, WritePicture(L"preview_mono.bmp", 100, 60));
    SaverSettings.Edit = 1;
    SaverSettings.Case = 0;
    StartShowWindow();
    frmMain->Timer1_Timer();
    Printed shown(frmMain->hWnd());
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
    Host host(0, 0);
    PreviewSettings(host.preview, WritePicture(L"preview_empty_host.bmp", 40, 30));
    StartShowWindow();
    EXPECT_EQ(BlockGrid.Columns, 0);
    EXPECT_EQ(BlockGrid.Rows, 0);
    frmMain->Timer1_Timer();
    frmMain->Timer1_Timer();
    EXPECT_EQ(frmMain->PicturePrepared, 1);
    EXPECT_TRUE(frmMain->Timer1.Enabled());
}

TEST(ShowWindow, DamagedSettingsNeitherStopNorHangTheShow) {
    Host host(12, 7);
    PreviewSettings(host.preview, WritePicture(L"preview_damaged.bmp", 8, 8));
    SaverSettings.BlockSize = 0;  // would divide by zero
    SaverSettings.Interval = -3;  // a timer without a period would never tick again
    SaverSettings.Speed = INT32_MAX;
    StartShowWindow();
    EXPECT_GE(BlockGrid.Columns, 1);
    EXPECT_GE(BlockGrid.Rows, 1);
    EXPECT_EQ(frmMain->Timer1.Interval(), 1000u);
    EXPECT_TRUE(frmMain->Timer1.Enabled());
    const DWORD start = GetTickCount();
    frmMain->Timer1_Timer();  // one block, whose pause is held to the slowest stored setting
    EXPECT_LT(GetTickCount() - start, 30000u);
    EXPECT_EQ(frmMain->PicturePrepared, 0);

    SaverSettings.Speed = INT32_MIN;
    frmMain->Timer1_Timer();
    frmMain->Timer1_Timer();
    Printed shown(frmMain->hWnd());
    EXPECT_EQ(shown.At(0, 0), kBackPixel);  // 8 x 8 picture at (2, 0): column 0 is background
    EXPECT_EQ(shown.At(2, 0), Cell(0, 0));
}

}  // namespace
}  // namespace kpv
