// The real KPV.scr with its pictures on a share that stops answering (tests/harness/slow_share.py: a FUSE
// view of a scratch folder that waits in each listing, or before the first read of each file, or never
// answers the reads of one file). The share marks each wait it begins, so every test knows that it really
// stalled something before it acts. The show windows are up before the scan ends, a file that never
// arrives is passed over, and input ends the run at once whatever the share does.
#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "e2e/startup_steps.h"
#include "support/host_side_win.h"

using namespace kpv::test;

namespace {

constexpr int kHangMs = 20000;   // a share that stops answering: far longer than any wait below
constexpr DWORD kEndLimitMs = 1000;

class SlowShare : public StartupTest {
protected:
    void TearDown() override {
        if (program.Running()) program.Kill();
        Unmount();
        StartupTest::TearDown();
    }

    // The scratch folder `source` seen through the share at `mount`, waiting listMs in each listing and
    // readMs before the first read of each file; the reads of the files named in `never` never return. The
    // share is up once `probe`, a file of the source, shows through it.
    void Mount(const std::wstring& source, int listMs, int readMs, std::initializer_list<std::wstring> never = {},
               const std::wstring& probeName = L"a.bmp") {
        mount_ = Folder(L"share");
        markers_ = Folder(L"markers");
        std::wstring options = L"--markers \"" + HostPath(markers_.substr(0, markers_.size() - 1)) + L"\"";
        for (const std::wstring& name : never) options += L" --never " + name;
        const std::wstring probe = mount_ + probeName;
        ASSERT_TRUE(RunHostShell(L"/usr/bin/python3 \"$1\" " + options +
                                     L" \"$2\" \"$3\" \"$4\" \"$5\" </dev/null >/dev/null 2>&1 &",
                                 [&] { return Exists(probe); }, 20000,
                                 {std::wstring(KPV_HARNESS_DIR) + L"/slow_share.py", HostPath(source),
                                  HostPath(mount_.substr(0, mount_.size() - 1)), std::to_wstring(listMs),
                                  std::to_wstring(readMs)}))
            << "the share could not be mounted (needs /dev/fuse, fuse3 and python3-fusepy)";
    }
    // The daemon goes first, killed outright (a read that never answers keeps it from ending on a polite
    // signal): reads still waiting in it fail, so nothing is left hanging on the share. The bracket keeps the
    // pattern from matching the shell that runs it.
    void Unmount() {
        if (mount_.empty()) return;
        const std::wstring done = root_ + L"unmounted";
        RunHostShell(L"pkill -KILL -f -- \"[s]low_share.py .* $1 \"; sleep 0.2; fusermount3 -uz \"$1\"; : > \"$2\"",
                     [&] { return Exists(done); }, 20000,
                     {HostPath(mount_.substr(0, mount_.size() - 1)), HostPath(root_) + L"/unmounted"});
        mount_.clear();
    }

    // True once the share has begun one of the waits named (see slow_share.py's markers).
    bool WaitForStall(std::initializer_list<std::wstring> markers, int timeoutMs) {
        return PollUntil([&] {
            for (const std::wstring& m : markers)
                if (Exists(markers_ + m)) return true;
            return false;
        }, timeoutMs);
    }

    // Starts the show on the share; true once its window is on the screen.
    bool StartShow() {
        UsePictureFolder(mount_);
        WriteProgramInt16(L"Settings", L"Interval", 1);
        WriteProgramInt16(L"Settings", L"BackGround", 1);
        program = StartProgram(ScrPath(), L"/s");
        return WaitForWindow(program.pid(), [](HWND w) { return IsWindowVisible(w) != FALSE; }, kStartTimeoutMs) !=
               nullptr;
    }

    // A key, then: the process ends within the limit, no show window is left meanwhile, "Active" is 0.
    void KeyEndsTheRunAtOnce() {
        SendKey('A');
        const ULONGLONG pressed = GetTickCount64();
        bool windowLeft = false;
        PollUntil([&] {
            const bool running = program.Running();
            if (running && GetTickCount64() - pressed > kEndLimitMs && !ProcessWindows(program.pid(), true).empty())
                windowLeft = true;
            return !running;
        }, 10000);
        const ULONGLONG took = GetTickCount64() - pressed;
        EXPECT_EQ(program.Wait(0), 0);
        EXPECT_LE(took, kEndLimitMs) << "the run ended " << took << " ms after the key";
        EXPECT_FALSE(windowLeft) << "a show window was still up after the limit";
        EXPECT_EQ(ActiveFlag(), 0);
    }

    std::wstring mount_;
    std::wstring markers_;
    Process program;
};

TEST_F(SlowShare, AListingThatNeverAnswersLeavesTheWindowsUpAndAKeyEndsTheRun) {
    const std::wstring source = Folder(L"pictures");
    ASSERT_TRUE(WritePicture(source + L"a.bmp"));
    Mount(source, kHangMs, 0);
    const ULONGLONG started = GetTickCount64();
    ASSERT_TRUE(StartShow()) << "the show window comes before the scan ends";
    EXPECT_LT(GetTickCount64() - started, static_cast<ULONGLONG>(kHangMs) / 2);
    ASSERT_TRUE(WaitForStall({L"listing"}, kHangMs / 2)) << "the scan waits in the share's listing";
    ASSERT_TRUE(program.Running());
    KeyEndsTheRunAtOnce();
}

TEST_F(SlowShare, AReadThatNeverAnswersKeepsTheShowAnsweringAndAKeyEndsTheRun) {
    const std::wstring source = Folder(L"pictures");
    ASSERT_TRUE(WritePicture(source + L"a.bmp"));
    ASSERT_TRUE(WritePicture(source + L"b.bmp"));
    Mount(source, 0, kHangMs);
    ASSERT_TRUE(StartShow());
    ASSERT_TRUE(WaitForStall({L"read-a.bmp", L"read-b.bmp"}, kHangMs / 2)) << "a picture's first read waits";
    ASSERT_TRUE(program.Running());
    KeyEndsTheRunAtOnce();
}

// One file of four never arrives (a failing sector, a cloud file never downloaded): its preparation is given
// up, the file is never tried again, and the show goes on changing picture.
TEST_F(SlowShare, AFileThatNeverArrivesIsPassedOverAndTheShowKeepsChangingPicture) {
    const std::wstring source = Folder(L"pictures");
    const std::vector<uint32_t> colours = {0xC02020, 0x20C020, 0x2020C0, 0xC0C020};  // 0x00RRGGBB
    const wchar_t* const names[] = {L"a.bmp", L"b.bmp", L"c.bmp", L"stuck.bmp"};
    for (size_t i = 0; i < colours.size(); ++i)
        ASSERT_TRUE(WriteBmp(source + names[i], 1024, 768, [&](int, int) { return colours[i]; }));
    Mount(source, 0, 0, {L"stuck.bmp"});
    ASSERT_TRUE(PaintScreen(0x808080));
    ASSERT_TRUE(StartShow());
    ASSERT_TRUE(WaitForStall({L"read-stuck.bmp"}, 60000)) << "the show tried the file that never arrives";

    // From the stall on: the picture on the screen, counted each time it becomes another one.
    const auto pictureOnScreen = [&]() -> int {
        const Screenshot shot = CaptureScreen();
        if (shot.width < 600) return -1;
        const uint32_t p = shot.At(512, 384) & 0xFFFFFF;
        for (size_t i = 0; i < colours.size(); ++i)
            if (p == colours[i] && (shot.At(100, 100) & 0xFFFFFF) == p && (shot.At(900, 650) & 0xFFFFFF) == p)
                return static_cast<int>(i);
        return -1;  // the desktop, or a reveal in progress
    };
    int changes = 0, shown = -1;
    bool stuckShown = false;
    PollUntil([&] {
        const int now = pictureOnScreen();
        stuckShown = stuckShown || now == 3;
        if (now >= 0 && now != shown) {
            if (shown >= 0) ++changes;
            shown = now;
        }
        return changes >= 6;
    }, 30000);
    EXPECT_FALSE(stuckShown) << "the file that never arrives is never shown";
    EXPECT_GE(changes, 6) << "picture changes in the 30 s after the stall";
    ASSERT_TRUE(program.Running());
    KeyEndsTheRunAtOnce();
}

// The display settings drop a preview quickly: a preview for a window that has gone ends at once, before it
// scans anything (here the listing would never return), and the next start runs normally.
TEST_F(SlowShare, APreviewForAWindowThatHasGoneEndsAtOnceAndTheNextStartRuns) {
    const std::wstring source = Folder(L"pictures");
    ASSERT_TRUE(WritePicture(source + L"a.bmp"));
    Mount(source, kHangMs, 0);
    UsePictureFolder(mount_);
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 152, 112, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    const auto handle = static_cast<long long>(reinterpret_cast<intptr_t>(gone));
    DestroyWindow(gone);

    const ULONGLONG started = GetTickCount64();
    Process preview = StartProgram(ScrPath(), L"/p " + std::to_wstring(handle));
    EXPECT_EQ(preview.Wait(3000), 0) << "the preview ended " << GetTickCount64() - started << " ms after its start";
    EXPECT_FALSE(Exists(markers_ + L"listing")) << "nothing was scanned";
    EXPECT_EQ(ActiveFlag(), 0);

    ASSERT_TRUE(StartShow()) << "the next start is not blocked";
    KeyEndsTheRunAtOnce();
}

// A library whose scan takes seconds (20 folders of 50 albums on a share whose listings wait 5 ms: 1,021
// listings, at least 5 s under Wine, which lists one folder at a time): the first picture comes at the first
// tick all the same, found before the scan is complete.
TEST_F(SlowShare, TheFirstPictureComesAtTheFirstTickWhileALargeLibraryIsStillScanned) {
    const std::wstring source = Folder(L"library");
    constexpr uint32_t kPicture = 0xD04080;  // 0x00RRGGBB
    ASSERT_TRUE(WriteBmp(source + L"seed.bmp", 64, 48, [](int, int) { return kPicture; }));
    // Host copies: a thousand pictures written through Wine one by one would take most of the test.
    ASSERT_TRUE(RunHostShell(L"cd \"$1\" && for t in $(seq 1 20); do for a in $(seq 1 50); do "
                             L"mkdir -p t$t/a$a && cp seed.bmp t$t/a$a/p.bmp; done; done && rm seed.bmp && : > ../made",
                             [&] { return Exists(root_ + L"made"); }, 60000, {HostPath(source.substr(0, source.size() - 1))}));
    Mount(source, 5, 0, {}, L"t1\\a1\\p.bmp");
    WriteProgramInt32(L"Settings", L"BackColor", 0);  // black around the picture

    ASSERT_TRUE(PaintScreen(0x808080)) << "no picture of an earlier run left on the screen";
    const ULONGLONG started = GetTickCount64();
    ASSERT_TRUE(StartShow());
    const bool shown = PollUntil([&] {
        const Screenshot shot = CaptureScreen();
        return shot.width >= 1024 && (shot.At(512, 384) & 0xFFFFFF) == kPicture;
    }, 10000);
    const ULONGLONG took = GetTickCount64() - started;
    ASSERT_TRUE(shown) << "no picture within 10 s";
    EXPECT_LE(took, 2000u) << "the first picture came " << took << " ms after the start";
    ASSERT_TRUE(program.Running());
    KeyEndsTheRunAtOnce();
}

}  // namespace
