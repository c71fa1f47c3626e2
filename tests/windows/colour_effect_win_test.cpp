// Recolouring the part of an image in its own memory where GDI drew a picture.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstdint>

#include "effects/colour_effect_win.h"
#include "runtime/base/handles_win.h"
#include "support/bitmaps_win.h"

namespace kpv {
namespace {

TEST(ApplyColourEffect, ImageInItsOwnMemoryIsRecolouredWhereGdiDrew) {
    void* bits = nullptr;
    rt::UniqueBitmap dib = test::DibSection(3, -2, 32, &bits);
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
    ApplyColourEffectToImage(static_cast<uint32_t*>(bits), 3, 2, RECT{2, 0, 1, 2}, EffectKind::Sepia);
    ApplyColourEffectToImage(nullptr, 3, 2, RECT{0, 0, 3, 2}, EffectKind::Sepia);
    EXPECT_EQ(GetPixel(dc.get(), 0, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc.get(), 1, 1), RGB(255, 255, 255));
}

}  // namespace
}  // namespace kpv
