#include <gtest/gtest.h>

#include <vector>

#include "runtime/picture/exif_orientation.h"
#include "runtime/picture/picture_orientation.h"

using namespace kpv::rt;

namespace {

// The stored picture, 3 x 2, as letters:   a b c
//                                          d e f
// and what each orientation shows, line by line, following the EXIF definitions of where the stored first
// line and first column belong.
const std::vector<std::vector<std::string>> kSeen = {
    {},
    {"abc", "def"},
    {"cba", "fed"},
    {"fed", "cba"},
    {"def", "abc"},
    {"ad", "be", "cf"},
    {"da", "eb", "fc"},
    {"fc", "eb", "da"},
    {"cf", "be", "ad"},
};

uint32_t Pixel(char letter) { return 0xFF000000u | static_cast<uint32_t>(letter); }

std::vector<std::string> Placed(int orientation, int bandLines) {
    const int w = 3, h = 2;
    const char stored[2][4] = {"abc", "def"};
    const int seenW = SwapsAxes(orientation) ? h : w, seenH = SwapsAxes(orientation) ? w : h;
    const size_t seenStride = seenW + 5;  // lines wider than the picture, as in a padded bitmap
    std::vector<uint32_t> seen(seenStride * seenH, 0xDEADBEEF);
    const BandLayout layout{w, h, orientation};
    for (int first = 0; first < h; first += bandLines) {
        const int lines = std::min(bandLines, h - first);
        const size_t bandStride = w + 2;
        std::vector<uint32_t> band(bandStride * lines, 0);
        for (int r = 0; r < lines; ++r)
            for (int x = 0; x < w; ++x) band[r * bandStride + x] = Pixel(stored[first + r][x]);
        PlaceBand(layout, band.data(), bandStride, first, lines, seen.data(), seenStride);
    }
    std::vector<std::string> out;
    for (int y = 0; y < seenH; ++y) {
        std::string line;
        for (int x = 0; x < seenW; ++x) {
            const uint32_t p = seen[y * seenStride + x];
            line += (p >> 24) == 0 ? static_cast<char>(p) : '?';  // '?': not placed, or fourth byte kept
        }
        out.push_back(line);
        for (size_t x = seenW; x < seenStride; ++x) EXPECT_EQ(seen[y * seenStride + x], 0xDEADBEEF) << "padding";
    }
    return out;
}

}  // namespace

TEST(PictureOrientation, EachOrientationTurnsAndMirrorsAsDefined) {
    for (int o = 1; o <= 8; ++o) {
        EXPECT_EQ(Placed(o, 2), kSeen[o]) << "orientation " << o;
        EXPECT_EQ(Placed(o, 1), kSeen[o]) << "orientation " << o << " in one-line bands";
    }
}

TEST(PictureOrientation, OnlyQuarterTurnsSwapTheAxes) {
    for (int o : {1, 2, 3, 4}) EXPECT_FALSE(SwapsAxes(o));
    for (int o : {5, 6, 7, 8}) EXPECT_TRUE(SwapsAxes(o));
    EXPECT_FALSE(SwapsAxes(0));
    EXPECT_FALSE(SwapsAxes(9));
    EXPECT_EQ(Placed(0, 2), kSeen[1]);  // out of range is upright
}

TEST(PictureOrientation, ClearFourthByteKeepsTheColour) {
    std::vector<uint32_t> p = {0xFF123456, 0x00ABCDEF, 0x80000001};
    ClearFourthByte(p.data(), p.size());
    EXPECT_EQ(p, (std::vector<uint32_t>{0x00123456, 0x00ABCDEF, 0x00000001}));
}

TEST(ExifOrientation, MalformedStructuresAreUpright) {
    auto le = [](std::vector<uint8_t> b) { return ExifOrientation(b); };
    // II, 42, directory at 8, one entry: orientation SHORT 1 value 6.
    const std::vector<uint8_t> good = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0};
    EXPECT_EQ(le(good), 6);
    for (size_t n = 0; n < good.size(); ++n) EXPECT_EQ(le({good.begin(), good.begin() + n}), 1) << n;
    auto bad = good;
    bad[2] = 43;  // not TIFF
    EXPECT_EQ(le(bad), 1);
    bad = good;
    bad[0] = 'M';  // mixed byte-order mark
    EXPECT_EQ(le(bad), 1);
    bad = good;
    bad[4] = 0xF0;  // directory beyond the end
    EXPECT_EQ(le(bad), 1);
    bad = good;
    bad[7] = 0xFF;  // directory offset near 4 GB
    EXPECT_EQ(le(bad), 1);
    bad = good;
    bad[8] = 0xFF;
    bad[9] = 0xFF;
    bad[10] = 0x10;  // 65535 entries announced, one present, and that one another tag
    EXPECT_EQ(le(bad), 1);
    bad = good;
    bad[12] = 2;  // ASCII instead of a number
    EXPECT_EQ(le(bad), 1);
    bad = good;
    bad[14] = 0;  // count 0
    EXPECT_EQ(le(bad), 1);
}

TEST(ExifOrientation, LongValuesAndBigEndian) {
    const std::vector<uint8_t> longLe = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 4, 0, 1, 0, 0, 0, 8, 0, 0, 0};
    EXPECT_EQ(ExifOrientation(longLe), 8);
    const std::vector<uint8_t> shortBe = {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, 5, 0, 0};
    EXPECT_EQ(ExifOrientation(shortBe), 5);
}
