// Started without a show or preview switch, the real KPV.scr goes to its settings and ends with them.
#include <gtest/gtest.h>

#include <vector>

#include "e2e/startup_steps.h"

using namespace kpv::test;

TEST(StartupSmoke, UnknownSwitchOpensTheSettingsWithoutAMessageAndEndsCleanly) {
    DeleteProgramKey();
    // A folder that is not there: a scan of it would say so.
    WriteProgramPathA(L"Settings", L"Path", Narrow(TestDataDir() + L"\\no_such_folder\\"));
    Process p = StartProgram(ScrPath(), L"/x");
    ASSERT_NE(p.handle(), nullptr);
    HWND dialog = WaitForSettingsDialog(p);
    ASSERT_NE(dialog, nullptr) << "the settings dialog";
    EXPECT_TRUE(OnlyWindowFor(p, dialog, 2000)) << "no message beside it: the folder was not scanned";
    PostMessageW(dialog, WM_CLOSE, 0, 0);  // closed as a user would
    EXPECT_EQ(p.Wait(kStartTimeoutMs), 0);
    EXPECT_EQ(ActiveFlag(), 0);
    DeleteProgramKey();
}
