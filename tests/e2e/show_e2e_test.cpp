// The real show: started with /s on a folder of generated pictures and a fixed background, it reveals the
// picture centred on the background, ends on a key, a click or a mouse move beyond 10 pixels, and clears
// "Active". Pictures that cannot be loaded are passed over.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <set>
#include <string>

#include "support/driver_win.h"
#include "support/process_resources_win.h"

namespace kpv {
namespace {

using namespace kpv::test;

constexpr uint32_t kBackground = 0x2060A0;  // as 0x00RRGGBB: red 0x20, green 0x60, blue 0xA0
constexpr uint32_t kBackColorRef = 0xA06020;  // the same colour as a colour reference (0x00BBGGRR)

uint32_t PicturePixel(int x, int y) {
    return (static_cast<uint32_t>((x * 3) & 0xFF) << 16) | (static_cast<uint32_t>((y * 5) & 0xFF) << 8) |
           static_cast<uint32_t>((x + 2 * y) & 0xFF);
}

void WriteShowSettings(const std::wstring& folder, int16_t blockSize, int16_t interval) {
    DeleteProgramKey();
    WriteSettings({.path = folder + L"\\", .interval = interval, .blockSize = blockSize, .backColor = kBackColorRef});
}

// One good 640 x 480 picture among files that look like pictures but cannot be loaded.
std::wstring MakePictureFolder(const std::wstring& name) {
    const std::wstring folder = FreshFolder(name);
    WriteBmp(folder + L"\\good.bmp", 640, 480, PicturePixel);
    WriteFileBytes(folder + L"\\not_a_picture.jpg", "this is plain text, not a JPEG");
    WriteFileBytes(folder + L"\\empty.bmp", "");
    WriteFileBytes(folder + L"\\truncated.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11));
    return folder;
}

HWND ShowWindowOf(const Process& p) {
    return WaitForWindow(p.pid(), [](HWND w) { return IsWindowVisible(w) != FALSE; }, 15000);
}

// Counts the pixels that differ from the picture centred at (192, 144) on the background.
long Mismatches(const Screenshot& s) {
    long bad = 0;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const bool inside = x >= 192 && x < 832 && y >= 144 && y < 624;
            const uint32_t want = inside ? PicturePixel(x - 192, y - 144) : kBackground;
            bad += (s.At(x, y) & 0xFFFFFF) != want ? 1 : 0;
        }
    return bad;
}

bool WaitForFirstReveal(Screenshot& shot, int timeoutMs) {
    return PollUntil([&] {
        shot = CaptureScreen();
        return shot.width == 1024 && shot.height == 768 && Mismatches(shot) == 0;
    }, timeoutMs);
}

class ShowTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (program.Running()) program.Kill();
        if (HasFailure()) CaptureScreen().SaveBmp(TestDataDir() + L"\\show_failure.bmp");
    }
    Process program;
};

// One show for both: the picture pixel for pixel, then a key ends it and clears the flag.
TEST_F(ShowTest, RevealsThePictureCentredOnTheBackgroundPixelForPixelAndAKeyEndsIt) {
    WriteShowSettings(MakePictureFolder(L"show_pixels"), 32, 1);
    MoveMouseTo(500, 400);
    ASSERT_TRUE(PaintScreen(0x808080)) << "nothing of an earlier show left on the screen";
    program = StartProgram(ScrPath(), L"/s");
    HWND w = ShowWindowOf(program);
    ASSERT_NE(w, nullptr);
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 1024);
    EXPECT_EQ(r.bottom, 768);
    EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Screenshot shot;
    const bool revealed = WaitForFirstReveal(shot, 20000);
    if (!revealed) shot.SaveBmp(TestDataDir() + L"\\show_pixels.bmp");
    ASSERT_TRUE(revealed) << Mismatches(shot) << " pixels differ";
    EXPECT_EQ(ActiveFlag(), 1);
    ASSERT_TRUE(program.Running());
    SendKey('A');
    EXPECT_EQ(program.Wait(5000), 0);
    EXPECT_EQ(ActiveFlag(), 0);
}

TEST_F(ShowTest, AClickEndsTheShow) {
    WriteShowSettings(MakePictureFolder(L"show_click"), 50, 1);
    MoveMouseTo(300, 300);
    program = StartProgram(ScrPath(), L"/s");
    ASSERT_NE(ShowWindowOf(program), nullptr);
    Sleep(500);
    ClickMouse();
    EXPECT_EQ(program.Wait(5000), 0);
    EXPECT_EQ(ActiveFlag(), 0);
}

TEST_F(ShowTest, TenPixelsOfMouseMovementKeepTheShowElevenEndIt) {
    WriteShowSettings(MakePictureFolder(L"show_mouse"), 50, 1);
    MoveMouseTo(500, 400);
    ASSERT_TRUE(PaintScreen(0x808080));
    program = StartProgram(ScrPath(), L"/s");
    ASSERT_NE(ShowWindowOf(program), nullptr);
    // The first mouse-move the window handles takes the reference where the cursor is then: at (500, 400),
    // or at (500, 401) after this move. Once the first picture is revealed the window has handled both.
    MoveMouseTo(500, 401);
    Screenshot shot;
    ASSERT_TRUE(WaitForFirstReveal(shot, 20000));
    // Every step within 10 px of both possible references, on each axis.
    const POINT steps[] = {{510, 400}, {490, 400}, {500, 410}, {500, 391}, {510, 410}, {490, 391}};
    for (const POINT& p : steps) {
        MoveMouseTo(p.x, p.y);
        EXPECT_FALSE(PollUntil([&] { return !program.Running(); }, 300)) << "ended at " << p.x << "," << p.y;
    }
    MoveMouseTo(511, 400);  // 11 px from either
    EXPECT_EQ(program.Wait(5000), 0);
    EXPECT_EQ(ActiveFlag(), 0);
}

TEST_F(ShowTest, WhenNoPictureCanBeLoadedTheShowSaysSoAndEnds) {
    const std::wstring folder = FreshFolder(L"show_none_loadable");
    WriteFileBytes(folder + L"\\a.jpg", "not a jpeg");
    WriteFileBytes(folder + L"\\b.bmp", "BM not a bitmap");
    WriteShowSettings(folder, 32, 1);
    program = StartProgram(ScrPath(), L"/s");
    HWND box = WaitForMessageBox(program.pid(), 15000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"指定されたフォルダには、表示できる画像ファイルが存在しません。");
    PressButton(box, IDOK);
    EXPECT_EQ(program.Wait(5000), 0);
    EXPECT_EQ(ActiveFlag(), 1) << "ending at once after the message leaves the flag set";
}

// How far the picture on the screen reaches along the middle row: 320 for the leak test's small picture,
// 1024 for its wide one and 192 for its tall one as placed.
int WidthOnScreen(const Screenshot& s) {
    int first = -1, last = -1;
    for (int x = 0; x < s.width; ++x) {
        if (s.At(x, s.height / 2) == kBackground) continue;
        if (first < 0) first = x;
        last = x;
    }
    return last - first + 1;
}

// GDI objects, handles and memory stay level from one picture to the next, pictures of different sizes
// (larger and smaller than the screen) alternating while the counts are taken.
TEST_F(ShowTest, NoGrowthOfGdiObjectsHandlesOrMemoryAcrossPictures) {
    const std::wstring folder = FreshFolder(L"show_leaks");
    WriteBmp(folder + L"\\small.bmp", 320, 200, PicturePixel);
    WriteBmp(folder + L"\\wide.bmp", 1600, 500, PicturePixel);
    WriteBmp(folder + L"\\tall.bmp", 300, 1200, PicturePixel);
    WriteShowSettings(folder, 64, 1);
    program = StartProgram(ScrPath(), L"/s");
    ASSERT_NE(ShowWindowOf(program), nullptr);
    int changes = 0, shown = 0;
    const auto waitForChanges = [&](int more) {
        const int target = changes + more;
        return PollUntil([&] {
            const int width = WidthOnScreen(CaptureScreen());
            if ((width == 320 || width == 1024 || width == 192) && width != shown) {
                if (shown != 0) ++changes;
                shown = width;
            }
            return changes >= target;
        }, 60000);
    };
    // A few pictures in, everything the show needs is made; then as many again while the counts are taken.
    ASSERT_TRUE(waitForChanges(3)) << "the pictures change";
    const long gdi0 = GdiObjectCount(program.handle());
    const long handles0 = HandleCount(program.handle());
    const int64_t memory0 = PrivateBytes(program.handle());
    ASSERT_GT(gdi0, 0);
    ASSERT_GT(handles0, 0);
    ASSERT_GT(memory0, 0);
    ASSERT_TRUE(waitForChanges(6)) << "the pictures kept changing while the counts were taken";
    ASSERT_TRUE(program.Running());
    const long gdi1 = GdiObjectCount(program.handle());
    const long handles1 = HandleCount(program.handle());
    const int64_t memory1 = PrivateBytes(program.handle());
    EXPECT_LE(gdi1, gdi0 + 2) << gdi0 << " -> " << gdi1;
    EXPECT_LE(handles1, handles0 + 2) << handles0 << " -> " << handles1;
    EXPECT_LE(memory1, memory0 + 8 * 1024 * 1024) << memory0 << " -> " << memory1;
}

}  // namespace
}  // namespace kpv
