// What the real KPV.scr tells the user about the picture folder, and what it does next.
#include <gtest/gtest.h>

#include "e2e/startup_steps.h"

using namespace kpv::test;

namespace {

class CatalogueMessages : public StartupTest {};

}  // namespace

TEST_F(CatalogueMessages, AMissingFolderGivesTheErrorThenTheNoPicturesMessage) {
    UsePictureFolder(root_ + L"nowhere\\");
    Process p = StartProgram(ScrPath(), L"/s");
    const std::wstring error = AnswerMessageBox(p);
    EXPECT_TRUE(error.ends_with(L" (3)") || error.ends_with(L" (2)")) << Narrow(error);
    EXPECT_GT(error.size(), 4u) << "a description comes before the number";
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
    const std::wstring error = AnswerMessageBox(p);
    EXPECT_TRUE(error.ends_with(L" (32)")) << Narrow(error);
    // A picture was found, so no second message: the show starts (or, with no show window, the run ends).
    if (HWND w = WaitForEndOrWindow(p)) {
        const std::wstring text = MessageBoxText(w);
        EXPECT_NE(text, kNoPicturesText);
        EXPECT_FALSE(text.ends_with(L")")) << Narrow(text);
    }
    CloseHandle(hold);
    p.Kill();
}
