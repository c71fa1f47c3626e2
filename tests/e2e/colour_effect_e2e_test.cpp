// The colour effect as the user sees it: a show of one picture with sepia (or monochrome) always on puts
// only recoloured pixels where the picture lands, and leaves the background and the picture's place alone.
// Sepia pixels are recognised by their own arithmetic (green = 2/3 red, blue = 1/3 red, rounded down), which
// no ordinary colour picture, grey picture or the blue background satisfies by chance.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>

#include "support/driver_win.h"

using namespace kpv::test;

namespace {

// The pictures are made at build time, one per folder, beside the screen saver.
std::wstring PictureFolder(const wchar_t* name) {
    const std::wstring scr = ScrPath();
    return scr.substr(0, scr.find_last_of(L'\\')) + L"\\effect_pictures\\" + name + L"\\";
}

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }
std::wstring Wide(const std::string& s) {
    std::wstring w(s.begin(), s.end());
    for (wchar_t& ch : w) {
        if (ch == L'/') ch = L'_';
    }
    return w;
}

constexpr uint32_t kBlue = 0x000000FF;  // the fixed background, 0x00RRGGBB as captured
bool IsSepia(uint32_t p) {
    const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return g == r * 2 / 3 && b == r / 3;
}
bool IsGrey(uint32_t p) {
    const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return r == g && g == b;
}

struct EffectCase {
    const wchar_t* folder;
    RECT place;  // where the picture lands on the 1024 x 768 screen: centred, .5 rounded to even, the large
                 // one scaled down by its width
    int16_t edit;  // 1 monochrome; 2 sepia; 3 random, which for a single picture is always sepia
};

void PrintTo(const EffectCase& c, std::ostream* os) {
    *os << Narrow(c.folder) << " at " << c.place.left << "," << c.place.top << " Edit " << c.edit;
}

class ColourEffectOnScreen : public ::testing::TestWithParam<EffectCase> {
protected:
    void SetUp() override {
        DeleteProgramKey();
        const EffectCase c = GetParam();
        // Blue as a colour reference.
        WriteSettings({.path = PictureFolder(c.folder), .blockSize = 64, .backColor = 0x00FF0000, .edit = c.edit});
    }
    void TearDown() override {
        if (show_.Running()) show_.Kill();
        DeleteProgramKey();
    }
    Process show_;
};

// What a screenshot shows against what it should: recoloured pixels exactly where the picture lands, the
// background everywhere else.
int Area(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }

struct Verdict {
    int wrong = 0;
    int lit = 0;  // non-black pixels of the picture: black passes for sepia but is no picture
    std::string firstWrong;
};

Verdict Judge(const Screenshot& shot, const RECT& place, bool (*recoloured)(uint32_t)) {
    Verdict v;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const uint32_t p = shot.At(x, y);
            const bool inside = x >= place.left && x < place.right && y >= place.top && y < place.bottom;
            if (inside && p != 0) ++v.lit;
            if (inside ? recoloured(p) : p == kBlue) continue;
            if (v.wrong++ == 0) {
                char text[96];
                std::snprintf(text, sizeof text, "pixel %d,%d is %06x (%s)", x, y, p, inside ? "picture" : "background");
                v.firstWrong = text;
            }
        }
    }
    return v;
}

TEST_P(ColourEffectOnScreen, OnlyRecolouredPixelsWhereThePictureLands) {
    const EffectCase c = GetParam();
    const auto recoloured = c.edit == 1 ? IsGrey : IsSepia;
    show_ = StartProgram(ScrPath(), L"/s");
    ASSERT_NE(show_.handle(), nullptr);

    Screenshot shot;
    const RECT place = c.place;
    Verdict verdict;
    // The first reveal starts one view time after the show over a black desktop; the screen is judged until
    // the reveal is complete.
    PollUntil([&] {
        shot = CaptureScreen();
        verdict = Judge(shot, place, recoloured);
        return verdict.wrong == 0 && verdict.lit >= Area(place) * 99 / 100;  // black: not yet revealed
    }, 30000);
    shot.SaveBmp(TestDataDir() + L"\\colour_effect_" + Wide(::testing::UnitTest::GetInstance()->current_test_info()->name()) + L".bmp");

    EXPECT_EQ(verdict.wrong, 0) << verdict.firstWrong;
    EXPECT_GE(verdict.lit, Area(place) * 99 / 100) << "the test pictures have no black pixels of their own";
    // The picture's own first and last pixels, not the background: its size and place are kept.
    EXPECT_NE(shot.At(place.left, place.top), kBlue);
    EXPECT_NE(shot.At(place.right - 1, place.bottom - 1), kBlue);

    SendKey(VK_ESCAPE);
    EXPECT_EQ(show_.Wait(10000), 0) << "the show did not end on a key";
    EXPECT_EQ(ActiveFlag(), 0);
}

INSTANTIATE_TEST_SUITE_P(Pictures, ColourEffectOnScreen,
                         ::testing::Values(EffectCase{L"colour", {192, 144, 833, 623}, 2},   // 641 x 479
                                           EffectCase{L"grey", {254, 190, 771, 579}, 2},     // 517 x 389
                                           EffectCase{L"cmyk", {262, 198, 761, 571}, 2},     // 499 x 373
                                           EffectCase{L"oddbmp", {346, 278, 679, 489}, 2},   // 333 x 211
                                           EffectCase{L"large", {0, 84, 1024, 684}, 2},      // 2049 x 1201
                                           EffectCase{L"colour", {192, 144, 833, 623}, 1},
                                           EffectCase{L"oddbmp", {346, 278, 679, 489}, 3}),
                         [](const auto& test) {
                             return Narrow(test.param.folder) + (test.param.edit == 1   ? "_monochrome"
                                                                            : test.param.edit == 3 ? "_random_of_one_is_sepia"
                                                                                                   : "_sepia");
                         });

}  // namespace
