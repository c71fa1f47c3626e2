// Forms, picture boxes and the timer, in-process on the test screen: what goes through hDC stays in the
// kept image, Refresh puts only the changed part on the screen, repaint requests are served from the image.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "support/driver_win.h"
#include "runtime/base/colour_win.h"
#include "runtime/forms/form_win.h"
#include "runtime/base/handles_win.h"
#include "runtime/forms/message_loop_win.h"
#include "runtime/forms/picture_box_win.h"
#include "runtime/forms/timer_win.h"
#include "runtime/base/units_win.h"
#include "runtime/base/blit_block_win.h"

namespace kpv {
namespace {

using test::PollUntil;

// What a DC shows, read back through a 32-bit top-down DIB section of the given size.
struct Capture {
    Capture(int w, int h) : width(w), height(h) {
        bitmap = rt::CreateImageBitmap(w, h, &bits);
        dc.reset(CreateCompatibleDC(nullptr));
        previous = SelectObject(dc.get(), bitmap.get());
    }
    ~Capture() { SelectObject(dc.get(), previous); }
    uint32_t At(int x, int y) {
        GdiFlush();
        return bits[static_cast<size_t>(y) * width + x] & 0xFFFFFFu;
    }
    int width, height;
    uint32_t* bits = nullptr;
    rt::UniqueBitmap bitmap;
    rt::UniqueMemoryDc dc;
    HGDIOBJ previous = nullptr;
};

void FillDc(HDC dc, int x, int y, int w, int h, COLORREF colour) {
    rt::UniqueBrush brush(CreateSolidBrush(colour));
    RECT r{x, y, x + w, y + h};
    FillRect(dc, &r, brush.get());
    GdiFlush();
}

uint32_t ScreenPixel(int x, int y) {
    rt::WindowDc screen = rt::WindowDc::Get(nullptr);
    return GetPixel(screen.get(), x, y) & 0xFFFFFFu;
}

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);

class TestForm : public rt::Form {
public:
    int unloads = 0;
protected:
    void Form_Unload(bool&) override { ++unloads; }
};

float PxX(int px) { return static_cast<float>(px * static_cast<double>(rt::TwipsPerPixelX())); }
float PxY(int px) { return static_cast<float>(px * static_cast<double>(rt::TwipsPerPixelY())); }

TEST(FormRuntime, SizesInTwipsGiveAKeptImageOfThePixelSize) {
    TestForm form;
    form.Load();
    form.SetWidth(PxX(64));
    form.SetHeight(PxY(48));
    EXPECT_EQ(form.PixelWidth(), 64);
    EXPECT_EQ(form.PixelHeight(), 48);
    EXPECT_FLOAT_EQ(form.Width(), PxX(64));
    BITMAP bm{};
    ASSERT_TRUE(GetObjectW(form.Image(), sizeof(bm), &bm));
    EXPECT_EQ(bm.bmWidth, 64);
    EXPECT_EQ(bm.bmHeight, 48);
    RECT r{};
    GetWindowRect(form.hWnd(), &r);
    EXPECT_EQ(r.right - r.left, 64);
    EXPECT_EQ(r.bottom - r.top, 48);
    form.Unload();
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(form.IsLoaded());
}

TEST(FormRuntime, DrawingThroughHdcIsServedToPrintClientAndPrint) {
    TestForm form;
    form.Load();
    form.SetBackColor(kBlue);
    form.SetWidth(PxX(40));
    form.SetHeight(PxY(30));
    form.Cls();
    FillDc(form.hDC(), 10, 5, 8, 6, kRed);
    for (UINT msg : {UINT(WM_PRINTCLIENT), UINT(WM_PRINT)}) {
        Capture cap(40, 30);
        SendMessageW(form.hWnd(), msg, reinterpret_cast<WPARAM>(cap.dc.get()), PRF_CLIENT);
        EXPECT_EQ(cap.At(12, 7), 0xC80000u) << msg;  // red as 0x00RRGGBB
        EXPECT_EQ(cap.At(0, 0), 0x0000C8u) << msg;
        EXPECT_EQ(cap.At(39, 29), 0x0000C8u) << msg;
        EXPECT_EQ(cap.At(18, 7), 0x0000C8u) << msg;  // just right of the drawn part
    }
    form.Unload();
}

TEST(FormRuntime, RefreshOfAPartPutsOnlyThatPartOnTheScreen) {
    TestForm form;
    form.Load();
    form.SetBackColor(kRed);
    form.SetLeft(PxX(100));
    form.SetTop(PxY(100));
    form.SetWidth(PxX(200));
    form.SetHeight(PxY(150));
    form.Cls();
    form.Show();
    SetWindowPos(form.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    form.Refresh();
    ASSERT_TRUE(PollUntil([] { rt::DoEvents(); return ScreenPixel(150, 150) == kRed; }, 3000));

    // The whole image turns blue, but only a 20 x 10 part is refreshed.
    FillDc(form.hDC(), 0, 0, 200, 150, kBlue);
    form.Refresh(RECT{40, 30, 60, 40});
    EXPECT_TRUE(PollUntil([] { rt::DoEvents(); return ScreenPixel(145, 135) == kBlue; }, 3000));
    EXPECT_EQ(ScreenPixel(159, 139), kBlue);
    EXPECT_EQ(ScreenPixel(160, 135), kRed);
    EXPECT_EQ(ScreenPixel(139, 135), kRed);
    EXPECT_EQ(ScreenPixel(145, 140), kRed);
    EXPECT_EQ(ScreenPixel(110, 110), kRed);

    // A repaint request is served from the kept image, which is all blue by now.
    InvalidateRect(form.hWnd(), nullptr, FALSE);
    UpdateWindow(form.hWnd());
    EXPECT_TRUE(PollUntil([] { rt::DoEvents(); return ScreenPixel(110, 110) == kBlue; }, 3000));
    form.Unload();
}

TEST(FormRuntime, AWindowDestroyedFromOutsideUnloadsTheForm) {
    TestForm form;
    form.Load();
    const int before = rt::OpenFormCount();
    DestroyWindow(form.hWnd());
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_EQ(rt::OpenFormCount(), before - 1);
    rt::DoEvents();  // the quit the last form leaves behind would otherwise end a later loop
    MSG m;
    while (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

TEST(PictureBoxRuntime, AutoSizeTakesThePictureItselfAsTheImage) {
    TestForm form;
    form.Load();
    rt::PictureBox box(form);
    box.SetAutoRedraw(true);
    box.SetAutoSize(true);
    rt::Picture picture = rt::Picture::Create(30, 20);
    ASSERT_FALSE(picture.empty());
    for (int i = 0; i < 30 * 20; ++i) picture.bits()[i] = 0x123456u;
    HBITMAP pictureBitmap = picture.bitmap();
    box.SetPicture(std::move(picture));
    EXPECT_EQ(box.PixelWidth(), 30);
    EXPECT_EQ(box.PixelHeight(), 20);
    EXPECT_FLOAT_EQ(box.Width(), PxX(30));
    EXPECT_FLOAT_EQ(box.Height(), PxY(20));
    EXPECT_EQ(box.Image(), pictureBitmap);  // no second full-size copy
    EXPECT_EQ(GetPixel(box.hDC(), 29, 19) & 0xFFFFFFu, RGB(0x12, 0x34, 0x56));
    box.Cls();  // the picture stays
    EXPECT_EQ(GetPixel(box.hDC(), 0, 0) & 0xFFFFFFu, RGB(0x12, 0x34, 0x56));
    box.SetPicture(rt::Picture());
    EXPECT_FALSE(box.HasPicture());
    // The picture's bitmap was released, not left selected and undeletable.
    EXPECT_EQ(GetObjectType(pictureBitmap), 0u);
    form.Unload();
}

TEST(PictureBoxRuntime, BackColorSystemReferencesAndResizing) {
    TestForm form;
    form.Load();
    rt::PictureBox box(form);
    box.SetAutoRedraw(true);
    box.SetWidth(PxX(16));
    box.SetHeight(PxY(12));
    box.SetBackColor(0x80000000u | COLOR_HIGHLIGHT);
    EXPECT_EQ(GetPixel(box.hDC(), 15, 11) & 0xFFFFFFu, GetSysColor(COLOR_HIGHLIGHT) & 0xFFFFFFu);
    box.SetBackColor(RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(box.hDC(), 0, 0) & 0xFFFFFFu, RGB(1, 2, 3));
    FillDc(box.hDC(), 0, 0, 4, 4, kRed);
    box.SetWidth(PxX(24));  // the old part is kept, the new part takes the background
    EXPECT_EQ(box.PixelWidth(), 24);
    EXPECT_EQ(GetPixel(box.hDC(), 1, 1) & 0xFFFFFFu, kRed);
    EXPECT_EQ(GetPixel(box.hDC(), 20, 5) & 0xFFFFFFu, RGB(1, 2, 3));
    box.Cls();
    EXPECT_EQ(GetPixel(box.hDC(), 1, 1) & 0xFFFFFFu, RGB(1, 2, 3));
    EXPECT_NE(box.hWnd(), nullptr);
    EXPECT_EQ(GetParent(box.hWnd()), form.hWnd());
    EXPECT_FALSE(IsWindowVisible(box.hWnd()));
    box.SetWidth(0);  // an empty box draws nothing and does not fail
    EXPECT_EQ(box.PixelWidth(), 0);
    form.Unload();
}

TEST(BlitBlockRuntime, StretchesAndShrinksByWholePixelsNeverBlending) {
    Capture source(4, 1);
    const uint32_t colours[4] = {0xFF0000u, 0x0000FFu, 0x00FF00u, 0xFFFFFFu};
    for (int x = 0; x < 4; ++x) source.bits[x] = colours[x];
    Capture wide(8, 1);
    BlitBlock(wide.dc.get(), 0, 0, 8, 1, source.dc.get(), 0, 0, 4, 1, SRCCOPY);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(wide.At(x, 0), colours[x / 2]) << x;
    Capture narrow(2, 1);
    BlitBlock(narrow.dc.get(), 0, 0, 2, 1, source.dc.get(), 0, 0, 4, 1, SRCCOPY);
    for (int x = 0; x < 2; ++x) {
        const uint32_t got = narrow.At(x, 0);
        EXPECT_TRUE(got == colours[2 * x] || got == colours[2 * x + 1]) << std::hex << got;
    }
}

TEST(TimerRuntime, TicksOnlyWhileEnabledAndHoldsItsInterval) {
    TestForm form;
    form.Load();
    int ticks = 0;
    rt::Timer timer(form, [&] { ++ticks; });
    timer.SetInterval(30);
    EXPECT_EQ(timer.Interval(), 30u);
    EXPECT_FALSE(timer.Enabled());
    const auto pumpFor = [](int ms) {
        const DWORD end = GetTickCount() + ms;
        while (GetTickCount() < end) { rt::DoEvents(); Sleep(5); }
    };
    pumpFor(150);
    EXPECT_EQ(ticks, 0);
    timer.SetEnabled(true);
    EXPECT_TRUE(PollUntil([&] { rt::DoEvents(); return ticks >= 2; }, 3000));
    timer.SetEnabled(false);
    const int stopped = ticks;
    pumpFor(150);
    EXPECT_EQ(ticks, stopped);

    timer.SetInterval(0);  // no period: no ticks even when enabled
    timer.SetEnabled(true);
    pumpFor(150);
    EXPECT_EQ(ticks, stopped);
    timer.SetInterval(-1000);
    EXPECT_EQ(timer.Interval(), 0u);
    timer.SetInterval(int64_t{1} << 40);
    EXPECT_EQ(timer.Interval(), static_cast<uint32_t>(USER_TIMER_MAXIMUM));
    timer.SetInterval(1);
    EXPECT_EQ(timer.Interval(), static_cast<uint32_t>(USER_TIMER_MINIMUM));
    timer.SetEnabled(false);
    form.Unload();
}

}  // namespace
}  // namespace kpv
