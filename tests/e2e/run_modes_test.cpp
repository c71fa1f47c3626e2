// The real KPV.scr tells show, preview and settings apart by the first two characters of its arguments.
// With an empty picture folder, the show and the preview scan it and say so; the settings never scan.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/preview_host_win.h"
#include "e2e/startup_steps.h"

using namespace kpv::test;

namespace {

class RunModes : public StartupTest {
protected:
    // The preview's no-pictures message; the host window of this thread answers the preview meanwhile.
    static std::wstring AnswerWhilePumping(const Process& p) {
        PumpUntil([&] { return WaitForMessageBox(p.pid(), 0) != nullptr || !p.Running(); }, kStartTimeoutMs);
        return AnswerMessageBox(p, 0);
    }
};

}  // namespace

TEST_F(RunModes, ShowAndPreviewSwitchesScanThePictureFolder) {
    UsePictureFolder(Folder(L"empty"));
    for (const wchar_t* args : {L"/s", L"/S", L"/sX", L"/save", L"/S5"}) {
        SCOPED_TRACE(Narrow(args));
        Process p = StartProgram(ScrPath(), args);
        ASSERT_NE(p.handle(), nullptr);
        EXPECT_EQ(AnswerMessageBox(p), kNoPicturesText);
        EXPECT_EQ(p.Wait(kStartTimeoutMs), 0);
        EXPECT_EQ(ActiveFlag(), 1) << "ending at once leaves the flag set";
    }
    // The handle is the text from the fourth character on: "/p1<h>" names <h>, as "/p1234" names 234.
    HostWindows host;
    const std::wstring h = HandleText(host.preview);
    for (const std::wstring& args : {L"/p " + h, L"/P:" + h, L"/p1" + h, L"/pz " + h}) {
        SCOPED_TRACE(Narrow(args));
        Process p = StartProgram(ScrPath(), args);
        ASSERT_NE(p.handle(), nullptr);
        EXPECT_EQ(AnswerWhilePumping(p), kNoPicturesText);
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
        // A scan would say the folder is missing; it would come within a moment, worker or not. Every start
        // here goes the same way, so the first is given the time and the others are looked at once.
        EXPECT_TRUE(OnlyWindowFor(p, dialog, args[0] == L'\0' ? 2000 : 0)) << "no message: the folder was not scanned";
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
    HostWindows host;
    Process p = StartProgram(ScrPath(), L"/p " + HandleText(host.preview));
    EXPECT_EQ(AnswerWhilePumping(p), kNoPicturesText);
    EXPECT_EQ(p.Wait(kStartTimeoutMs), 0);
    const RegValue stored = ReadProgramValue(L"Settings", L"BlockSize");
    EXPECT_EQ(stored.data, (std::vector<uint8_t>{40, 0}));
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_BINARY));
}
