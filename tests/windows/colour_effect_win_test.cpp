// Recolouring bitmaps in place: device-dependent bitmaps through the bits transfer, DIB sections in memory.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "effects/colour_effect_win.h"
#include "effects/picture_bits_win.h"
#include "message_watch.h"
#include "runtime/base/handles_win.h"
#include "support/bitmaps_win.h"

namespace kpv {
namespace {

using test::Bgrx;
using test::DibSection;
using test::ScreenBitmap;

void Fill(HBITMAP image, uint32_t pixel) {
    const SIZE size = PictureSize(image);
    PixelGrid grid(size.cx, size.cy);
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) grid.At(x, y) = pixel;
    ASSERT_TRUE(WritePictureBits(nullptr, image, grid));
}

PixelGrid Read(HBITMAP image) {
    const SIZE size = PictureSize(image);
    PixelGrid grid(size.cx, size.cy);
    EXPECT_TRUE(ReadPictureBits(nullptr, image, grid));
    return grid;
}

TEST(ApplyColourEffect, ScreenBitmapOfPureRedTurnsSepiaWithFourthByteZero) {
    rt::UniqueBitmap image = ScreenBitmap(5, 3);  // odd width and height
    Fill(image.get(), Bgrx(255, 0, 0, 0x7F));
    rt::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    rt::SelectedObject inBox(dc.get(), image.get());  // as a picture box holds its image
    ApplyColourEffect(dc.get(), image.get(), EffectKind::Sepia);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), image.get());
    const PixelGrid after = Read(image.get());
    ASSERT_EQ(after.Width(), 5);
    ASSERT_EQ(after.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(after.At(x, y), Bgrx(85, 56, 28)) << x << "," << y;
}

TEST(ApplyColourEffect, MonochromeAndNoneOnAMixedPicture) {
    rt::UniqueBitmap image = ScreenBitmap(2, 1);
    PixelGrid grid(2, 1);
    grid.At(0, 0) = Bgrx(10, 20, 60, 0x11);
    grid.At(1, 0) = Bgrx(200, 200, 200);
    ASSERT_TRUE(WritePictureBits(nullptr, image.get(), grid));
    ApplyColourEffect(nullptr, image.get(), EffectKind::None);
    PixelGrid after = Read(image.get());
    EXPECT_EQ(after.At(0, 0), Bgrx(10, 20, 60));  // colours kept, fourth byte cleared
    ApplyColourEffect(nullptr, image.get(), EffectKind::Monochrome);
    after = Read(image.get());
    EXPECT_EQ(after.At(0, 0), Bgrx(30, 30, 30));
    EXPECT_EQ(after.At(1, 0), Bgrx(200, 200, 200));
}

TEST(ApplyColourEffect, ImageInItsOwnMemoryIsRecolouredWhereGdiDrew) {
    // What a caller holding its own 32-bit top-down DIB section does: no transfer, just its memory.
    void* bits = nullptr;
    rt::UniqueBitmap dib = DibSection(3, -2, 32, &bits);
    ASSERT_TRUE(dib);
    rt::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    rt::SelectedObject selected(dc.get(), dib.get());
    RECT all{0, 0, 3, 2};
    rt::UniqueBrush white(CreateSolidBrush(RGB(255, 255, 255)));
    FillRect(dc.get(), &all, white.get());
    SetPixelV(dc.get(), 2, 0, RGB(255, 0, 0));
    ApplyColourEffectToImage(static_cast<uint32_t*>(bits), 3, 2, RECT{1, 0, 3, 1}, EffectKind::Sepia);
    EXPECT_EQ(GetPixel(dc.get(), 2, 0), RGB(85, 56, 28));
    EXPECT_EQ(GetPixel(dc.get(), 1, 0), RGB(255, 170, 85));
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc.get(), 2, 1), RGB(255, 255, 255));
    // Rectangles beyond the image, or no image at all, change nothing.
    ApplyColourEffectToImage(static_cast<uint32_t*>(bits), 3, 2, RECT{LONG_MIN, 1, LONG_MAX, -5}, EffectKind::Sepia);
    ApplyColourEffectToImage(nullptr, 3, 2, RECT{0, 0, 3, 2}, EffectKind::Sepia);
    EXPECT_EQ(GetPixel(dc.get(), 0, 1), RGB(255, 255, 255));
}

TEST(ApplyColourEffect, OnlyThePartIsRecolouredInEveryKindOfBitmap) {
    void* bits = nullptr;
    rt::UniqueBitmap bottomUp = DibSection(6, 5, 32, &bits);
    rt::UniqueBitmap topDown = DibSection(6, -5, 32, &bits);
    rt::UniqueBitmap rgb24 = DibSection(6, 5, 24, &bits);
    rt::UniqueBitmap ddb = ScreenBitmap(6, 5);
    for (HBITMAP image : {bottomUp.get(), topDown.get(), rgb24.get(), ddb.get()}) {
        Fill(image, Bgrx(255, 0, 0));
        ApplyColourEffectToPart(nullptr, image, RECT{1, 2, 4, 7}, EffectKind::Sepia);  // runs off the bottom
        ApplyColourEffectToPart(nullptr, image, RECT{LONG_MIN, LONG_MIN, LONG_MIN + 1, LONG_MAX}, EffectKind::Sepia);
        ApplyColourEffectToPart(nullptr, image, RECT{5, 0, 2, 5}, EffectKind::Sepia);  // right of left: empty
        const PixelGrid after = Read(image);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 6; ++x) {
                const bool inside = x >= 1 && x < 4 && y >= 2;
                EXPECT_EQ(after.At(x, y) & 0xFFFFFF, inside ? Bgrx(85, 56, 28) : Bgrx(255, 0, 0)) << x << "," << y;
            }
        }
    }
}

TEST(ApplyColourEffect, UnreadablePictureIsReportedOnceAndNotBlackened) {
    rt::UniqueBitmap image = ScreenBitmap(2, 2);
    HBITMAP gone = CreateCompatibleBitmap(rt::WindowDc::Get(nullptr).get(), 2, 2);
    DeleteObject(gone);
    const auto shown = test::MessagesShownBy([&] { ApplyColourEffect(nullptr, gone, EffectKind::Sepia); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, L"ビットマップデータの取得に失敗しました。");
}

}  // namespace
}  // namespace kpv
