// The preview plumbing with the real program: it becomes a child of the host window with the host's size,
// and it ends within 3 seconds when the host window goes, when the host's process ends without destroying
// it, and at once for a handle that names no window. (Wine never shows what a foreign child draws; the
// preview's pixels are checked in-process by the Windows tests.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "e2e/preview_host_win.h"
#include "support/driver_win.h"

namespace kpv {
namespace {

using namespace kpv::test;

// The program's window that lives inside the host's preview window.
HWND PreviewChildOf(HWND host, DWORD pid) {
    struct Search { DWORD pid; HWND found; } search{pid, nullptr};
    EnumChildWindows(host, [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == s->pid && !s->found) s->found = w;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring MakePreviewFolder() {
    const std::wstring folder = FreshFolder(L"preview_pictures");
    WriteBmp(folder + L"\\p.bmp", 200, 100, [](int x, int y) { return static_cast<uint32_t>((x * 7) << 8 | y); });
    DeleteProgramKey();
    WriteSettings({.path = folder + L"\\", .blockSize = 40, .backColor = 0x00FF00});
    return folder;
}

class PreviewTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (program.Running()) program.Kill();
    }
    Process program;
};

TEST_F(PreviewTest, RunsAsAChildOfTheHostWithItsSizeAndEndsWhenTheHostGoes) {
    MakePreviewFolder();
    HostWindows host;
    ASSERT_NE(host.preview, nullptr);
    program = StartProgram(ScrPath(), L"/p " + HandleText(host.preview));
    HWND child = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (child = PreviewChildOf(host.preview, program.pid())) != nullptr; }, 15000));
    EXPECT_EQ(GetParent(child), host.preview);
    EXPECT_TRUE(IsChild(host.preview, child));
    RECT hostRect{}, childRect{};
    GetWindowRect(host.preview, &hostRect);
    ASSERT_TRUE(PumpUntil([&] {
        GetWindowRect(child, &childRect);
        return IsWindowVisible(child) && childRect.left == hostRect.left && childRect.top == hostRect.top;
    }, 5000));
    EXPECT_EQ(childRect.right - childRect.left, kPreviewWidth);
    EXPECT_EQ(childRect.bottom - childRect.top, kPreviewHeight);
    // A click, and a movement far beyond 10 pixels, in the preview do nothing.
    const POINT centre{(childRect.left + childRect.right) / 2, (childRect.top + childRect.bottom) / 2};
    MoveMouseTo(centre.x, centre.y);
    ClickMouse();
    MoveMouseTo(centre.x + 40, centre.y + 30);
    PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(child, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(child, WM_MOUSEMOVE, 0, MAKELPARAM(60, 50));
    PumpUntil([] { return false; }, 1000);
    ASSERT_TRUE(program.Running());
    EXPECT_EQ(ActiveFlag(), 1);
    // The stored block size is left alone although the preview draws with 5-pixel blocks.
    const RegValue block = ReadProgramValue(L"Settings", L"BlockSize");
    ASSERT_TRUE(block.exists);
    EXPECT_EQ(block.data[0], 40);

    const DWORD gone = GetTickCount();
    DestroyWindow(host.top);
    ASSERT_TRUE(PumpUntil([&] { return !program.Running(); }, 3000));
    EXPECT_LE(GetTickCount() - gone, 3000u);
    EXPECT_EQ(program.Wait(0), 0);
    EXPECT_EQ(ActiveFlag(), 0);
}

TEST_F(PreviewTest, EndsWhenTheHostProcessEndsWithoutDestroyingItsWindow) {
    MakePreviewFolder();
    const std::wstring file = TestDataDir() + L"\\preview_host.txt";
    DeleteFileW(file.c_str());
    DeleteFileW((file + L".quit").c_str());
    Process helper = StartProgram(BuildDir() + L"\\tests\\kpv_preview_host.exe", L"\"" + file + L"\"");
    std::string handle;
    ASSERT_TRUE(PollUntil([&] { return !(handle = ReadFileBytes(file)).empty(); }, 15000));
    HWND preview = reinterpret_cast<HWND>(static_cast<LONG_PTR>(std::stoll(handle)));
    program = StartProgram(ScrPath(), L"/p " + std::wstring(handle.begin(), handle.end()));
    ASSERT_TRUE(PollUntil([&] { return PreviewChildOf(preview, program.pid()) != nullptr; }, 15000));

    ASSERT_TRUE(WriteFileBytes(file + L".quit", ""));
    ASSERT_NE(helper.Wait(10000), -1);
    const DWORD gone = GetTickCount();
    ASSERT_TRUE(PollUntil([&] { return !program.Running(); }, 3000));
    EXPECT_LE(GetTickCount() - gone, 3000u);
    EXPECT_EQ(program.Wait(0), 0);
    EXPECT_EQ(ActiveFlag(), 0);
}

TEST_F(PreviewTest, AHandleThatNamesNoWindowEndsAtOnce) {
    MakePreviewFolder();
    program = StartProgram(ScrPath(), L"/p 1234567");
    EXPECT_EQ(program.Wait(3000), 0);
    EXPECT_TRUE(ProcessWindows(program.pid(), true).empty());
    EXPECT_EQ(ActiveFlag(), 0);
}

}  // namespace
}  // namespace kpv
