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

TEST_F(CatalogueMessages, ALockedSubfolderIsReportedOnceAndTheShowGoesOn) {
    const std::wstring top = Folder(L"top");
    ASSERT_TRUE(WritePicture(top + L"a.bmp"));
    const std::wstring locked = Folder(L"top\\locked");
    ASSERT_TRUE(WritePicture(locked + L"b.bmp"));
    UsePictureFolder(top);
    HANDLE hold = CreateFileW(locked.c_str(), FILE_LIST_DIRECTORY, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);

    Process p = StartProgram(ScrPath(), L"/s");
    HWND box = WaitForMessageBox(p.pid(), kStartTimeoutMs);
    ASSERT_NE(box, nullptr);
    HWND show = GetWindow(box, GW_OWNER);
    ASSERT_NE(show, nullptr) << "the message is shown over the show";
    const std::wstring error = AnswerMessageBox(p);
    EXPECT_TRUE(error.ends_with(L" (32)")) << Narrow(error);
    CloseHandle(hold);
    // A picture was found: after OK the show goes on, with no second message, until a key ends it.
    Sleep(3000);
    ASSERT_TRUE(p.Running()) << "closing the message did not end the show";
    EXPECT_EQ(ProcessWindows(p.pid(), true), std::vector<HWND>{show});
    EXPECT_EQ(ActiveFlag(), 1);
    SendKey('A');
    EXPECT_EQ(p.Wait(5000), 0);
    EXPECT_EQ(ActiveFlag(), 0);
}
