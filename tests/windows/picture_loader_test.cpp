// LoadPicture on real files: pixels as decoded, orientation applied, names at any length, refusals with their
// reasons, and no resources left behind.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>

#include "support/bytes.h"
#include "support/driver_win.h"
#include "support/process_resources_win.h"
#include "runtime/base/handles_win.h"
#include "runtime/picture/picture_win.h"

namespace kpv {
namespace {

using rt::LoadPicture;
using rt::Picture;
using rt::PictureLoadError;
using test::WriteFileBytes;

// The committed sample pictures beside this source file (a Unix path under Wine is drive Z:).
std::wstring SampleDir() {
    std::wstring here;
    for (const char* c = __FILE__; *c; ++c) here += static_cast<wchar_t>(*c == '/' ? '\\' : *c);
    if (!here.empty() && here[0] == L'\\') here = L"Z:" + here;
    here = here.substr(0, here.find_last_of(L'\\'));
    return here.substr(0, here.find_last_of(L'\\')) + L"\\data\\";
}

std::wstring Scratch(const std::wstring& name) {
    const std::wstring dir = test::TestDataDir() + L"\\picture_loader";
    test::MakeDirectory(dir);
    return dir + L"\\" + name;
}

Picture Load(const std::wstring& path, PictureLoadError expected = PictureLoadError::None) {
    PictureLoadError error = PictureLoadError::None;
    Picture p = LoadPicture(path, &error);
    EXPECT_EQ(error, expected) << std::string(path.begin(), path.end());
    EXPECT_EQ(p.empty(), expected != PictureLoadError::None);
    return p;
}

uint32_t At(const Picture& p, int x, int y) { return p.bits()[static_cast<size_t>(y) * (p.stride() / 4) + x]; }

// Close enough to a colour for lossy coding: each channel within tolerance, fourth byte 0.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 12) {
    if (actual >> 24) return ::testing::AssertionFailure() << std::hex << actual << " has a fourth byte";
    for (int shift : {0, 8, 16}) {
        const int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
        if (std::abs(a - e) > tolerance)
            return ::testing::AssertionFailure() << std::hex << actual << " is not near " << expected;
    }
    return ::testing::AssertionSuccess();
}

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// The four quadrant colours seen at the centres of the quadrants, top left first, clockwise.
struct Quadrants { uint32_t topLeft, topRight, bottomRight, bottomLeft; };
void ExpectQuadrants(const Picture& p, Quadrants q, int tolerance = 12) {
    ASSERT_FALSE(p.empty());
    const int x0 = p.width() / 4, x1 = p.width() * 3 / 4, y0 = p.height() / 4, y1 = p.height() * 3 / 4;
    EXPECT_TRUE(Near(At(p, x0, y0), q.topLeft, tolerance));
    EXPECT_TRUE(Near(At(p, x1, y0), q.topRight, tolerance));
    EXPECT_TRUE(Near(At(p, x1, y1), q.bottomRight, tolerance));
    EXPECT_TRUE(Near(At(p, x0, y1), q.bottomLeft, tolerance));
}

// A JPEG of the given pixels, coded by the platform's own encoder at its default quality.
std::string EncodeJpeg(int w, int h, uint32_t (*colour)(int, int)) {
    rt::ComApartment com;
    rt::ComPtr<IWICImagingFactory> factory;
    rt::ComPtr<IStream> stream;
    rt::ComPtr<IWICBitmapEncoder> encoder;
    rt::ComPtr<IWICBitmapFrameEncode> frame;
    rt::ComPtr<IPropertyBag2> options;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))) ||
        FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put())) || FAILED(frame->Initialize(options.get())) ||
        FAILED(frame->SetSize(w, h)))
        return {};
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return {};
    const UINT stride = UINT(w) * 3;
    std::string pixels(size_t(stride) * h, '\0');
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = colour(x, y);
            for (int i = 0; i < 3; ++i) pixels[size_t(y) * stride + x * 3 + i] = char(c >> (8 * i));
        }
    if (FAILED(frame->WritePixels(h, stride, UINT(pixels.size()), reinterpret_cast<BYTE*>(pixels.data()))) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return {};
    STATSTG stat{};
    LARGE_INTEGER zero{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(stream->Seek(zero, STREAM_SEEK_SET, nullptr))) return {};
    std::string bytes(size_t(stat.cbSize.QuadPart), '\0');
    ULONG read = 0;
    if (FAILED(stream->Read(bytes.data(), ULONG(bytes.size()), &read)) || read != bytes.size()) return {};
    return bytes;
}

// The JPEG with an APP1 Exif segment naming the orientation inserted right after its start marker.
std::string WithOrientation(const std::string& jpeg, int orientation, bool bigEndian) {
    const test::Bytes app1 = test::JpegBytes().Exif(test::Tiff(bigEndian, {{0x0112, 3, uint32_t(orientation)}})).bytes();
    return jpeg.substr(0, 2) + std::string(app1.begin() + 2, app1.end()) + jpeg.substr(2);
}

uint32_t Pattern(int x, int y) { return uint32_t((x * 7 + 3) & 0xFF) << 16 | uint32_t((y * 13) & 0xFF) << 8 | ((x + y) & 0xFF); }

}  // namespace

TEST(LoadPicture, BmpPixelsArriveExactlyTopLineFirst) {
    const std::wstring path = Scratch(L"pattern.bmp");
    ASSERT_TRUE(test::WriteBmp(path, 37, 23, Pattern));
    Picture p = Load(path);
    ASSERT_EQ(p.width(), 37);
    ASSERT_EQ(p.height(), 23);
    EXPECT_EQ(p.stride(), 37 * 4);
    ASSERT_NE(p.bitmap(), nullptr);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) ASSERT_EQ(At(p, x, y), Pattern(x, y)) << x << "," << y;
    // The bitmap is the DIB section whose bits these are.
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(p.bitmap(), sizeof dib, &dib), int(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmBits, p.bits());
    EXPECT_EQ(dib.dsBm.bmWidth, 37);
    EXPECT_EQ(dib.dsBm.bmHeight, 23);
    EXPECT_EQ(dib.dsBmih.biBitCount, 32);
}

TEST(LoadPicture, OpensTheListedNameAsItStandsAtAnyLength) {
    // Longer than 260 characters, which only the extended-length form reaches on Windows (Wine reaches it
    // either way), and named like a device, which the plain form takes for the device here too.
    std::wstring folder = L"\\\\?\\" + Scratch(L"long");
    for (wchar_t c = L'a'; folder.size() <= 270; ++c) folder += L"\\" + std::wstring(60, c);
    ASSERT_TRUE(test::MakeDirectory(folder));
    for (const wchar_t* name : {L"\\aux.bmp", L"\\plain.bmp"}) ASSERT_TRUE(test::WriteBmp(folder + name, 37, 23, Pattern));
    Picture p = Load(folder.substr(4) + L"\\aux.bmp");
    ASSERT_EQ(p.width(), 37);
    ASSERT_EQ(p.height(), 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) ASSERT_EQ(At(p, x, y), Pattern(x, y)) << x << "," << y;
    // A relative name is made full first.
    std::wstring previous(MAX_PATH, L'\0');
    previous.resize(GetCurrentDirectoryW(MAX_PATH, previous.data()));
    ASSERT_TRUE(SetCurrentDirectoryW(Scratch(L"").c_str()));
    EXPECT_EQ(Load(folder.substr(4 + Scratch(L"").size()) + L"\\plain.bmp").width(), 37);
    SetCurrentDirectoryW(previous.c_str());
}

TEST(LoadPicture, TopDownBmp) {
    ASSERT_TRUE(test::WriteBmp(Scratch(L"topdown.bmp"), 37, -23, Pattern));
    Picture p = Load(Scratch(L"topdown.bmp"));
    ASSERT_EQ(p.height(), 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) ASSERT_EQ(At(p, x, y), Pattern(x, y)) << x << "," << y;
}

TEST(LoadPicture, PaletteAndRunLengthBmps) {
    ExpectQuadrants(Load(SampleDir() + L"palette_4bit.bmp"), {kRed, kGreen, kWhite, kBlue}, 0);
    Picture rle = Load(SampleDir() + L"palette_rle8.bmp");
    EXPECT_EQ(rle.width(), 40);
    EXPECT_EQ(rle.height(), 30);
    ExpectQuadrants(rle, {kRed, kGreen, kWhite, kBlue}, 0);
}

TEST(LoadPicture, JpegKinds) {
    Picture baseline = Load(SampleDir() + L"quadrants.jpg");
    EXPECT_EQ(baseline.width(), 48);
    EXPECT_EQ(baseline.height(), 32);
    ExpectQuadrants(baseline, {kRed, kGreen, kWhite, kBlue});
    // Grey and progressive: a vertical ramp from dark to light, grey on every line.
    for (const wchar_t* name : {L"grey.jpg", L"progressive.jpg"}) {
        Picture p = Load(SampleDir() + name);
        ASSERT_EQ(p.width(), 64);
        ASSERT_EQ(p.height(), 48);
        for (int y = 0; y < 48; y += 5) {
            const uint32_t c = At(p, 10, y);
            EXPECT_TRUE(Near(c, (c & 0xFF) * 0x010101u, 2)) << y;  // red = green = blue
        }
        EXPECT_LT(At(p, 10, 2) & 0xFF, 0x40u);
        EXPECT_GT(At(p, 10, 45) & 0xFF, 0xC0u);
    }
    ExpectQuadrants(Load(SampleDir() + L"cmyk.jpg"), {kRed, kGreen, kWhite, kBlue}, 40);
}

TEST(LoadPicture, EveryOrientationAcrossManyBands) {
    // Tall and wide enough for several decoding bands; each turned decode must be the upright decode of
    // the same coded data, moved pixel for pixel.
    const std::string upright = EncodeJpeg(150, 230, Pattern);
    ASSERT_FALSE(upright.empty());
    WriteFileBytes(Scratch(L"o1.jpg"), upright);
    Picture a = Load(Scratch(L"o1.jpg"));
    ASSERT_EQ(a.width(), 150);
    ASSERT_EQ(a.height(), 230);
    const int w = a.width(), h = a.height();
    for (int o = 2; o <= 8; ++o) {
        const std::wstring path = Scratch(L"o" + std::to_wstring(o) + L".jpg");
        WriteFileBytes(path, WithOrientation(upright, o, o % 2 == 0));
        Picture b = Load(path);
        const bool turned = o >= 5;
        ASSERT_EQ(b.width(), turned ? h : w) << o;
        ASSERT_EQ(b.height(), turned ? w : h) << o;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int sx = x, sy = y;  // where stored (x, y) is seen
                switch (o) {
                case 2: sx = w - 1 - x; break;
                case 3: sx = w - 1 - x; sy = h - 1 - y; break;
                case 4: sy = h - 1 - y; break;
                case 5: sx = y; sy = x; break;
                case 6: sx = h - 1 - y; sy = x; break;
                case 7: sx = h - 1 - y; sy = w - 1 - x; break;
                case 8: sx = y; sy = w - 1 - x; break;
                }
                ASSERT_EQ(At(b, sx, sy), At(a, x, y)) << "orientation " << o << " at " << x << "," << y;
            }
        }
    }
}

TEST(LoadPicture, RefusalsSayWhy) {
    Load(Scratch(L"no such file.jpg"), PictureLoadError::Missing);
    Load(Scratch(L"no such folder\\x.bmp"), PictureLoadError::Missing);
    test::MakeDirectory(Scratch(L"folder.jpg"));
    Load(Scratch(L"folder.jpg"), PictureLoadError::Missing);
    WriteFileBytes(Scratch(L"text.jpg"), "not a picture at all\r\n");
    Load(Scratch(L"text.jpg"), PictureLoadError::NotAPicture);
    Load(SampleDir() + L"claims_60000x60000.jpg", PictureLoadError::TooLarge);
    Load(SampleDir() + L"truncated_header.jpg", PictureLoadError::DecodeFailed);  // refused by its header
    Load(SampleDir() + L"truncated_progressive.jpg", PictureLoadError::DecodeFailed);  // by the decoder
    // Without somewhere to put the reason.
    EXPECT_TRUE(LoadPicture(Scratch(L"no such file.jpg")).empty());
    EXPECT_TRUE(LoadPicture(SampleDir() + L"claims_60000x60000.jpg").empty());
}

TEST(LoadPicture, JpegCutInsideItsCodedData) {
    // Long enough to pass the header's own checks, so the decoder itself meets the missing end.
    const std::string whole = EncodeJpeg(800, 600, Pattern);
    ASSERT_GT(whole.size(), 20000u);
    for (size_t keep : {whole.size() / 2, whole.size() * 9 / 10, whole.size() - 2}) {
        const std::wstring path = Scratch(L"cut" + std::to_wstring(keep) + L".jpg");
        WriteFileBytes(path, whole.substr(0, keep));
        Load(path, PictureLoadError::DecodeFailed);
    }
}

TEST(LoadPicture, PictureIsMoveOnlyAndCreatesBlank) {
    Picture p = Picture::Create(5, 4);
    ASSERT_FALSE(p.empty());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(At(p, x, y), 0u);
    const HBITMAP bitmap = p.bitmap();
    Picture q = std::move(p);
    EXPECT_TRUE(p.empty());
    EXPECT_EQ(p.bitmap(), nullptr);
    EXPECT_EQ(p.width(), 0);
    EXPECT_EQ(q.bitmap(), bitmap);
    EXPECT_EQ(q.width(), 5);
    q.reset();
    EXPECT_TRUE(q.empty());
    EXPECT_TRUE(Picture::Create(0, 4).empty());
    EXPECT_TRUE(Picture::Create(4, -1).empty());
    EXPECT_TRUE(Picture::Create(40000, 1).empty());
}

TEST(LoadPicture, NoHandlesOrGdiObjectsLeftBehind) {
    const std::wstring bmp = Scratch(L"pattern.bmp");
    ASSERT_TRUE(test::WriteBmp(bmp, 37, 23, Pattern));
    const std::wstring names[] = {bmp, SampleDir() + L"quadrants.jpg", SampleDir() + L"portrait_orientation6.jpg",
                                  SampleDir() + L"claims_60000x60000.jpg", SampleDir() + L"truncated.jpg",
                                  Scratch(L"no such file.jpg"), Scratch(L"text.jpg")};
    for (const auto& n : names) LoadPicture(n);  // first use loads the codecs
    const HANDLE self = GetCurrentProcess();
    const long handlesBefore = test::HandleCount(self), gdiBefore = test::GdiObjectCount(self);
    ASSERT_GT(handlesBefore, 0);
    ASSERT_GT(gdiBefore, 0);
    for (int round = 0; round < 20; ++round)
        for (const auto& n : names) LoadPicture(n);
    EXPECT_EQ(test::HandleCount(self), handlesBefore);
    EXPECT_EQ(test::GdiObjectCount(self), gdiBefore);
}

TEST(LoadPicture, EntersComOnlyForTheCallAndWorksInEitherApartment) {
    std::thread plain([] {
        Picture p = LoadPicture(SampleDir() + L"quadrants.jpg");
        EXPECT_FALSE(p.empty());
        // COM was left again: this thread can still choose its apartment.
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(hr, S_OK);
        if (SUCCEEDED(hr)) CoUninitialize();
    });
    plain.join();
    std::thread multi([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_FALSE(LoadPicture(SampleDir() + L"quadrants.jpg").empty());
        CoUninitialize();
    });
    multi.join();
}

TEST(LoadPicture, TheFileCannotChangeWhileItIsRead) {
    // The loader's handle shares reading only; another process holding the file for writing keeps it out.
    const std::wstring path = Scratch(L"held.bmp");
    ASSERT_TRUE(test::WriteBmp(path, 8, 8, Pattern));
    rt::UniqueFile writer(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    Load(path, PictureLoadError::Missing);
    writer.reset();
    Load(path);
}

}  // namespace kpv
