// The single-instance guard with real second processes: the "Active" flag and a copy that really runs.
#include <gtest/gtest.h>

#include "e2e/startup_steps.h"

using namespace kpv::test;

namespace {

class InstanceGuard : public StartupTest {
protected:
    // A first copy that keeps running: a show of an empty folder waiting on its message.
    Process StartWaitingCopy() {
        Process p = StartProgram(ScrPath(), L"/s");
        waiting_ = WaitForMessageBox(p.pid(), kStartTimeoutMs);
        EXPECT_NE(waiting_, nullptr);
        return p;
    }
    void EndWaitingCopy(Process& p) {
        if (waiting_) PressButton(waiting_, IDOK);
        EXPECT_EQ(p.Wait(kStartTimeoutMs), 0);
    }
    HWND waiting_ = nullptr;
};

}  // namespace

TEST_F(InstanceGuard, AStartWhileAnotherCopyRunsEndsSilently) {
    UsePictureFolder(Folder(L"empty"));
    Process first = StartWaitingCopy();
    const RegValue flag = ReadProgramValue(L"Flags", L"Active");
    EXPECT_EQ(flag.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(flag.data, (std::vector<uint8_t>{1, 0}));

    for (const wchar_t* args : {L"/s", L"/p 99", L"/c", L""}) {
        SCOPED_TRACE(Narrow(args));
        Process second = StartProgram(ScrPath(), args);
        EXPECT_EQ(WaitForEndOrWindow(second), nullptr) << "no message, no window";
        EXPECT_EQ(second.Wait(kStartTimeoutMs), 0);
        EXPECT_EQ(ActiveFlag(), 1);
    }
    EndWaitingCopy(first);
}

TEST_F(InstanceGuard, AStaleFlagWithNoCopyRunningDoesNotBlock) {
    UsePictureFolder(Folder(L"empty"));
    WriteProgramInt16(L"Flags", L"Active", 1);
    Process p = StartProgram(ScrPath(), L"/s");
    EXPECT_EQ(AnswerMessageBox(p), kNoPicturesText);
    EXPECT_EQ(p.Wait(kStartTimeoutMs), 0);
    EXPECT_EQ(ActiveFlag(), 1);
}

TEST_F(InstanceGuard, AClearedOrUnreadableFlagLetsASecondCopyIn) {
    UsePictureFolder(Folder(L"empty"));
    Process first = StartWaitingCopy();
    // Cleared (a copy unloading), or stored in a form the guard cannot read: counts as not set.
    for (const std::vector<uint8_t>& data : {std::vector<uint8_t>{0, 0}, std::vector<uint8_t>{1, 0, 0, 0}}) {
        WriteProgramValue(L"Flags", L"Active", REG_BINARY, data);
        Process second = StartProgram(ScrPath(), L"/s");
        EXPECT_EQ(AnswerMessageBox(second), kNoPicturesText) << "the second copy went ahead";
        EXPECT_EQ(second.Wait(kStartTimeoutMs), 0);
        EXPECT_EQ(ReadProgramValue(L"Flags", L"Active").data, (std::vector<uint8_t>{1, 0}));
    }
    // One byte holding 1 is a set flag.
    WriteProgramValue(L"Flags", L"Active", REG_BINARY, {1});
    Process third = StartProgram(ScrPath(), L"/s");
    EXPECT_EQ(WaitForEndOrWindow(third), nullptr);
    EXPECT_EQ(third.Wait(kStartTimeoutMs), 0);
    EndWaitingCopy(first);
}
