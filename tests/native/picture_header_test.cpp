#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "support/bytes.h"
#include "runtime/picture/picture_header.h"

using namespace kpv::rt;
using namespace kpv::test;

namespace {

PictureHeader Read(const Bytes& b) { return ReadPictureHeader(std::span<const uint8_t>(b)); }

// A baseline colour JPEG as encoders write it: JFIF, tables, frame, scan, end.
JpegBytes Baseline(unsigned w, unsigned h) {
    JpegBytes j;
    j.App(0, 14).Tables().Frame(0xC0, w, h).Tables().Scan(4096).End();
    return j;
}

void ExpectAccepted(const PictureHeader& h, PictureFormat format, int w, int ht, int orientation = 1) {
    EXPECT_EQ(h.verdict, HeaderVerdict::Accepted);
    EXPECT_EQ(h.format, format);
    EXPECT_EQ(h.width, w);
    EXPECT_EQ(h.height, ht);
    EXPECT_EQ(h.orientation, orientation);
}

}  // namespace

TEST(JpegHeader, FrameSizeOfBaselineAndProgressive) {
    ExpectAccepted(Read(Baseline(640, 480).bytes()), PictureFormat::Jpeg, 640, 480);
    JpegBytes progressive;
    progressive.App(0, 14).Tables().Frame(0xC2, 4000, 3000).Scan(40000).End();
    ExpectAccepted(Read(progressive.bytes()), PictureFormat::Jpeg, 4000, 3000);
}

TEST(JpegHeader, EveryHuffmanStartOfFrameMarkerGivesTheSize) {
    for (uint8_t m : {0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7}) {
        JpegBytes j;
        j.Tables().Frame(m, 33, 17, {0x11}).Scan(200).End();
        ExpectAccepted(Read(j.bytes()), PictureFormat::Jpeg, 33, 17);
    }
}

TEST(JpegHeader, ArithmeticCodedFramesAreNotDecoded) {
    // Nothing bounds how little data arithmetic coding needs, so a tiny file could claim any size.
    for (uint8_t m : {0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}) {
        JpegBytes j;
        j.Tables().Frame(m, 3000, 3000, {0x11}).Scan(200).End();
        const PictureHeader h = Read(j.bytes());
        EXPECT_EQ(h.verdict, HeaderVerdict::NotAPicture) << int(m);
        EXPECT_EQ(h.format, PictureFormat::Jpeg);
    }
}

TEST(JpegHeader, TablesAndReservedMarkersInTheFrameRangeAreNoFrame) {
    // DHT, JPG and DAC carry C4, C8 and CC: a file whose only "frame" is one of them has no size.
    for (uint8_t m : {0xC4, 0xC8, 0xCC}) {
        JpegBytes j;
        j.Frame(m, 33, 17, {0x11}).Scan(200).End();
        EXPECT_EQ(Read(j.bytes()).verdict, HeaderVerdict::Damaged) << int(m);
    }
}

TEST(JpegHeader, FrameAfterLargeApplicationSegments) {
    JpegBytes j;
    j.App(0, 14).App(1, 65533, 0xFF).App(2, 65533, 0xD9).App(13, 40000, 0xC0).App(14, 12).Tables()
        .Frame(0xC0, 1234, 567).Scan(40000).End();
    ExpectAccepted(Read(j.bytes()), PictureFormat::Jpeg, 1234, 567);
}

TEST(JpegHeader, FillBytesAndGarbageBetweenSegmentsAreSkipped) {
    JpegBytes j;
    j.App(0, 14).Raw({0xFF, 0xFF, 0xFF}).Tables().Raw({0x00, 0x13, 0xFF, 0x00, 0x37})
        .Frame(0xC2, 300, 200).Scan(500).End();
    ExpectAccepted(Read(j.bytes()), PictureFormat::Jpeg, 300, 200);
}

TEST(JpegHeader, MalformedStructureIsDamaged) {
    auto damaged = [](const JpegBytes& j) { return Read(j.bytes()).verdict == HeaderVerdict::Damaged; };
    JpegBytes noScan;
    noScan.Tables().Frame(0xC0, 64, 64).End();
    EXPECT_TRUE(damaged(noScan));
    JpegBytes scanBeforeFrame;
    scanBeforeFrame.Tables().Scan(100).Frame(0xC0, 64, 64).End();
    EXPECT_TRUE(damaged(scanBeforeFrame));
    JpegBytes twoFrames;
    twoFrames.Frame(0xC0, 64, 64).Frame(0xC2, 64, 64).Scan(500).End();
    EXPECT_TRUE(damaged(twoFrames));
    JpegBytes heightLater;  // a zero height announces a DNL segment
    heightLater.Frame(0xC2, 64, 0).Scan(500).End();
    EXPECT_TRUE(damaged(heightLater));
    JpegBytes zeroWidth;
    zeroWidth.Frame(0xC2, 0, 64).Scan(500).End();
    EXPECT_TRUE(damaged(zeroWidth));
    JpegBytes badSampling;
    badSampling.Frame(0xC2, 64, 64, {0x51}).Scan(500).End();
    EXPECT_TRUE(damaged(badSampling));
    JpegBytes wrongComponentCount;
    wrongComponentCount.Segment(0xC2, {8, 0, 64, 0, 64, 3, 1, 0x11, 0}).Scan(500).End();
    EXPECT_TRUE(damaged(wrongComponentCount));
    JpegBytes shortLength;
    shortLength.Raw({0xFF, 0xE0, 0x00, 0x01}).Frame(0xC2, 64, 64).Scan(500).End();
    EXPECT_TRUE(damaged(shortLength));
    JpegBytes secondStart;
    secondStart.Raw({0xFF, 0xD8}).Frame(0xC2, 64, 64).Scan(500).End();
    EXPECT_TRUE(damaged(secondStart));
}

TEST(JpegHeader, SegmentRunningPastTheEndIsDamaged) {
    Bytes b = JpegBytes().App(0, 14).bytes();
    b.insert(b.end(), {0xFF, 0xE1, 0xFF, 0xFF, 1, 2, 3});
    EXPECT_EQ(Read(b).verdict, HeaderVerdict::Damaged);
}

TEST(JpegHeader, EveryTruncationIsRefusedWithoutCrashing) {
    JpegBytes j;
    j.App(0, 14).Exif(Tiff(false, {{0x0112, 3, 6}})).Tables().Frame(0xC0, 64, 48).Tables().Scan(200).End();
    const Bytes& full = j.bytes();
    ExpectAccepted(Read(full), PictureFormat::Jpeg, 64, 48, 6);
    // Every cut before the scan's data leaves no complete frame-and-scan header.
    const size_t scanData = full.size() - 200 - 2;
    for (size_t n = 0; n < scanData; ++n) {
        const Bytes cut(full.begin(), full.begin() + n);
        const PictureHeader h = Read(cut);
        EXPECT_NE(h.verdict, HeaderVerdict::Accepted) << n;
        EXPECT_EQ(h.format, n >= 2 ? PictureFormat::Jpeg : PictureFormat::Unknown) << n;
    }
}

TEST(JpegHeader, CodedDataMustBeLongEnoughForTheSize) {
    // 1024 x 1024 grey: 16384 blocks, so at least 4096 bytes of coded data.
    auto grey = [](size_t data) {
        JpegBytes j;
        j.Tables().Frame(0xC0, 1024, 1024, {0x11}).Scan(data);
        return Read(j.bytes()).verdict;
    };
    EXPECT_EQ(grey(4096), HeaderVerdict::Accepted);
    EXPECT_EQ(grey(4095), HeaderVerdict::Damaged);
    EXPECT_EQ(grey(100), HeaderVerdict::Damaged);
    // 4:2:0 colour 64 x 48: 48 luma blocks and 12 of each chroma, 72 in all: 18 bytes.
    JpegBytes colour;
    colour.Frame(0xC0, 64, 48).Scan(18);
    EXPECT_EQ(Read(colour.bytes()).verdict, HeaderVerdict::Accepted);
    JpegBytes colourShort;
    colourShort.Frame(0xC0, 64, 48).Scan(17);
    EXPECT_EQ(Read(colourShort.bytes()).verdict, HeaderVerdict::Damaged);
    // Progressive scans may code whole runs of empty blocks in a few bits, but every block's DC difference
    // still takes one bit: 2048 bytes for the same grey 1024 x 1024.
    auto progressive = [](size_t data) {
        JpegBytes j;
        j.Tables().Frame(0xC2, 1024, 1024, {0x11}).Scan(data);
        return Read(j.bytes()).verdict;
    };
    EXPECT_EQ(progressive(2048), HeaderVerdict::Accepted);
    EXPECT_EQ(progressive(2047), HeaderVerdict::Damaged);
    EXPECT_EQ(progressive(20), HeaderVerdict::Damaged);
}

TEST(JpegHeader, AbsurdSizesAreTooLarge) {
    auto verdict = [](unsigned w, unsigned h) {
        JpegBytes j;
        j.Tables().Frame(0xC2, w, h, {0x11}).Scan(size_t(w) * h / 64 / 8 + 8192).End();
        return Read(j.bytes()).verdict;
    };
    EXPECT_EQ(verdict(60000, 60000), HeaderVerdict::TooLarge);
    EXPECT_EQ(verdict(32768, 16), HeaderVerdict::TooLarge);
    EXPECT_EQ(verdict(16, 32768), HeaderVerdict::TooLarge);
    EXPECT_EQ(verdict(32767, 16), HeaderVerdict::Accepted);
    EXPECT_EQ(verdict(11585, 11585), HeaderVerdict::Accepted);  // 134,212,225 pixels
    EXPECT_EQ(verdict(11586, 11586), HeaderVerdict::TooLarge);  // 134,235,396 pixels
    EXPECT_EQ(verdict(32767, 4096), HeaderVerdict::Accepted);
    EXPECT_EQ(verdict(32767, 4097), HeaderVerdict::TooLarge);
    // The claim alone decides: even a baseline file far too short for it is reported as too large.
    JpegBytes tiny;
    tiny.Tables().Frame(0xC0, 60000, 60000).Scan(16).End();
    const PictureHeader h = Read(tiny.bytes());
    EXPECT_EQ(h.verdict, HeaderVerdict::TooLarge);
    EXPECT_EQ(h.width, 60000);
}

TEST(JpegHeader, ExifOrientationInBothByteOrders) {
    for (bool bigEndian : {false, true}) {
        for (int o = 1; o <= 8; ++o) {
            JpegBytes j;
            j.Exif(Tiff(bigEndian, {{0x010F, 2, 0}, {0x0112, 3, uint32_t(o)}, {0x8769, 4, 0}}))
                .Tables().Frame(0xC0, 64, 48).Scan(100).End();
            ExpectAccepted(Read(j.bytes()), PictureFormat::Jpeg, 64, 48, o);
        }
    }
}

TEST(JpegHeader, ExifFoundBehindOtherSegmentsAndOnlyTheFirstCounts) {
    JpegBytes j;
    Bytes xmp = {'h', 't', 't', 'p', ':', '/', '/'};
    xmp.resize(3000, 'x');
    j.App(0, 14).Segment(0xE1, xmp).App(2, 60000).Exif(Tiff(true, {{0x0112, 3, 8}}))
        .Exif(Tiff(true, {{0x0112, 3, 3}})).Tables().Frame(0xC0, 64, 48).Scan(100).End();
    EXPECT_EQ(Read(j.bytes()).orientation, 8);
    // Between the frame and the scan still counts.
    JpegBytes late;
    late.Tables().Frame(0xC2, 64, 48).Exif(Tiff(false, {{0x0112, 3, 6}})).Scan(10).End();
    EXPECT_EQ(Read(late.bytes()).orientation, 6);
}

TEST(JpegHeader, NoOrMeaninglessOrientationIsUpright) {
    for (uint32_t value : {0u, 9u, 0xFFFFu}) {
        JpegBytes j;
        j.Exif(Tiff(false, {{0x0112, 3, value}})).Frame(0xC2, 64, 48).Scan(10).End();
        EXPECT_EQ(Read(j.bytes()).orientation, 1) << value;
    }
    JpegBytes none;
    none.App(1, 100).Frame(0xC2, 64, 48).Scan(10).End();
    EXPECT_EQ(Read(none.bytes()).orientation, 1);
}

TEST(PictureHeader, OtherFilesAreNotPictures) {
    const Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0};
    const Bytes text = {'h', 'e', 'l', 'l', 'o'};
    for (const Bytes& b : {png, gif, text, Bytes{}, Bytes{0xFF}, Bytes{'B'}, Bytes{0xFF, 0xD9}}) {
        const PictureHeader h = Read(b);
        EXPECT_EQ(h.verdict, HeaderVerdict::NotAPicture);
        EXPECT_EQ(h.format, PictureFormat::Unknown);
    }
}

TEST(BmpHeader, SizeFromEveryHeaderKind) {
    for (uint32_t info : {12u, 40u, 52u, 56u, 64u, 108u, 124u}) {
        BmpFields f;
        f.infoSize = info;
        f.width = 7;
        f.height = 5;
        ExpectAccepted(Read(Bmp(f)), PictureFormat::Bmp, 7, 5);
    }
}

TEST(BmpHeader, TopDownHeightIsNegative) {
    BmpFields f;
    f.height = -9;
    ExpectAccepted(Read(Bmp(f)), PictureFormat::Bmp, 4, 9);
}

TEST(BmpHeader, PaletteRunLengthAndBitfieldKinds) {
    BmpFields palette;
    palette.bits = 8;
    palette.paletteEntries = 256;
    palette.width = 13;
    ExpectAccepted(Read(Bmp(palette)), PictureFormat::Bmp, 13, 3);
    BmpFields oneBit;
    oneBit.bits = 1;
    oneBit.paletteEntries = 2;
    oneBit.width = 33;
    ExpectAccepted(Read(Bmp(oneBit)), PictureFormat::Bmp, 33, 3);
    BmpFields rle8;  // run-length data is far smaller than the picture
    rle8.bits = 8;
    rle8.compression = 1;
    rle8.paletteEntries = 256;
    rle8.width = 2000;
    rle8.height = 1000;
    rle8.pixelBytes = 20;
    ExpectAccepted(Read(Bmp(rle8)), PictureFormat::Bmp, 2000, 1000);
    BmpFields rle4 = rle8;
    rle4.bits = 4;
    rle4.compression = 2;
    rle4.paletteEntries = 16;
    ExpectAccepted(Read(Bmp(rle4)), PictureFormat::Bmp, 2000, 1000);
    BmpFields fields;
    fields.bits = 32;
    fields.compression = 3;
    fields.pixelOffset = 14 + 40 + 12;
    ExpectAccepted(Read(Bmp(fields)), PictureFormat::Bmp, 4, 3);
}

TEST(BmpHeader, KindsTheLoaderDoesNotDecodeAreNotPictures) {
    for (auto [bits, compression] : {std::pair{0, 4}, {0, 5}, {24, 1}, {8, 2}, {24, 3}, {8, 9}}) {
        BmpFields f;
        f.bits = static_cast<uint16_t>(bits);
        f.compression = static_cast<uint32_t>(compression);
        const PictureHeader h = Read(Bmp(f));
        EXPECT_EQ(h.verdict, HeaderVerdict::NotAPicture) << bits << "/" << compression;
        EXPECT_EQ(h.format, PictureFormat::Bmp);
    }
}

TEST(BmpHeader, PixelDataMustLieInsideTheFile) {
    BmpFields f;
    f.width = 100;
    f.height = 100;
    const size_t whole = Bmp(f).size();
    f.pixelBytes = 300 * 99 + 300;  // the last line's padding (none here) may be missing
    EXPECT_EQ(Read(Bmp(f)).verdict, HeaderVerdict::Accepted);
    f.pixelBytes -= 1;
    EXPECT_EQ(Read(Bmp(f)).verdict, HeaderVerdict::Damaged);
    BmpFields padded;  // 5 x 2 at 24 bits: lines of 16 bytes, 15 of them pixels
    padded.width = 5;
    padded.height = 2;
    padded.pixelBytes = 16 + 15;
    EXPECT_EQ(Read(Bmp(padded)).verdict, HeaderVerdict::Accepted);
    padded.pixelBytes = 16 + 14;
    EXPECT_EQ(Read(Bmp(padded)).verdict, HeaderVerdict::Damaged);
    // A tiny file that claims a large uncompressed picture.
    BmpFields liar;
    liar.width = 20000;
    liar.height = 5000;
    liar.pixelBytes = 64;
    EXPECT_EQ(Read(Bmp(liar)).verdict, HeaderVerdict::Damaged);
    EXPECT_GT(whole, 30000u);
}

TEST(BmpHeader, MalformedHeadersAreDamaged) {
    auto verdict = [](BmpFields f) { return Read(Bmp(f)).verdict; };
    BmpFields f;
    f.infoSize = 20;
    EXPECT_EQ(verdict(f), HeaderVerdict::Damaged);
    f = {};
    f.width = 0;
    EXPECT_EQ(verdict(f), HeaderVerdict::Damaged);
    f = {};
    f.width = -5;
    f.pixelBytes = 100;
    EXPECT_EQ(verdict(f), HeaderVerdict::Damaged);
    f = {};
    f.height = 0;
    f.pixelBytes = 100;
    EXPECT_EQ(verdict(f), HeaderVerdict::Damaged);
    f = {};
    f.bits = 8;
    f.compression = 1;
    f.height = -3;  // run-length data is always stored bottom line first
    f.pixelBytes = 10;
    EXPECT_EQ(verdict(f), HeaderVerdict::Damaged);
    f = {};
    f.pixelOffset = 20;  // inside the headers
    f.pixelBytes = 100;
    EXPECT_EQ(verdict(f), HeaderVerdict::Damaged);
    f = {};
    f.bits = 12;
    EXPECT_EQ(verdict(f), HeaderVerdict::NotAPicture);
    f = {};
    f.height = INT32_MIN;
    f.pixelBytes = 16;
    EXPECT_NE(verdict(f), HeaderVerdict::Accepted);
}

TEST(BmpHeader, AbsurdSizesAreTooLarge) {
    BmpFields f;
    f.bits = 8;
    f.compression = 1;
    f.pixelBytes = 4;
    f.width = 60000;
    f.height = 60000;
    EXPECT_EQ(Read(Bmp(f)).verdict, HeaderVerdict::TooLarge);
    f.width = 32767;
    f.height = 4096;
    EXPECT_EQ(Read(Bmp(f)).verdict, HeaderVerdict::Accepted);
    f.height = 4097;
    EXPECT_EQ(Read(Bmp(f)).verdict, HeaderVerdict::TooLarge);
    f.width = 0x7FFFFFFF;
    f.height = 1;
    EXPECT_EQ(Read(Bmp(f)).verdict, HeaderVerdict::TooLarge);
}

TEST(BmpHeader, EveryTruncationIsRefusedWithoutCrashing) {
    BmpFields f;
    f.infoSize = 124;
    f.bits = 8;
    f.paletteEntries = 256;
    f.width = 9;
    f.height = 7;
    const Bytes full = Bmp(f);
    ASSERT_EQ(Read(full).verdict, HeaderVerdict::Accepted);
    const size_t lastLineStart = full.size() - 12;  // 9 pixels in a 12-byte line
    for (size_t n = 0; n < full.size(); ++n) {
        const PictureHeader h = Read(Bytes(full.begin(), full.begin() + n));
        if (n >= lastLineStart + 9) EXPECT_EQ(h.verdict, HeaderVerdict::Accepted) << n;
        else EXPECT_NE(h.verdict, HeaderVerdict::Accepted) << n;
    }
}

TEST(PictureHeader, GarbageAndMutationsNeverCrash) {
    std::mt19937 gen(12345);
    JpegBytes jpeg;
    jpeg.App(0, 14).Exif(Tiff(true, {{0x0112, 3, 6}, {0x0100, 4, 640}})).Tables().Frame(0xC0, 64, 48)
        .Tables().Scan(300).End();
    BmpFields f;
    f.infoSize = 108;
    f.bits = 4;
    f.compression = 2;
    f.paletteEntries = 16;
    f.pixelBytes = 40;
    const Bytes seeds[] = {jpeg.bytes(), Bmp(f)};
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        Bytes b = seeds[round % 2];
        const int edits = 1 + static_cast<int>(gen() % 8);
        for (int e = 0; e < edits; ++e) {
            const size_t at = gen() % b.size();
            switch (gen() % 3) {
            case 0: b[at] = static_cast<uint8_t>(gen()); break;
            case 1: b.resize(at + 1); break;
            default: b.insert(b.begin() + static_cast<ptrdiff_t>(at), static_cast<uint8_t>(gen() % 2 ? 0xFF : gen()));
            }
        }
        const PictureHeader h = Read(b);
        if (h.verdict == HeaderVerdict::Accepted) {
            ++accepted;
            EXPECT_GT(h.width, 0);
            EXPECT_GT(h.height, 0);
            EXPECT_LE(int64_t{h.width} * h.height, kMaxPicturePixels);
            EXPECT_GE(h.orientation, 1);
            EXPECT_LE(h.orientation, 8);
        }
    }
    EXPECT_GT(accepted, 0);
    for (int round = 0; round < 2000; ++round) {
        Bytes b(gen() % 600);
        for (auto& x : b) x = static_cast<uint8_t>(gen());
        if (round % 2 && b.size() >= 2) { b[0] = 0xFF; b[1] = 0xD8; }
        Read(b);
    }
}

TEST(PictureHeader, ReadsThroughAByteSourceWithoutTheWholeFile) {
    // A source that serves at most 100 bytes per read and counts what it was asked for.
    class Dribble final : public ByteSource {
    public:
        explicit Dribble(Bytes b) : bytes_(std::move(b)) {}
        uint64_t Size() const override { return bytes_.size(); }
        size_t ReadAt(uint64_t offset, uint8_t* out, size_t n) override {
            if (offset >= bytes_.size()) return 0;
            const size_t count = std::min<size_t>({n, 100, bytes_.size() - offset});
            std::copy_n(bytes_.begin() + static_cast<ptrdiff_t>(offset), count, out);
            served += count;
            return count;
        }
        size_t served = 0;
    private:
        Bytes bytes_;
    };
    JpegBytes j;
    j.App(2, 60000).Frame(0xC2, 64, 48).Scan(500000).End();
    Dribble source(j.bytes());
    const PictureHeader h = ReadPictureHeader(source);
    EXPECT_EQ(h.verdict, HeaderVerdict::Accepted);
    EXPECT_LT(source.served, 10000u);  // segments are skipped, not read
}

TEST(PictureHeader, CommittedSamples) {
    // Files made with the usual encoders, beside the Windows tests that decode them.
    const std::filesystem::path data = std::filesystem::path(__FILE__).parent_path().parent_path() / "data";
    auto load = [&](const char* name) {
        std::ifstream in(data / name, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    };
    ExpectAccepted(Read(load("portrait_orientation6.jpg")), PictureFormat::Jpeg, 48, 32, 6);
    ExpectAccepted(Read(load("progressive.jpg")), PictureFormat::Jpeg, 64, 48);
    EXPECT_EQ(Read(load("claims_60000x60000.jpg")).verdict, HeaderVerdict::TooLarge);
    EXPECT_EQ(Read(load("truncated.jpg")).verdict, HeaderVerdict::Damaged);
    EXPECT_EQ(Read(load("claims_3000x3000_progressive.jpg")).verdict, HeaderVerdict::Damaged);
    EXPECT_EQ(Read(load("arithmetic.jpg")).verdict, HeaderVerdict::NotAPicture);
    // Cut near its end: the header cannot tell, so the decoder meets it (and must refuse it).
    ExpectAccepted(Read(load("truncated_progressive.jpg")), PictureFormat::Jpeg, 64, 48);
    ExpectAccepted(Read(load("palette_rle8.bmp")), PictureFormat::Bmp, 40, 30);
}
