// LoadSettings and the settings writer against the real registry: byte for byte, defaults, bad data.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/driver_win.h"
#include "runtime/base/app_info_win.h"
#include "settings/saver_settings.h"
#include "settings/registry_win.h"
#include "settings/settings_store_win.h"

using namespace kpv::test;
using kpv::SaverSettings;

namespace {

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        kpv::RegistryKeyBase = L"Software\\Tarnel Software\\KPV\\";
        DeleteProgramKey();
        SaverSettings = {};
    }
    void TearDown() override { DeleteProgramKey(); }

    static std::wstring ProgramFolderWithBackslash() { return kpv::rt::AppPath() + L"\\"; }

    static void WriteBytes(const wchar_t* name, DWORD type, std::vector<uint8_t> data) {
        WriteProgramValue(L"Settings", name, type, data);
    }
};

}  // namespace

TEST_F(SettingsStore, NoProductKeyGivesEveryDefaultAndAnEmptySettingsKey) {
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, ProgramFolderWithBackslash());
    EXPECT_EQ(SaverSettings.SubFolder, 1);
    EXPECT_EQ(SaverSettings.Interval, 1);
    EXPECT_EQ(SaverSettings.BlockSize, 32);
    EXPECT_EQ(SaverSettings.Speed, 0);
    EXPECT_EQ(SaverSettings.BackGround, 0);
    EXPECT_EQ(SaverSettings.BackColor, 0x00808080u);
    EXPECT_EQ(SaverSettings.Edit, 0);
    EXPECT_EQ(SaverSettings.Case, 1);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Tarnel Software\\KPV\\Settings", 0, KEY_READ, &key), 0)
        << "loading creates the Settings key";
    DWORD values = 99;
    EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr), 0);
    EXPECT_EQ(values, 0u) << "loading writes nothing back";
    RegCloseKey(key);
}

TEST_F(SettingsStore, PathGainsATrailingBackslashOnlyWhenItLacksOne) {
    WriteProgramPathA(L"Settings", L"Path", "C:\\Pictures");
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, L"C:\\Pictures\\");
    WriteProgramPathA(L"Settings", L"Path", "C:\\Pictures\\");
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, L"C:\\Pictures\\");
}

TEST_F(SettingsStore, EmptyPathIsTheCurrentDriveRoot) {
    WriteProgramPathA(L"Settings", L"Path", "");
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, L"\\");
}

TEST_F(SettingsStore, PathOf260BytesLoadsAnd261FallBackToTheProgramFolder) {
    const std::string fits = "C:\\" + std::string(257, 'a');
    ASSERT_EQ(fits.size(), 260u);
    WriteProgramPathA(L"Settings", L"Path", fits);
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, L"C:\\" + std::wstring(257, L'a') + L"\\");

    WriteProgramPathA(L"Settings", L"Path", fits + "b");
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, ProgramFolderWithBackslash());
}

TEST_F(SettingsStore, JapanesePathIsReadInTheAnsiCodePageUpTo260Bytes) {
    ASSERT_EQ(GetACP(), 932u);
    // Two bytes per character in the code page: 3 + 2 * 128 + 1 = 260 bytes.
    const std::wstring wide = L"C:\\" + std::wstring(128, L'\u753B') + L"x";
    std::string ansi = "C:\\";
    for (int i = 0; i < 128; ++i) ansi += "\x89\xE6";  // 画 in code page 932
    ansi += "x";
    ASSERT_EQ(ansi.size(), 260u);
    WriteProgramPathA(L"Settings", L"Path", ansi);
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, wide + L"\\");

    WriteProgramPathA(L"Settings", L"Path", ansi + "y");
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, ProgramFolderWithBackslash());
}

TEST_F(SettingsStore, PathIsCutAtTheFirstNul) {
    WriteProgramPathA(L"Settings", L"Path", std::string("D:\\a\0D:\\b\\", 10));
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, L"D:\\a\\");
}

TEST_F(SettingsStore, HugeOrOddlyTypedPathIsHandledWithoutHarm) {
    WriteProgramPathA(L"Settings", L"Path", std::string(64 * 1024, 'x'));
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, ProgramFolderWithBackslash());

    // The type is not looked at: bytes that fit are text.
    WriteBytes(L"Path", REG_BINARY, {'C', ':', '\\', 'X'});
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, L"C:\\X\\");

    WriteBytes(L"Path", REG_BINARY, std::vector<uint8_t>(300, 'z'));
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, ProgramFolderWithBackslash());

    WriteBytes(L"Path", REG_BINARY, {});
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, L"\\");
}

TEST_F(SettingsStore, NumbersFillTheirFieldsByteForByte) {
    WriteBytes(L"BlockSize", REG_BINARY, {0x40, 0x00, 0x00, 0x00});  // 4 bytes: longer than the field
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.BlockSize, 32);

    SaverSettings.BlockSize = 0;
    WriteBytes(L"BlockSize", REG_BINARY, {9});
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.BlockSize, 9);

    // Shorter data leaves the field's other bytes as they were.
    SaverSettings.BlockSize = 0x1200;
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.BlockSize, 0x1209);

    SaverSettings.Speed = 0x11223344;
    WriteBytes(L"Speed", REG_BINARY, {0x01, 0x02});
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Speed, 0x11220201);

    SaverSettings.Edit = 0x0102;
    WriteBytes(L"Edit", REG_BINARY, {});
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Edit, 0x0102) << "empty data copies nothing";
}

TEST_F(SettingsStore, EveryNumberIsReadFromItsOwnValue) {
    WriteSettings({.path = L"C:\\", .interval = 45, .blockSize = 120, .speed = 20000, .backColor = 0x00123456, .edit = 3});
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Path, L"C:\\");
    EXPECT_EQ(SaverSettings.SubFolder, 0);
    EXPECT_EQ(SaverSettings.Interval, 45);
    EXPECT_EQ(SaverSettings.BlockSize, 120);
    EXPECT_EQ(SaverSettings.Speed, 20000);
    EXPECT_EQ(SaverSettings.BackGround, 1);
    EXPECT_EQ(SaverSettings.BackColor, 0x00123456u);
    EXPECT_EQ(SaverSettings.Edit, 3);
    EXPECT_EQ(SaverSettings.Case, 0);
}

TEST_F(SettingsStore, ValuesOutsideTheDialogsRangesArePassedOnUnchanged) {
    WriteProgramInt16(L"Settings", L"Interval", 0);
    WriteProgramInt16(L"Settings", L"BlockSize", -5);
    WriteProgramInt32(L"Settings", L"Speed", -1);
    WriteProgramInt16(L"Settings", L"SubFolder", 2);
    WriteProgramInt16(L"Settings", L"Edit", 9);
    WriteProgramInt32(L"Settings", L"BackColor", static_cast<int32_t>(0x80000005));
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Interval, 0);
    EXPECT_EQ(SaverSettings.BlockSize, -5);
    EXPECT_EQ(SaverSettings.Speed, -1);
    EXPECT_EQ(SaverSettings.SubFolder, 2);
    EXPECT_EQ(SaverSettings.Edit, 9);
    EXPECT_EQ(SaverSettings.BackColor, 0x80000005u);

    WriteProgramInt16(L"Settings", L"Interval", 100);
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.Interval, 100);
}

TEST_F(SettingsStore, WronglyTypedNumbersAreTakenByteForByteOrDefaulted) {
    // A DWORD is 4 bytes: too long for a 16-bit field, so the default.
    WriteBytes(L"SubFolder", REG_DWORD, {0, 0, 0, 0});
    // A text "7" read through the ANSI function is the bytes '7' and NUL.
    WriteProgramPathA(L"Settings", L"Interval", "7");
    // A DWORD fits the 32-bit colour exactly.
    WriteBytes(L"BackColor", REG_DWORD, {0x11, 0x22, 0x33, 0x00});
    WriteBytes(L"Case", REG_SZ, std::vector<uint8_t>(64, 'q'));
    kpv::LoadSettings();
    EXPECT_EQ(SaverSettings.SubFolder, 1);
    EXPECT_EQ(SaverSettings.Interval, 0x0037);
    EXPECT_EQ(SaverSettings.BackColor, 0x00332211u);
    EXPECT_EQ(SaverSettings.Case, 1);
}

TEST_F(SettingsStore, WriterStoresEachValueInItsTypeAndWidth) {
    SaverSettings.Path = L"C:\\\u753B\u50CF\\";
    SaverSettings.SubFolder = 0;
    SaverSettings.Interval = 60;
    SaverSettings.BlockSize = 300;
    SaverSettings.Speed = 20000;
    SaverSettings.BackGround = 1;
    SaverSettings.BackColor = 0x80000005;
    SaverSettings.Edit = 2;
    SaverSettings.Case = 0;
    {
        const kpv::rt::UniqueHKey key = kpv::OpenProgramKey(L"Settings");
        ASSERT_TRUE(key);
        kpv::WriteSettingsValues(key.get());
    }
    const RegValue path = ReadProgramValueA(L"Settings", "Path");
    ASSERT_TRUE(path.exists);
    EXPECT_EQ(path.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(path.data, (std::vector<uint8_t>{'C', ':', '\\', 0x89, 0xE6, 0x91, 0x9C, '\\', 0}));

    struct Expected { const char* name; std::vector<uint8_t> bytes; };
    const Expected numbers[] = {
        {"SubFolder", {0, 0}},       {"Interval", {60, 0}},   {"BlockSize", {0x2C, 0x01}},
        {"Speed", {0x20, 0x4E, 0, 0}}, {"BackGround", {1, 0}}, {"BackColor", {5, 0, 0, 0x80}},
        {"Edit", {2, 0}},            {"Case", {0, 0}}};
    for (const Expected& e : numbers) {
        const RegValue v = ReadProgramValueA(L"Settings", e.name);
        ASSERT_TRUE(v.exists) << e.name;
        EXPECT_EQ(v.type, static_cast<DWORD>(REG_BINARY)) << e.name;
        EXPECT_EQ(v.data, e.bytes) << e.name;
    }
}

TEST_F(SettingsStore, WrittenSettingsReadBackToTheSameRecord) {
    const std::wstring longest = L"C:\\" + std::wstring(256, L'p') + L"\\";  // 260 bytes with its backslash
    for (const std::wstring& folder : {std::wstring(L"C:\\\u5199\u771F\\\u65C5\u884C\\"), longest}) {
        SaverSettings = {};
        SaverSettings.Path = folder;
        SaverSettings.SubFolder = 1;
        SaverSettings.Interval = 7;
        SaverSettings.BlockSize = 10;
        SaverSettings.Speed = 1234;
        SaverSettings.BackGround = 0;
        SaverSettings.BackColor = 0x00FF8000;
        SaverSettings.Edit = 3;
        SaverSettings.Case = 1;
        const kpv::SaverSettingsRecord written = SaverSettings;
        {
            const kpv::rt::UniqueHKey key = kpv::OpenProgramKey(L"Settings");
            ASSERT_TRUE(key);
            kpv::WriteSettingsValues(key.get());
        }
        SaverSettings = {};
        kpv::LoadSettings();
        EXPECT_EQ(SaverSettings.Path, written.Path);
        EXPECT_EQ(SaverSettings.SubFolder, written.SubFolder);
        EXPECT_EQ(SaverSettings.Interval, written.Interval);
        EXPECT_EQ(SaverSettings.BlockSize, written.BlockSize);
        EXPECT_EQ(SaverSettings.Speed, written.Speed);
        EXPECT_EQ(SaverSettings.BackGround, written.BackGround);
        EXPECT_EQ(SaverSettings.BackColor, written.BackColor);
        EXPECT_EQ(SaverSettings.Edit, written.Edit);
        EXPECT_EQ(SaverSettings.Case, written.Case);
    }
}
