// The real show on a desktop of two monitors (and at 192 DPI): every monitor covered by a show of its own
// with a picture of its own, one end for all on any input or a change of the monitors, and no growth of
// what the process holds. Each case runs in the display session that ctest names for it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "support/driver_win.h"
#include "support/process_resources_win.h"
#include "support/scratch_win.h"

namespace kpv {
namespace {

using namespace kpv::test;

constexpr uint32_t kBackground = 0x406080;   // 0x00RRGGBB
constexpr uint32_t kBackColorRef = 0x806040;  // the same colour as a colour reference
constexpr int kStartMs = 30000;

struct SolidPicture {
    const wchar_t* name;
    int width;
    int height;
    uint32_t colour;
};

// Solid pictures of different colours and sizes, all smaller than either monitor.
constexpr SolidPicture kPictures[] = {{L"a.bmp", 300, 200, 0xE02020}, {L"b.bmp", 240, 180, 0x20E020},
                                      {L"c.bmp", 200, 150, 0x2020E0}, {L"d.bmp", 160, 100, 0xE0E020}};

void UsePictures(const std::wstring& folder, int16_t blockSize) {
    DeleteProgramKey();
    WriteSettings({.path = folder + L"\\", .blockSize = blockSize, .backColor = kBackColorRef});
}

// Which picture a monitor shows, centred on the background and nothing else anywhere on the monitor;
// nullptr when it shows anything else.
const SolidPicture* ShownOn(const Screenshot& shot, const RECT& m) {
    const int w = m.right - m.left, h = m.bottom - m.top;
    const auto at = [&](int x, int y) { return shot.At(m.left - shot.left + x, m.top - shot.top + y) & 0xFFFFFF; };
    for (const SolidPicture& p : kPictures) {
        if (at(w / 2, h / 2) != p.colour) continue;
        const int x0 = (w - p.width) / 2, y0 = (h - p.height) / 2;  // even differences: no rounding
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool inside = x >= x0 && x < x0 + p.width && y >= y0 && y < y0 + p.height;
                if (at(x, y) != (inside ? p.colour : kBackground)) return nullptr;
            }
        return &p;
    }
    return nullptr;
}

// Each two-monitor session's layout as display-session.sh makes it, the primary monitor first: written out
// here, not asked of the platform as the program asks it.
std::vector<RECT> SessionLayout() {
    const std::wstring session = SessionName();
    if (session == L"monitors_right") return {{0, 0, 1024, 768}, {1024, 0, 1824, 600}};
    if (session == L"monitors_left") return {{0, 0, 1024, 768}, {-800, 0, 0, 600}};
    return {};
}

POINT CentreOf(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The colour that fills the whole monitor, or 0 when it shows anything else.
uint32_t WholeMonitorColour(const Screenshot& shot, const RECT& m) {
    const auto at = [&](int x, int y) { return shot.At(x - shot.left, y - shot.top) & 0xFFFFFF; };
    const uint32_t c = at(CentreOf(m).x, CentreOf(m).y);
    for (const POINT p : {POINT{m.left + 2, m.top + 2}, POINT{m.right - 3, m.top + 2}, POINT{m.left + 2, m.bottom - 3},
                          POINT{m.right - 3, m.bottom - 3}})
        if (at(p.x, p.y) != c) return 0;
    return c;
}

class TwoMonitorShow : public ::testing::Test {
protected:
    void SetUp() override {
        monitors = SessionLayout();
        ASSERT_EQ(monitors.size(), 2u) << "runs in a two-monitor session";
        const std::wstring folder = FreshFolder(InSession(L"two_monitors"));
        for (const SolidPicture& p : kPictures)
            WriteBmp(folder + L"\\" + p.name, p.width, p.height, [&p](int, int) { return p.colour; });
        UsePictures(folder, 32);
    }
    void TearDown() override {
        show.Kill();
        DeleteProgramKey();
    }

    // Starts the show and waits until both monitors show a picture of their own on the background.
    void StartAndWaitForBothReveals() {
        show = StartProgram(ScrPath(), L"/s");
        Screenshot shot;
        const bool revealed = PollUntil([&] {
            shot = CaptureVirtualScreen();
            const SolidPicture* first = ShownOn(shot, monitors[0]);
            const SolidPicture* second = ShownOn(shot, monitors[1]);
            return first && second && first != second;
        }, kStartMs);
        if (!revealed) shot.SaveBmp(TestDataDir() + L"\\two_monitors_failed.bmp");
        ASSERT_TRUE(revealed) << "both monitors covered, each with a picture of its own";
    }

    // Waits for the process to end; how long it took after the input.
    DWORD EndedAfter(ULONGLONG inputAt) {
        EXPECT_EQ(show.Wait(10000), 0) << "the process ends";
        return static_cast<DWORD>(GetTickCount64() - inputAt);
    }

    std::vector<RECT> monitors;
    Process show;
};

TEST_F(TwoMonitorShow, EachMonitorRevealsAPictureOfItsOwnOnTheBackground) {
    StartAndWaitForBothReveals();
    // Two shows, one window each, exactly on its monitor.
    std::set<std::pair<LONG, LONG>> corners;
    for (HWND w : ProcessWindows(show.pid(), true)) {
        RECT r{};
        GetWindowRect(w, &r);
        corners.insert({r.left, r.top});
    }
    EXPECT_EQ(corners, (std::set<std::pair<LONG, LONG>>{{monitors[0].left, monitors[0].top},
                                                         {monitors[1].left, monitors[1].top}}));
}

// The cursor rests on the second monitor from the start, so the reference is taken there: a move of 10 px
// keeps the show, one of 30 px more ends every show.
TEST_F(TwoMonitorShow, AMouseMoveOnTheSecondMonitorEndsEveryShowAndTheProcess) {
    const POINT at = CentreOf(monitors[1]);
    MoveMouseToVirtual(at.x, at.y);
    StartAndWaitForBothReveals();
    MoveMouseToVirtual(at.x + 10, at.y);
    EXPECT_FALSE(PollUntil([&] { return !show.Running(); }, 1000)) << "a move of 10 px ended the show";
    const ULONGLONG movedAt = GetTickCount64();
    MoveMouseToVirtual(at.x + 40, at.y);
    EXPECT_LE(EndedAfter(movedAt), 1000u);
    EXPECT_EQ(ActiveFlag(), 0);
}

TEST_F(TwoMonitorShow, AKeyEndsEveryShowAtOnceAndClearsActive) {
    StartAndWaitForBothReveals();
    const ULONGLONG pressedAt = GetTickCount64();
    SendKey(VK_SPACE);
    EXPECT_LE(EndedAfter(pressedAt), 1000u);
    EXPECT_EQ(ActiveFlag(), 0);
}

TEST_F(TwoMonitorShow, AMonitorTakenAwayEndsTheShow) {
    // On the primary monitor, the cursor stays where it is when the other monitor goes: only the change of
    // the monitors can end the show.
    const POINT at = CentreOf(monitors[0]);
    MoveMouseToVirtual(at.x, at.y);
    StartAndWaitForBothReveals();
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(POINT{monitors[1].left, monitors[1].top}, MONITOR_DEFAULTTONEAREST), &info);
    DEVMODEW off{};
    off.dmSize = sizeof off;
    off.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
    ASSERT_EQ(ChangeDisplaySettingsExW(info.szDevice, &off, nullptr, CDS_UPDATEREGISTRY, nullptr), DISP_CHANGE_SUCCESSFUL);
    const ULONGLONG changedAt = GetTickCount64();
    EXPECT_LE(EndedAfter(changedAt), 1000u) << "the show ends as on a key";
    EXPECT_EQ(ActiveFlag(), 0);

    DEVMODEW on{};
    on.dmSize = sizeof on;
    on.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
    on.dmPosition = POINTL{monitors[1].left, monitors[1].top};
    on.dmPelsWidth = static_cast<DWORD>(monitors[1].right - monitors[1].left);
    on.dmPelsHeight = static_cast<DWORD>(monitors[1].bottom - monitors[1].top);
    EXPECT_EQ(ChangeDisplaySettingsExW(info.szDevice, &on, nullptr, CDS_UPDATEREGISTRY, nullptr), DISP_CHANGE_SUCCESSFUL);
    EXPECT_TRUE(PollUntil([] { return GetSystemMetrics(SM_CMONITORS) == 2; }, 10000)) << "the session's second monitor is back";
}

// Pictures of the screen's size, so that keeping one decoded picture per reveal would show at once (3 MB
// each); the level is taken once the pictures have changed on both monitors, and again after as many more.
TEST_F(TwoMonitorShow, WhatTheProcessHoldsStaysLevelOverManyPictures) {
    const std::wstring folder = FreshFolder(InSession(L"two_monitors_level"));
    for (const SolidPicture& p : kPictures)
        WriteBmp(folder + L"\\" + p.name, 1024, 768, [&p](int, int) { return p.colour; });
    UsePictures(folder, 32);
    ASSERT_TRUE(PaintScreen(kBackground));
    show = StartProgram(ScrPath(), L"/s");
    uint32_t shown[2] = {0, 0};
    int changes = 0;
    const auto countChanges = [&] {
        const Screenshot shot = CaptureVirtualScreen();
        for (size_t m = 0; m < 2; ++m) {
            const uint32_t c = WholeMonitorColour(shot, monitors[m]);
            if (c == 0 || c == kBackground || c == shown[m]) continue;
            if (shown[m] != 0) ++changes;
            shown[m] = c;
        }
        return false;
    };
    const auto waitForChanges = [&](int more) {
        const int target = changes + more;
        return PollUntil([&] { countChanges(); return changes >= target; }, 60000);
    };
    ASSERT_TRUE(waitForChanges(4)) << "the pictures changed on the monitors";
    const long gdiBefore = GdiObjectCount(show.handle());
    const int64_t memoryBefore = PrivateBytes(show.handle());
    ASSERT_GT(gdiBefore, 0) << "the GDI objects can be counted";
    ASSERT_GT(memoryBefore, 0) << "the private memory can be read";
    ASSERT_TRUE(waitForChanges(8)) << "the pictures kept changing while the counts were taken";
    ASSERT_TRUE(show.Running());
    EXPECT_LE(GdiObjectCount(show.handle()), gdiBefore + 4);
    EXPECT_LE(PrivateBytes(show.handle()), memoryBefore + 8 * 1024 * 1024);
}

// A message of the scan (a subfolder it cannot open) is up on the primary monitor: the hand that goes to
// it from the second monitor neither ends the run nor loses the box its keys; after OK the show goes on on
// both monitors.
TEST_F(TwoMonitorShow, WhileAMessageIsUpTheMouseEndsNothingAndAfterOkTheShowGoesOn) {
    const std::wstring folder = FreshFolder(InSession(L"two_monitors_message"));
    for (const SolidPicture& p : kPictures)
        WriteBmp(folder + L"\\" + p.name, p.width, p.height, [&p](int, int) { return p.colour; });
    const std::wstring locked = folder + L"\\locked";
    ASSERT_TRUE(MakeDirectory(locked));
    HANDLE hold = CreateFileW(locked.c_str(), FILE_LIST_DIRECTORY, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    DeleteProgramKey();
    WriteSettings({.path = folder + L"\\", .subFolder = 1, .blockSize = 32, .backColor = kBackColorRef});
    const RECT& second = monitors[1];
    const int x = (second.left + second.right) / 2, y = (second.top + second.bottom) / 2;
    MoveMouseToVirtual(x, y);

    show = StartProgram(ScrPath(), L"/s");
    HWND box = WaitForMessageBox(show.pid(), kStartMs);
    CloseHandle(hold);
    ASSERT_NE(box, nullptr);
    MoveMouseToVirtual(x + 40, y);
    MoveMouseToVirtual(x + 40, y + 40);
    ClickMouse();
    EXPECT_FALSE(PollUntil([&] { return !show.Running() || !IsWindowVisible(box); }, 1500))
        << "the mouse on the second monitor ended the run or closed the box";

    SendKey(VK_RETURN);  // the box has the keys
    ASSERT_TRUE(PollUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000)) << "Enter answered the box";
    ASSERT_TRUE(show.Running()) << "answering the box did not end the show";
    Screenshot shot;
    EXPECT_TRUE(PollUntil([&] {
        shot = CaptureVirtualScreen();
        return ShownOn(shot, monitors[0]) && ShownOn(shot, monitors[1]);
    }, kStartMs)) << "the show goes on on both monitors";
    EXPECT_TRUE(show.Running());
    EXPECT_EQ(ActiveFlag(), 1);
}

// Two pictures for two monitors: each monitor takes the other's picture rather than its own again, so both
// pictures reach both monitors instead of each monitor keeping one for ever.
TEST_F(TwoMonitorShow, WithTwoPicturesBothReachBothMonitors) {
    const std::wstring folder = FreshFolder(InSession(L"two_monitors_two_pictures"));
    for (const SolidPicture& p : {kPictures[0], kPictures[1]})
        WriteBmp(folder + L"\\" + p.name, p.width, p.height, [&p](int, int) { return p.colour; });
    UsePictures(folder, 32);
    show = StartProgram(ScrPath(), L"/s");
    std::set<const SolidPicture*> seen[2];
    const bool both = PollUntil([&] {
        const Screenshot shot = CaptureVirtualScreen();
        for (size_t m = 0; m < 2; ++m)
            if (const SolidPicture* p = ShownOn(shot, monitors[m])) seen[m].insert(p);
        return seen[0].size() == 2 && seen[1].size() == 2;
    }, 40000);
    EXPECT_TRUE(both) << "pictures seen: " << seen[0].size() << " on the first monitor, " << seen[1].size()
                      << " on the second";
}

// At 192 DPI a pixel is 7.5 twips; the show must still own every pixel, with a picture larger than the
// screen scaled to fill it and an odd block size. Runs at 96 DPI too.
TEST(HighDpiShow, EveryPixelOfTheScreenBelongsToTheShow) {
    const std::wstring folder = FreshFolder(InSession(L"high_dpi"));
    constexpr uint32_t kColour = 0x30A050;
    WriteBmp(folder + L"\\large.bmp", 2048, 1536, [](int, int) { return kColour; });
    UsePictures(folder, 33);
    Process show = StartProgram(ScrPath(), L"/s");
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    long uncovered = -1;
    const bool covered = PollUntil([&] {
        const Screenshot shot = CaptureVirtualScreen();
        uncovered = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) uncovered += (shot.At(x - shot.left, y - shot.top) & 0xFFFFFF) != kColour;
        return uncovered == 0;
    }, kStartMs);
    EXPECT_TRUE(covered) << uncovered << " pixels not revealed";
    show.Kill();
    DeleteProgramKey();
}

}  // namespace
}  // namespace kpv
