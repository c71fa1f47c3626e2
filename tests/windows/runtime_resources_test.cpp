// The executable's resources and the runtime's view of the program, read back under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "support/driver_win.h"
#include "runtime/base/app_info_win.h"
#include "runtime/base/text_win.h"

namespace {

std::wstring ScrFile() { return kpv::test::ScrPath(); }

std::wstring VersionText(const std::vector<BYTE>& block, const wchar_t* name) {
    void* p = nullptr;
    UINT len = 0;
    std::wstring key = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
    if (!VerQueryValueW(block.data(), key.c_str(), &p, &len)) return {};
    std::wstring s(static_cast<wchar_t*>(p));
    return s;
}

}  // namespace

TEST(ScreenSaverResources, NameAndVersionTextsReadBackInJapanese) {
    const std::wstring scr = ScrFile();
    HMODULE module = LoadLibraryExW(scr.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << "cannot open " << kpv::rt::WideToAnsi(scr);
    wchar_t name[128] = {};
    ASSERT_GT(LoadStringW(module, 1, name, 128), 0);
    EXPECT_EQ(std::wstring(name), L"KPV \u753B\u50CF\u30B9\u30E9\u30A4\u30C9\u30B7\u30E7\u30FC");
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON), nullptr);
    FreeLibrary(module);

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(scr.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(scr.c_str(), 0, size, block.data()));
    EXPECT_EQ(VersionText(block, L"CompanyName"), L"Tarnel Software");
    EXPECT_EQ(VersionText(block, L"LegalCopyright"), L"Copyright (C) 2026 Tarnel Software");
    EXPECT_EQ(VersionText(block, L"FileDescription"),
              L"KPV \u753B\u50CF\u30B9\u30E9\u30A4\u30C9\u30B7\u30E7\u30FC \u30B9\u30AF\u30EA\u30FC\u30F3\u30BB\u30FC\u30D0\u30FC");
    void* p = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &p, &len));
    EXPECT_EQ(HIWORD(static_cast<VS_FIXEDFILEINFO*>(p)->dwFileVersionMS), 1);
}

TEST(ApplicationInfo, CommandArgumentsDropTheProgramPath) {
    using kpv::rt::CommandArgsFrom;
    EXPECT_EQ(CommandArgsFrom(L"\"C:\\Program Files\\KPV.scr\" /s"), L"/s");
    EXPECT_EQ(CommandArgsFrom(L"C:\\KPV.scr   /p 1234"), L"/p 1234");
    EXPECT_EQ(CommandArgsFrom(L"KPV.scr"), L"");
    EXPECT_EQ(CommandArgsFrom(L"\"KPV.scr\""), L"");
    EXPECT_EQ(CommandArgsFrom(L"\"C:\\a b\\KPV.scr\" /c:5678"), L"/c:5678");
}

TEST(ApplicationInfo, FolderHasNoTrailingBackslashAndTitleIsSet) {
    const std::wstring path = kpv::rt::AppPath();
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.back(), L'\\');
    EXPECT_FALSE(kpv::rt::AppTitle().empty());
}

TEST(TextConversion, JapaneseRoundTripsThroughTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 932u) << "the test prefix must run with the Japanese locale";
    const std::wstring folder = L"C:\\\u753B\u50CF\\";
    const std::string ansi = kpv::rt::WideToAnsi(folder);
    EXPECT_EQ(ansi.size(), 3u + 4u + 1u);  // two double-byte characters
    EXPECT_EQ(kpv::rt::AnsiToWide(ansi), folder);
}
