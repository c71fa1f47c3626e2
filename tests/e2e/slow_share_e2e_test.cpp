// The real KPV.scr with its pictures on a share that stops answering (tests/harness/slow_share.py: a FUSE
// view of a scratch folder that waits in each listing, or before the first read of each file). The show
// windows are up before the scan ends, and input ends the run at once whatever the share does.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

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
    // readMs before the first read of each file.
    void Mount(const std::wstring& source, int listMs, int readMs) {
        mount_ = Folder(L"share");
        const std::wstring probe = mount_ + L"a.bmp";
        ASSERT_TRUE(RunHostShell(L"/usr/bin/python3 \"$1\" \"$2\" \"$3\" \"$4\" \"$5\" </dev/null >/dev/null 2>&1 &",
                                 [&] { return Exists(probe); }, 20000,
                                 {std::wstring(KPV_HARNESS_DIR) + L"/slow_share.py", HostPath(source),
                                  HostPath(mount_.substr(0, mount_.size() - 1)), std::to_wstring(listMs),
                                  std::to_wstring(readMs)}))
            << "the share could not be mounted (needs /dev/fuse, fuse3 and python3-fusepy)";
    }
    // The daemon goes first: reads still waiting in it fail, so nothing is left hanging on the share. The
    // bracket keeps the pattern from matching the shell that runs it.
    void Unmount() {
        if (mount_.empty()) return;
        const std::wstring done = root_ + L"unmounted";
        RunHostShell(L"pkill -f -- \"[s]low_share.py .* $1 \"; fusermount3 -uz \"$1\"; : > \"$2\"",
                     [&] { return Exists(done); }, 20000,
                     {HostPath(mount_.substr(0, mount_.size() - 1)), HostPath(root_) + L"/unmounted"});
        mount_.clear();
    }

    // Starts the show on the share; true once its window is on the screen.
    bool StartShow() {
        UsePictureFolder(mount_);
        WriteProgramInt16(L"Settings", L"Interval", 1);
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
    Process program;
};

TEST_F(SlowShare, AListingThatNeverAnswersLeavesTheWindowsUpAndAKeyEndsTheRun) {
    const std::wstring source = Folder(L"pictures");
    ASSERT_TRUE(WritePicture(source + L"a.bmp"));
    Mount(source, kHangMs, 0);
    const ULONGLONG started = GetTickCount64();
    ASSERT_TRUE(StartShow()) << "the show window comes before the scan ends";
    EXPECT_LT(GetTickCount64() - started, static_cast<ULONGLONG>(kHangMs) / 2);
    Sleep(1000);  // the scan is waiting in the share's listing now
    ASSERT_TRUE(program.Running());
    KeyEndsTheRunAtOnce();
}

TEST_F(SlowShare, AReadThatNeverAnswersKeepsTheShowAnsweringAndAKeyEndsTheRun) {
    const std::wstring source = Folder(L"pictures");
    ASSERT_TRUE(WritePicture(source + L"a.bmp"));
    ASSERT_TRUE(WritePicture(source + L"b.bmp"));
    Mount(source, 0, kHangMs);
    ASSERT_TRUE(StartShow());
    Sleep(1500);  // listed at once; the first picture's first read is waiting on the share
    ASSERT_TRUE(program.Running());
    KeyEndsTheRunAtOnce();
}

}  // namespace
