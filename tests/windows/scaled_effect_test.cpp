// Recolouring the picture after it is scaled onto the background gives the screen exactly what recolouring it
// at its own size before the copy gives: a nearest-pixel copy only picks source pixels, and the recolour
// treats every pixel on its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <ostream>
#include <random>

#include "effects/colour_effect_win.h"
#include "runtime/base/handles_win.h"
#include "support/bitmaps_win.h"

namespace kpv {
namespace {

struct Placement {
    int sourceWidth, sourceHeight;  // the loaded picture
    int x, y, destWidth, destHeight;  // where it lands in the window-sized picture
};

void PrintTo(const Placement& p, std::ostream* os) {
    *os << p.sourceWidth << "x" << p.sourceHeight << " to " << p.destWidth << "x" << p.destHeight << " at " << p.x
        << "," << p.y;
}

constexpr int kWindowWidth = 1024, kWindowHeight = 768;
constexpr uint32_t kBackground = 0x00996633;  // RGB(0x99, 0x66, 0x33) as a pixel

// A 32-bit top-down DIB section and its pixels (0x00RRGGBB, top line first).
struct Image {
    Image(int width, int height) : w(width), h(height) {
        void* memory = nullptr;
        bitmap = test::DibSection(w, -h, 32, &memory);
        bits = static_cast<uint32_t*>(memory);
    }
    uint32_t At(int x, int y) const { return bits[static_cast<size_t>(y) * w + x] & 0xFFFFFF; }
    int w, h;
    rt::UniqueBitmap bitmap;
    uint32_t* bits = nullptr;
};

void FillWithNoise(Image& picture, unsigned seed) {
    std::mt19937 gen(seed);
    for (int i = 0; i < picture.w * picture.h; ++i) picture.bits[i] = gen();
}

// The window-sized picture: background, then the picture copied pixel-picking onto its place.
void Compose(Image& target, const Image& picture, const Placement& p) {
    rt::UniqueMemoryDc to(CreateCompatibleDC(nullptr)), from(CreateCompatibleDC(nullptr));
    rt::SelectedObject toSel(to.get(), target.bitmap.get()), fromSel(from.get(), picture.bitmap.get());
    rt::UniqueBrush background(CreateSolidBrush(RGB(0x99, 0x66, 0x33)));
    RECT all{0, 0, kWindowWidth, kWindowHeight};
    FillRect(to.get(), &all, background.get());
    SetStretchBltMode(to.get(), COLORONCOLOR);
    StretchBlt(to.get(), p.x, p.y, p.destWidth, p.destHeight, from.get(), 0, 0, p.sourceWidth, p.sourceHeight,
               SRCCOPY);
    GdiFlush();
}

class ScaledEffect : public ::testing::TestWithParam<Placement> {};

TEST_P(ScaledEffect, RecolouringAfterTheCopyMatchesRecolouringBefore) {
    const Placement p = GetParam();
    for (EffectKind kind : {EffectKind::Sepia, EffectKind::Monochrome}) {
        // At the picture's own size, then copied.
        Image recoloured(p.sourceWidth, p.sourceHeight);
        FillWithNoise(recoloured, 1234u + p.sourceWidth);
        ApplyColourEffectToImage(recoloured.bits, p.sourceWidth, p.sourceHeight,
                                 RECT{0, 0, p.sourceWidth, p.sourceHeight}, kind);
        Image expected(kWindowWidth, kWindowHeight);
        Compose(expected, recoloured, p);

        // Copied, then only where the copy landed recoloured.
        Image original(p.sourceWidth, p.sourceHeight);
        FillWithNoise(original, 1234u + p.sourceWidth);
        Image got(kWindowWidth, kWindowHeight);
        Compose(got, original, p);
        ApplyColourEffectToImage(got.bits, kWindowWidth, kWindowHeight,
                                 RECT{p.x, p.y, p.x + p.destWidth, p.y + p.destHeight}, kind);

        int mismatches = 0;
        for (int y = 0; y < kWindowHeight; ++y) {
            for (int x = 0; x < kWindowWidth; ++x) {
                const uint32_t w = expected.At(x, y), g = got.At(x, y);
                if (w != g && ++mismatches <= 5) ADD_FAILURE() << "pixel " << x << "," << y << std::hex << " want " << w << " got " << g;
            }
        }
        EXPECT_EQ(mismatches, 0) << "kind " << static_cast<int>(kind);
        // Both the background and the effect are really there.
        if (p.x > 0) {
            EXPECT_EQ(got.At(p.x - 1, p.y), kBackground);
        }
        if (p.y > 0) {
            EXPECT_EQ(got.At(p.x, p.y - 1), kBackground);
        }
        const uint32_t inside = got.At(p.x + p.destWidth / 2, p.y + p.destHeight / 2);
        const uint32_t red = (inside >> 16) & 0xFF, green = (inside >> 8) & 0xFF, blue = inside & 0xFF;
        if (kind == EffectKind::Monochrome) {
            EXPECT_TRUE(red == green && green == blue) << std::hex << inside;
        }
        if (kind == EffectKind::Sepia) {
            EXPECT_EQ(green, red * 2 / 3) << std::hex << inside;
        }
    }
}

// The placements a 1024 x 768 window gives: fitting pictures copied one to one, larger ones scaled down by
// the tighter axis, odd sizes and odd offsets included.
INSTANTIATE_TEST_SUITE_P(Placements, ScaledEffect,
                         ::testing::Values(Placement{640, 480, 192, 144, 640, 480},
                                           Placement{643, 481, 190, 144, 643, 481},
                                           Placement{1, 1, 512, 384, 1, 1},
                                           Placement{2048, 1024, 0, 128, 1024, 512},
                                           Placement{1000, 1500, 256, 0, 512, 768},
                                           Placement{2048, 1536, 0, 0, 1024, 768},
                                           Placement{1997, 1333, 0, 43, 1024, 683},
                                           Placement{1201, 3001, 358, 0, 307, 768}));

}  // namespace
}  // namespace kpv
