// What the real KPV.scr tells the user about the picture folder, and what it does next.
#include <gtest/gtest.h>

#include <vector>

#include "e2e/startup_steps.h"

using namespace kpv::test;

namespace {

class CatalogueMessages : public StartupTest {};

}  // namespace

// The show window comes first; the folder's error is shown over it, and the no-pictures message only
// once the window has gone, on the desktop.
TEST_F(CatalogueMessages, AMissingFolderGivesTheErrorOverTheShowThenTheNoPicturesMessageAlone) {
    UsePictureFolder(root_ + L"nowhere\\");
    Process p = StartProgram(ScrPath(), L"/s");
    HWND box = WaitForMessageBox(p.pid(), kStartTimeoutMs);
    ASSERT_NE(box, nullptr);
    HWND show = GetWindow(box, GW_OWNER);
    EXPECT_NE(show, nullptr) << "the error belongs to the show window";
    EXPECT_TRUE(IsWindowVisible(show));
    const std::wstring error = AnswerMessageBox(p);
    EXPECT_TRUE(error.ends_with(L" (3)") || error.ends_with(L" (2)")) << Narrow(error);
    EXPECT_GT(error.size(), 4u) << "a description comes before the number";

    box = WaitForMessageBox(p.pid(), kStartTimeoutMs);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), kNoPicturesText);
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    EXPECT_EQ(ProcessWindows(p.pid(), true), std::vector<HWND>{box}) << "the show window is gone first";
    EXPECT_EQ(AnswerMessageBox(p), kNoPicturesText);
    EXPECT_EQ(p.Wait(kStartTimeoutMs), 0);
    EXPECT_EQ(ActiveFlag(), 1);
}

TEST_F(CatalogueMessages, PicturesOnlyInSubfoldersWithoutDescendingAreNotFound) {
    const std::wstring top = Folder(L"top");
    ASSERT_TRUE(WritePicture(Folder(L"top\\below") + L"a.bmp"));
    UsePictureFolder(top, 0);
    Process p = StartProgram(ScrPath(), L"/s");
    EXPECT_EQ(AnswerMessageBox(p), kNoPicturesText);
    EXPECT_EQ(p.Wait(kStartTimeoutMs), 0);
    EXPECT_EQ(ActiveFlag(), 1);
}

// Two subfolders the scan cannot open: each is reported once, in the walk's order, the second only once
// the first box was answered (the scan waits for it), and the click that answers it ends neither the scan
// nor the show, which goes on with the pictures found.
TEST_F(CatalogueMessages, LockedSubfoldersAreReportedOnceEachAndTheShowGoesOn) {
    const std::wstring top = Folder(L"top");
    ASSERT_TRUE(WritePicture(top + L"a.bmp"));
    std::vector<HANDLE> holds;
    for (const wchar_t* name : {L"top\\locked1", L"top\\locked2"}) {
        const std::wstring locked = Folder(name);
        ASSERT_TRUE(WritePicture(locked + L"b.bmp"));
        holds.push_back(CreateFileW(locked.c_str(), FILE_LIST_DIRECTORY, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        ASSERT_NE(holds.back(), INVALID_HANDLE_VALUE);
    }
    UsePictureFolder(top);
    WriteProgramInt16(L"Settings", L"BackGround", 1);
    WriteProgramInt32(L"Settings", L"BackColor", 0);
    ASSERT_TRUE(PaintScreen(0x808080));

    Process p = StartProgram(ScrPath(), L"/s");
    for (int box = 0; box < 2; ++box) {
        HWND shown = WaitForMessageBox(p.pid(), kStartTimeoutMs);
        ASSERT_NE(shown, nullptr) << "message " << box + 1 << " of 2";
        EXPECT_NE(GetWindow(shown, GW_OWNER), nullptr) << "the message is shown over the show";
        const std::wstring error = MessageBoxText(shown);
        EXPECT_TRUE(error.ends_with(L" (32)")) << Narrow(error);
        // Answered as a user would: a click on OK, the mouse crossing the show on its way there.
        RECT ok{};
        GetWindowRect(GetDlgItem(shown, IDOK), &ok);
        MoveMouseTo((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
        ClickMouse();
        ASSERT_TRUE(PollUntil([&] { return !IsWindow(shown) || !IsWindowVisible(shown); }, 5000)) << "the click answered it";
        ASSERT_TRUE(p.Running()) << "answering the message ended the show";
    }
    for (HANDLE hold : holds) CloseHandle(hold);
    // a.bmp, 64 x 48 centred on black: its pixel (10, 10) at (490, 370).
    EXPECT_TRUE(PollUntil([&] {
        const Screenshot shot = CaptureScreen();
        return shot.width == 1024 && (shot.At(490, 370) & 0xFFFFFF) == (40u << 16 | 50u << 8) &&
               (shot.At(100, 100) & 0xFFFFFF) == 0;
    }, 20000)) << "the show goes on with the picture found";
    EXPECT_FALSE(WaitForMessageBox(p.pid(), 1000)) << "each folder is reported once";
    ASSERT_TRUE(p.Running());
    EXPECT_EQ(ActiveFlag(), 1);
    SendKey('A');
    EXPECT_EQ(p.Wait(5000), 0);
    EXPECT_EQ(ActiveFlag(), 0);
}
