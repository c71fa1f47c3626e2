// The real KPV.scr tells show, preview and settings apart by the first two characters of its arguments.
// With an empty picture folder, the show and the preview scan it and say so; the settings never scan.
#include <gtest/gtest.h>

#include <vector>

#include "e2e/startup_steps.h"

using namespace kpv::test;

namespace {

class RunModes : public StartupTest {};

}  // namespace

TEST_F(RunModes, ShowAndPreviewSwitchesScanThePictureFolder) {
    UsePictureFolder(Folder(L"empty"));
    for (const wchar_t* args : {L"/s", L"/S", L"/sX", L"/save", L"/S5", L"/p 99", L"/P:99", L"/p1234", L"/pz 99"}) {
        SCOPED_TRACE(Narrow(args));
        Process p = StartProgram(ScrPath(), args);
        ASSERT_NE(p.handle(), nullptr);
        EXPECT_EQ(AnswerMessageBox(p), kNoPicturesText);
        EXPECT_EQ(p.Wait(kStartTimeoutMs), 0);
        EXPECT_EQ(ActiveFlag(), 1) << "ending at once leaves the flag set";
    }
}

TEST_F(RunModes, EverythingElseOpensTheSettingsWithoutScanning) {
    UsePictureFolder(root_ + L"missing\\");
    for (const wchar_t* args : {L"", L"/c", L"/c:5678", L"/a", L"s", L"-s", L"/"}) {
        SCOPED_TRACE(Narrow(args));
        Process p = StartProgram(ScrPath(), args);
        ASSERT_NE(p.handle(), nullptr);
        HWND dialog = WaitForSettingsDialog(p);
        ASSERT_NE(dialog, nullptr) << "the settings dialog";
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr) << "the settings dialog has no owner";
        EXPECT_EQ(ProcessWindows(p.pid(), true), std::vector<HWND>{dialog}) << "no message: the folder was not scanned";
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_EQ(p.Wait(kStartTimeoutMs), 0);
    }
}

TEST_F(RunModes, APreviewHandleThatIsNotANumberIsReportedAndNothingIsShown) {
    UsePictureFolder(Folder(L"empty"));
    struct Case { const wchar_t* args; const wchar_t* message; };
    for (const Case& c : {Case{L"/p", L"型が一致しません。 (13)"}, Case{L"/p ", L"型が一致しません。 (13)"},
                          Case{L"/p xyz", L"型が一致しません。 (13)"}, Case{L"/P:12ab", L"型が一致しません。 (13)"},
                          Case{L"/p 99999999999", L"オーバーフローしました。 (6)"}}) {
        SCOPED_TRACE(Narrow(c.args));
        Process p = StartProgram(ScrPath(), c.args);
        ASSERT_NE(p.handle(), nullptr);
        EXPECT_EQ(AnswerMessageBox(p), c.message);
        EXPECT_EQ(p.Wait(kStartTimeoutMs), 0) << "no second message, no window";
        EXPECT_EQ(ActiveFlag(), 1);
    }
}

TEST_F(RunModes, PreviewLeavesTheStoredBlockSizeAlone) {
    UsePictureFolder(Folder(L"empty"));
    WriteProgramInt16(L"Settings", L"BlockSize", 40);
    Process p = StartProgram(ScrPath(), L"/p 99");
    EXPECT_EQ(AnswerMessageBox(p), kNoPicturesText);
    EXPECT_EQ(p.Wait(kStartTimeoutMs), 0);
    const RegValue stored = ReadProgramValue(L"Settings", L"BlockSize");
    EXPECT_EQ(stored.data, (std::vector<uint8_t>{40, 0}));
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_BINARY));
}
