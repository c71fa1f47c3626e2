// A product key that this user may not write: the message, then the end, and no hang.
#include <gtest/gtest.h>
#include <windows.h>

#include "e2e/startup_steps.h"

using namespace kpv::test;

namespace {

const wchar_t kProductKey[] = L"Software\\Tarnel Software\\KPV\\";

// Sets the key's access list to: everyone denied `denied`, everyone allowed everything else.
bool SetKeyAccess(const std::wstring& sub, DWORD denied) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, (kProductKey + sub).c_str(), 0, nullptr, 0, WRITE_DAC, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    alignas(DWORD) BYTE aclBuffer[256];
    auto* acl = reinterpret_cast<ACL*>(aclBuffer);
    bool ok = everyone && InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
    if (ok && denied != 0) ok = AddAccessDeniedAce(acl, ACL_REVISION, denied, everyone);
    if (ok) ok = AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone);
    SECURITY_DESCRIPTOR sd;
    if (ok) ok = InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
                 SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE) &&
                 RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    if (everyone) FreeSid(everyone);
    RegCloseKey(key);
    return ok;
}

class KeyAccess : public StartupTest {
protected:
    void TearDown() override {
        SetKeyAccess(L"Flags", 0);
        SetKeyAccess(L"Settings", 0);
        StartupTest::TearDown();
    }
    static bool WriteRefused(const std::wstring& sub) {
        HKEY key = nullptr;
        const LONG r = RegOpenKeyExW(HKEY_CURRENT_USER, (kProductKey + sub).c_str(), 0, KEY_ALL_ACCESS, &key);
        if (key) RegCloseKey(key);
        return r == ERROR_ACCESS_DENIED;
    }
};

}  // namespace

TEST_F(KeyAccess, AFlagsKeyThatCannotBeOpenedGivesTheMessageAndEnds) {
    UsePictureFolder(Folder(L"empty"));
    ASSERT_TRUE(SetKeyAccess(L"Flags", KEY_SET_VALUE));
    ASSERT_TRUE(WriteRefused(L"Flags"));
    for (const wchar_t* args : {L"/s", L"/c"}) {
        SCOPED_TRACE(Narrow(args));
        Process p = StartProgram(ScrPath(), args);
        EXPECT_EQ(AnswerMessageBox(p), kSettingsReadFailedText);
        EXPECT_EQ(p.Wait(kStartTimeoutMs), 0) << "ends at once: no second message, no dialog";
    }
    EXPECT_EQ(ReadProgramValue(L"Flags", L"Active").exists, false);
}

TEST_F(KeyAccess, ASettingsKeyThatCannotBeOpenedGivesTheMessageAfterTheGuard) {
    UsePictureFolder(Folder(L"empty"));
    ASSERT_TRUE(SetKeyAccess(L"Settings", KEY_SET_VALUE));
    ASSERT_TRUE(WriteRefused(L"Settings"));
    for (const wchar_t* args : {L"/s", L"/p 99", L"/c"}) {
        SCOPED_TRACE(Narrow(args));
        Process p = StartProgram(ScrPath(), args);
        EXPECT_EQ(AnswerMessageBox(p), kSettingsReadFailedText);
        EXPECT_EQ(p.Wait(kStartTimeoutMs), 0);
        EXPECT_EQ(ActiveFlag(), 1) << "the guard passed and the run ended at once";
    }
}
