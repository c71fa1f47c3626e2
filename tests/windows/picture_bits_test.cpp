// Pixels in and out of bitmaps, checked against what GDI itself draws and reads.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "support/bitmaps_win.h"
#include "support/driver_win.h"
#include "support/process_resources_win.h"
#include "effects/picture_bits_win.h"
#include "runtime/base/app_info_win.h"
#include "runtime/base/handles_win.h"
#include "message_watch.h"

namespace kpv {
namespace {

using test::Bgrx;

// A bitmap of the screen's kind selected into a memory context, as a picture box holds its image.
struct BoxImage {
    BoxImage(int w, int h) {
        rt::WindowDc screen = rt::WindowDc::Get(nullptr);
        dc.reset(CreateCompatibleDC(screen.get()));
        image.reset(CreateCompatibleBitmap(screen.get(), w, h));
        previous = SelectObject(dc.get(), image.get());
    }
    ~BoxImage() { SelectObject(dc.get(), previous); }
    rt::UniqueMemoryDc dc;
    rt::UniqueBitmap image;
    HGDIOBJ previous = nullptr;
};

PixelGrid Pattern(int w, int h, uint8_t fourth) {
    PixelGrid grid(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            grid.At(x, y) = Bgrx(uint8_t(17 * x + 3), uint8_t(29 * y + 5), uint8_t(x * 7 + y * 11), fourth);
    return grid;
}

void ExpectSameGrid(const PixelGrid& a, const PixelGrid& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) EXPECT_EQ(a.At(x, y), b.At(x, y)) << "at " << x << "," << y;
}

// The one message a call showed, "" when it showed none; more than one fails the test.
std::wstring MessageShownBy(const std::function<void()>& action, std::wstring* caption = nullptr) {
    const auto shown = test::MessagesShownBy(action);
    EXPECT_LE(shown.size(), 1u);
    if (shown.empty()) return {};
    if (caption) *caption = shown[0].caption;
    return shown[0].text;
}

const std::wstring kReadFailed = L"ビットマップデータの取得に失敗しました。";
const std::wstring kWriteFailed = L"ビットマップデータの書き込みに失敗しました。";

TEST(PictureBits, RoundTripsKeepEveryPixelIncludingOddWidths) {
    for (SIZE size : {SIZE{1, 1}, SIZE{3, 2}, SIZE{5, 7}, SIZE{1, 9}}) {
        BoxImage box(size.cx, size.cy);
        const PixelGrid written = Pattern(size.cx, size.cy, 0);
        ASSERT_TRUE(WritePictureBits(box.dc.get(), box.image.get(), written));
        PixelGrid read(size.cx, size.cy);
        ASSERT_TRUE(ReadPictureBits(box.dc.get(), box.image.get(), read));
        ExpectSameGrid(read, written);
    }
}

TEST(PictureBits, TopLineOfThePictureLandsInGridLineZero) {
    BoxImage box(3, 2);
    RECT top{0, 0, 3, 1}, bottom{0, 1, 3, 2};
    rt::UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0))), blue(CreateSolidBrush(RGB(0, 0, 255)));
    FillRect(box.dc.get(), &top, red.get());
    FillRect(box.dc.get(), &bottom, blue.get());
    SetPixelV(box.dc.get(), 2, 0, RGB(0, 255, 0));  // top-right corner: also pins the column order
    PixelGrid grid(3, 2);
    ASSERT_TRUE(ReadPictureBits(box.dc.get(), box.image.get(), grid));
    EXPECT_EQ(grid.At(0, 0) & 0xFFFFFF, Bgrx(255, 0, 0));
    EXPECT_EQ(grid.At(2, 0) & 0xFFFFFF, Bgrx(0, 255, 0));
    EXPECT_EQ(grid.At(0, 1) & 0xFFFFFF, Bgrx(0, 0, 255));
    EXPECT_EQ(grid.At(2, 1) & 0xFFFFFF, Bgrx(0, 0, 255));

    // And the other way: grid line 0 is what GDI sees at the top.
    PixelGrid out(3, 2);
    out.At(1, 0) = Bgrx(10, 20, 30);
    out.At(1, 1) = Bgrx(40, 50, 60);
    ASSERT_TRUE(WritePictureBits(box.dc.get(), box.image.get(), out));
    EXPECT_EQ(GetPixel(box.dc.get(), 1, 0), RGB(10, 20, 30));
    EXPECT_EQ(GetPixel(box.dc.get(), 1, 1), RGB(40, 50, 60));
}

TEST(PictureBits, FourthByteIsCarriedThroughAReadAndAWrite) {
    // A 32-bit DIB section keeps the fourth byte in memory, so what it held is checked there too.
    void* bits = nullptr;
    rt::UniqueBitmap dib = test::DibSection(3, 2, 32, &bits);
    ASSERT_TRUE(dib);
    auto* memory = static_cast<uint32_t*>(bits);
    for (int i = 0; i < 6; ++i) memory[i] = Bgrx(uint8_t(i), uint8_t(2 * i), uint8_t(3 * i), uint8_t(0xA0 + i));

    PixelGrid grid(3, 2);
    ASSERT_TRUE(ReadPictureBits(nullptr, dib.get(), grid));
    EXPECT_EQ(grid.At(0, 1), memory[0]);  // bottom-up memory: first line is the bottom
    EXPECT_EQ(grid.At(2, 0), memory[5]);
    for (int i = 0; i < 6; ++i) memory[i] = 0;
    ASSERT_TRUE(WritePictureBits(nullptr, dib.get(), grid));
    GdiFlush();
    for (int i = 0; i < 6; ++i) EXPECT_EQ(memory[i] >> 24, 0xA0u + i) << i;

    // Through a bitmap of the screen's kind as well.
    BoxImage box(3, 2);
    const PixelGrid written = Pattern(3, 2, 0xAB);
    ASSERT_TRUE(WritePictureBits(box.dc.get(), box.image.get(), written));
    PixelGrid read(3, 2);
    ASSERT_TRUE(ReadPictureBits(box.dc.get(), box.image.get(), read));
    ExpectSameGrid(read, written);
}

TEST(PictureBits, BoxContextHoldsItsOwnImageAgainAfterEveryCall) {
    BoxImage box(4, 4);
    PixelGrid grid(4, 4);
    ASSERT_TRUE(ReadPictureBits(box.dc.get(), box.image.get(), grid));
    EXPECT_EQ(GetCurrentObject(box.dc.get(), OBJ_BITMAP), box.image.get());
    ASSERT_TRUE(WritePictureBits(box.dc.get(), box.image.get(), grid));
    EXPECT_EQ(GetCurrentObject(box.dc.get(), OBJ_BITMAP), box.image.get());
    // Drawing into the box still reaches the image.
    SetPixelV(box.dc.get(), 0, 0, RGB(1, 2, 3));
    ASSERT_TRUE(ReadPictureBits(box.dc.get(), box.image.get(), grid));
    EXPECT_EQ(grid.At(0, 0) & 0xFFFFFF, Bgrx(1, 2, 3));
}

TEST(PictureBits, ManyTransfersLeakNoGdiObjects) {
    BoxImage box(8, 8);
    PixelGrid grid(8, 8);
    const long before = test::GdiObjectCount(GetCurrentProcess());
    ASSERT_GT(before, 0);
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(ReadPictureBits(box.dc.get(), box.image.get(), grid));
        ASSERT_TRUE(WritePictureBits(box.dc.get(), box.image.get(), grid));
    }
    ASSERT_TRUE(ReadPictureBits(nullptr, box.image.get(), grid));  // a bitmap in no context of ours
    EXPECT_LE(test::GdiObjectCount(GetCurrentProcess()), before + 2);
}

TEST(PictureBits, FailedReadIsReportedAndLeavesTheGridAsItWas) {
    BoxImage box(2, 2);
    HBITMAP gone = CreateCompatibleBitmap(box.dc.get(), 2, 2);
    DeleteObject(gone);
    PixelGrid grid = Pattern(2, 2, 0x55);
    const PixelGrid before = grid;
    bool ok = true;
    std::wstring caption;
    EXPECT_EQ(MessageShownBy([&] { ok = ReadPictureBits(box.dc.get(), gone, grid); }, &caption), kReadFailed);
    EXPECT_FALSE(ok);
    EXPECT_EQ(caption, rt::AppTitle());
    ExpectSameGrid(grid, before);
    EXPECT_EQ(GetCurrentObject(box.dc.get(), OBJ_BITMAP), box.image.get());

    // A grid of another size is refused rather than overrun.
    PixelGrid small(1, 2);
    EXPECT_EQ(MessageShownBy([&] { ok = ReadPictureBits(box.dc.get(), box.image.get(), small); }), kReadFailed);
    EXPECT_FALSE(ok);
}

TEST(PictureBits, FailedWriteIsReportedAndTheImageKeepsItsPixels) {
    BoxImage box(2, 2);
    const PixelGrid original = Pattern(2, 2, 0);
    ASSERT_TRUE(WritePictureBits(box.dc.get(), box.image.get(), original));
    bool ok = true;
    PixelGrid wrong(3, 2);
    EXPECT_EQ(MessageShownBy([&] { ok = WritePictureBits(box.dc.get(), box.image.get(), wrong); }), kWriteFailed);
    EXPECT_FALSE(ok);
    PixelGrid read(2, 2);
    ASSERT_TRUE(ReadPictureBits(box.dc.get(), box.image.get(), read));
    ExpectSameGrid(read, original);

    EXPECT_EQ(MessageShownBy([&] { ok = WritePictureBits(box.dc.get(), nullptr, original); }), kWriteFailed);
    EXPECT_FALSE(ok);
}

TEST(PictureBits, SizeComesFromTheBitmap) {
    BoxImage box(7, 3);
    const SIZE size = PictureSize(box.image.get());
    EXPECT_EQ(size.cx, 7);
    EXPECT_EQ(size.cy, 3);
    EXPECT_EQ(PictureSize(nullptr).cx, 0);
}

}  // namespace
}  // namespace kpv
