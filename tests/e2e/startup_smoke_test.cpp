// Started without a show or preview switch, the real KPV.scr goes to its settings and ends with them.
#include <gtest/gtest.h>

#include "e2e/startup_steps.h"

using namespace kpv::test;

TEST(StartupSmoke, UnknownSwitchOpensTheSettingsWithoutAMessageAndEndsCleanly) {
    DeleteProgramKey();
    Process p = StartProgram(ScrPath(), L"/x");
    ASSERT_NE(p.handle(), nullptr);
    if (HWND w = WaitForEndOrWindow(p)) {
        EXPECT_NE(MessageBoxText(w), kSettingsReadFailedText);
        EXPECT_NE(MessageBoxText(w), kNoPicturesText);
        PostMessageW(w, WM_CLOSE, 0, 0);  // the settings dialog, closed as a user would
    }
    EXPECT_EQ(p.Wait(kStartTimeoutMs), 0);
    DeleteProgramKey();
}
