// The stored settings' byte rules: the picture folder text and numbers filling their fields' low bytes.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "runtime/base/error_report.h"
#include "settings/settings_layout.h"

using kpv::FillLowOrderBytes;
using kpv::LittleEndianBytes;
using kpv::PictureFolderFrom;

TEST(PictureFolder, GainsOneTrailingBackslash) {
    EXPECT_EQ(PictureFolderFrom(std::wstring(L"C:\\Pictures"), L"C:\\Prog"), L"C:\\Pictures\\");
    EXPECT_EQ(PictureFolderFrom(std::wstring(L"C:\\Pictures\\"), L"C:\\Prog"), L"C:\\Pictures\\");
    EXPECT_EQ(PictureFolderFrom(std::wstring(L"\\\\srv\\share"), L"C:\\Prog"), L"\\\\srv\\share\\");
}

TEST(PictureFolder, EmptyStoredTextIsTheCurrentDriveRoot) {
    EXPECT_EQ(PictureFolderFrom(std::wstring(), L"C:\\Prog"), L"\\");
    EXPECT_EQ(PictureFolderFrom(std::wstring(L"\0abc", 4), L"C:\\Prog"), L"\\");
}

TEST(PictureFolder, StoredTextIsCutAtTheFirstNul) {
    std::wstring buffer(L"D:\\a\0D:\\b\\", 10);
    buffer.resize(520, L'\0');
    EXPECT_EQ(PictureFolderFrom(buffer, L"C:\\Prog"), L"D:\\a\\");
}

TEST(PictureFolder, UnreadableValueFallsBackToTheProgramFolder) {
    EXPECT_EQ(PictureFolderFrom(std::nullopt, L"C:\\Program Files\\KPV"), L"C:\\Program Files\\KPV\\");
    // A program in a drive's root: the root as it is, no doubled backslash.
    EXPECT_EQ(PictureFolderFrom(std::nullopt, L"C:\\"), L"C:\\");
    EXPECT_EQ(PictureFolderFrom(std::nullopt, L"C:\\\u753B\u50CF"), L"C:\\\u753B\u50CF\\");
}

TEST(PictureFolder, BufferLeavesRoomForTheLongestTextAndItsNul) {
    EXPECT_EQ(kpv::kPathAnnouncedBytes, 261u);
    EXPECT_GE(kpv::kPathBufferBytes, kpv::kPathAnnouncedBytes + 1);
}

TEST(NumericField, ShorterDataFillsOnlyTheLowOrderBytes) {
    int16_t blockSize = 0;
    const std::vector<uint8_t> nine{9};
    FillLowOrderBytes(blockSize, nine);
    EXPECT_EQ(blockSize, 9);

    blockSize = 0x1200;
    FillLowOrderBytes(blockSize, nine);
    EXPECT_EQ(blockSize, 0x1209);

    int32_t speed = 0x11223344;
    const std::vector<uint8_t> two{0x01, 0x02};
    FillLowOrderBytes(speed, two);
    EXPECT_EQ(speed, 0x11220201);

    uint32_t colour = 0xFFFFFFFF;
    FillLowOrderBytes(colour, std::vector<uint8_t>{});
    EXPECT_EQ(colour, 0xFFFFFFFFu);
}

TEST(NumericField, FullWidthDataIsLittleEndianAndSigned) {
    int16_t interval = 7;
    FillLowOrderBytes(interval, std::vector<uint8_t>{0xFE, 0xFF});
    EXPECT_EQ(interval, -2);
    int32_t speed = 0;
    FillLowOrderBytes(speed, std::vector<uint8_t>{0x20, 0x4E, 0x00, 0x00});
    EXPECT_EQ(speed, 20000);
    uint32_t colour = 0;
    FillLowOrderBytes(colour, std::vector<uint8_t>{0x05, 0x00, 0x00, 0x80});
    EXPECT_EQ(colour, 0x80000005u);
    // Longer data than the field is never copied past it.
    int16_t small = 0;
    FillLowOrderBytes(small, std::vector<uint8_t>{1, 2, 3, 4});
    EXPECT_EQ(small, 0x0201);
}

TEST(NumericField, StoredBytesReadBackToTheSameValue) {
    EXPECT_EQ(LittleEndianBytes<int16_t>(1), (std::array<uint8_t, 2>{0x01, 0x00}));
    EXPECT_EQ(LittleEndianBytes<int16_t>(-1), (std::array<uint8_t, 2>{0xFF, 0xFF}));
    EXPECT_EQ(LittleEndianBytes<uint32_t>(0x00808080), (std::array<uint8_t, 4>{0x80, 0x80, 0x80, 0x00}));
    for (int32_t v : {0, 1, -1, 20000, -2147483647 - 1, 2147483647}) {
        int32_t back = 0x5A5A5A5A;
        const auto bytes = LittleEndianBytes(v);
        FillLowOrderBytes(back, bytes);
        EXPECT_EQ(back, v);
    }
}

TEST(ErrorReport, DescriptionBlankNumberInParentheses) {
    EXPECT_EQ(kpv::rt::ErrorReportText(L"\u30D1\u30B9\u304C\u898B\u3064\u304B\u308A\u307E\u305B\u3093\u3002", 3),
              L"\u30D1\u30B9\u304C\u898B\u3064\u304B\u308A\u307E\u305B\u3093\u3002 (3)");
    EXPECT_EQ(kpv::rt::ErrorReportText(L"x", -2147024891), L"x (-2147024891)");
}
