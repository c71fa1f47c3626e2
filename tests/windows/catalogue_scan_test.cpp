// The picture scan on real folders under Wine: names, order, depth, links, locked and missing folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/driver_win.h"
#include "startup/catalogue_win.h"
#include "startup/mod_main.h"

using namespace kpv::test;

namespace {

struct ScanResult {
    std::vector<std::wstring> list{L""};
    std::vector<uint32_t> errors;
};

ScanResult Scan(const std::wstring& folder, bool descend = true) {
    ScanResult r;
    kpv::ScanPictures(folder, descend, r.list, [&](uint32_t e) { r.errors.push_back(e); });
    return r;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> v) {
    std::sort(v.begin(), v.end());
    return v;
}

bool TouchFile(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

// A folder link: a Unix symbolic link under Wine (whose own links are not real), a directory symlink elsewhere.
bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) != 0;
    auto toWide = [&](const std::wstring& path) {
        char* u = unixName(path.c_str());
        if (!u) return std::wstring();
        std::wstring w(MultiByteToWideChar(CP_UTF8, 0, u, -1, nullptr, 0), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, u, -1, w.data(), static_cast<int>(w.size()));
        HeapFree(GetProcessHeap(), 0, u);
        w.pop_back();
        return w;
    };
    // The link's own folder exists; its name does not yet, so convert the parent and append the name.
    const size_t slash = link.find_last_of(L'\\');
    const std::wstring unixLink = toWide(link.substr(0, slash)) + L"/" + link.substr(slash + 1);
    std::wstring command = L"/bin/ln -s \"" + toWide(target) + L"\" \"" + unixLink + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    WaitForSingleObject(pi.hProcess, 10000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code == 0 && GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class CatalogueScan : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = info->name();
        root_ = TestDataDir() + L"\\cat\\" + std::wstring(name.begin(), name.end()) + L"\\";
        RemoveTree(root_.substr(0, root_.size() - 1));
        ASSERT_TRUE(MakeDirectory(root_));
    }
    void TearDown() override { RemoveTree(root_.substr(0, root_.size() - 1)); }

    std::wstring Folder(const std::wstring& relative) {
        const std::wstring path = root_ + relative + L"\\";
        EXPECT_TRUE(MakeDirectory(path));
        return path;
    }
    void Files(const std::wstring& folder, std::initializer_list<const wchar_t*> names) {
        for (const wchar_t* n : names) ASSERT_TRUE(TouchFile(folder + n));
    }

    std::wstring root_;
};

}  // namespace

TEST_F(CatalogueScan, PicturesAreTheNamesEndingInBmpJpgOrJpegInAnyCase) {
    Files(root_, {L"a.bmp", L"B.Jpg", L"c.JPEG", L"d.jpeg", L".bmp", L"e.jpe", L"f.gif", L"g.png", L"h.bmp.txt"});
    Folder(L"x.jpg");
    const ScanResult r = Scan(root_);
    EXPECT_TRUE(r.errors.empty());
    EXPECT_EQ(Sorted(r.list), Sorted({root_ + L".bmp", root_ + L"B.Jpg", root_ + L"a.bmp", root_ + L"c.JPEG",
                                      root_ + L"d.jpeg"}));
}

TEST_F(CatalogueScan, OnlySubFolderOneDescends) {
    Files(root_, {L"top.jpg"});
    Files(Folder(L"S"), {L"below.bmp"});
    kpv::SaverSettings = {};
    for (const int16_t subFolder : {0, 1, 2, -1}) {
        kpv::SaverSettings.SubFolder = subFolder;
        kpv::PictureList.assign(1, L"");
        kpv::ScanFolder(root_);
        const std::vector<std::wstring> expected =
            subFolder == 1 ? std::vector<std::wstring>{root_ + L"top.jpg", root_ + L"S\\below.bmp"}
                           : std::vector<std::wstring>{root_ + L"top.jpg"};
        EXPECT_EQ(kpv::PictureList, expected) << "SubFolder " << subFolder;
    }
}

TEST_F(CatalogueScan, AFoldersFilesComeBeforeItsSubfoldersAndEachSubfolderIsWhole) {
    Files(root_, {L"1.jpg"});
    Files(Folder(L"S"), {L"2.bmp"});
    EXPECT_EQ(Scan(root_).list, (std::vector<std::wstring>{root_ + L"1.jpg", root_ + L"S\\2.bmp"}));

    for (const wchar_t* group : {L"A", L"B", L"C"}) {
        Files(Folder(group), {L"own.jpg"});
        Files(Folder(std::wstring(group) + L"\\X"), {L"inner.jpg"});
        Files(Folder(std::wstring(group) + L"\\X\\Y"), {L"innermost.jpg"});
    }
    Files(root_, {L"0.jpg"});
    const ScanResult r = Scan(root_);
    ASSERT_EQ(r.list.size(), 2u + 1u + 3u * 3u);
    EXPECT_EQ(Sorted({r.list[0], r.list[1]}), Sorted({root_ + L"0.jpg", root_ + L"1.jpg"}));
    // S and the three groups follow in the platform's order, each one complete and in depth order.
    std::vector<std::wstring> groupsSeen;
    for (size_t i = 2; i < r.list.size();) {
        const std::wstring rest = r.list[i].substr(root_.size());
        const std::wstring group = rest.substr(0, rest.find(L'\\'));
        EXPECT_EQ(std::count(groupsSeen.begin(), groupsSeen.end(), group), 0) << "group split: " << i;
        groupsSeen.push_back(group);
        if (group == L"S") {
            EXPECT_EQ(r.list[i], root_ + L"S\\2.bmp");
            i += 1;
            continue;
        }
        ASSERT_LE(i + 3, r.list.size());
        EXPECT_EQ(r.list[i], root_ + group + L"\\own.jpg");
        EXPECT_EQ(r.list[i + 1], root_ + group + L"\\X\\inner.jpg");
        EXPECT_EQ(r.list[i + 2], root_ + group + L"\\X\\Y\\innermost.jpg");
        i += 3;
    }
    EXPECT_EQ(groupsSeen.size(), 4u);
}

TEST_F(CatalogueScan, AFolderThatCannotBeListedIsReportedOnceAndTheRestIsCollected) {
    Files(root_, {L"top.jpg"});
    const std::wstring locked = Folder(L"Locked");
    Files(locked, {L"hidden.jpg"});
    Files(Folder(L"Open"), {L"seen.bmp"});
    // Held without sharing, the folder cannot be opened for listing by anyone else.
    HANDLE hold = CreateFileW(locked.c_str(), FILE_LIST_DIRECTORY, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    const ScanResult r = Scan(root_);
    CloseHandle(hold);
    EXPECT_EQ(r.errors, (std::vector<uint32_t>{ERROR_SHARING_VIOLATION}));
    EXPECT_EQ(Sorted(r.list), Sorted({root_ + L"top.jpg", root_ + L"Open\\seen.bmp"}));
}

TEST_F(CatalogueScan, AMissingFolderOrAFileGivenAsFolderIsOneErrorAndNoPictures) {
    const ScanResult missing = Scan(root_ + L"nowhere\\");
    ASSERT_EQ(missing.errors.size(), 1u);
    EXPECT_TRUE(missing.errors[0] == ERROR_FILE_NOT_FOUND || missing.errors[0] == ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(missing.list, (std::vector<std::wstring>{L""}));

    Files(root_, {L"plain.jpg"});
    const ScanResult file = Scan(root_ + L"plain.jpg\\");
    EXPECT_EQ(file.errors.size(), 1u);
    EXPECT_NE(file.errors.empty() ? 0u : file.errors[0], 0u);
    EXPECT_EQ(file.list, (std::vector<std::wstring>{L""}));
}

TEST_F(CatalogueScan, ALinkLoopEndsAndListsEachPictureOnce) {
    Files(root_, {L"top.jpg"});
    const std::wstring a = Folder(L"a");
    Files(a, {L"pic.jpg"});
    ASSERT_TRUE(MakeFolderLink(a + L"back", root_.substr(0, root_.size() - 1)));
    ASSERT_TRUE(MakeFolderLink(a + L"self", a.substr(0, a.size() - 1)));
    Files(Folder(L"s"), {L"shared.bmp"});
    const std::wstring t = Folder(L"t");
    ASSERT_TRUE(MakeFolderLink(t + L"toS", root_ + L"s"));

    const ScanResult r = Scan(root_);
    EXPECT_TRUE(r.errors.empty());
    ASSERT_EQ(r.list.size(), 3u);
    EXPECT_EQ(r.list[0], root_ + L"top.jpg");
    const std::vector<std::wstring> rest(r.list.begin() + 1, r.list.end());
    EXPECT_EQ(std::count(rest.begin(), rest.end(), root_ + L"a\\pic.jpg"), 1);
    // The shared folder is listed once, under whichever of its two paths came first.
    EXPECT_EQ(std::count_if(rest.begin(), rest.end(),
                            [](const std::wstring& p) { return p.ends_with(L"\\shared.bmp"); }), 1);
}

TEST_F(CatalogueScan, NamesOutsideTheAnsiCodePageAreFoundAndCanBeOpened) {
    const std::wstring folder = Folder(L"\u2603\u96EA");
    const std::wstring name = L"\u00E9t\u00E9\U0001F600.jpg";
    Files(folder, {name.c_str()});
    const ScanResult r = Scan(root_);
    ASSERT_EQ(r.list, (std::vector<std::wstring>{folder + name}));
    HANDLE h = CreateFileW(r.list[0].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

TEST_F(CatalogueScan, BuildingStartsAfreshAndOnePictureIsEntryZero) {
    Files(root_, {L"only.jpg", L"other.txt"});
    kpv::SaverSettings = {};
    kpv::SaverSettings.Path = root_;
    kpv::SaverSettings.SubFolder = 1;
    kpv::PictureList = {L"C:\\old\\1.jpg", L"C:\\old\\2.jpg", L"C:\\old\\3.jpg"};
    EXPECT_TRUE(kpv::BuildPictureList());
    EXPECT_EQ(kpv::PictureList, (std::vector<std::wstring>{root_ + L"only.jpg"}));
}

TEST_F(CatalogueScan, MoreEntriesThanASixteenBitIndexHolds) {
    const std::wstring many = Folder(L"many");
    constexpr int kCount = 33000;
    for (int i = 0; i < kCount; ++i) ASSERT_TRUE(TouchFile(many + std::to_wstring(i) + L".jpg"));
    const ScanResult r = Scan(root_);
    EXPECT_TRUE(r.errors.empty());
    ASSERT_EQ(r.list.size(), static_cast<size_t>(kCount));
    std::vector<std::wstring> sorted = Sorted(r.list);
    EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end()) << "each file once";
    EXPECT_TRUE(std::binary_search(sorted.begin(), sorted.end(), many + L"32768.jpg"));
}

TEST(CatalogueDepth, ATwoThousandLevelTreeIsScannedInDepthOrder) {
    constexpr int kDepth = 2000;
    // A short root: the deepest path is about 4,000 characters, near what the host file system allows.
    const std::wstring root = TestDataDir() + L"\\d2k\\";
    const std::wstring longRoot = L"\\\\?\\" + root;
    std::vector<std::wstring> levels;  // relative folder of each level, deepest last
    std::wstring relative;
    RemoveTree(root.substr(0, root.size() - 1));
    ASSERT_TRUE(MakeDirectory(root));
    for (int i = 0; i < kDepth; ++i) {
        relative += L"d\\";
        levels.push_back(relative);
        ASSERT_TRUE(CreateDirectoryW((longRoot + relative).c_str(), nullptr)) << "level " << i << " " << GetLastError();
        if (i % 100 == 99) {
            ASSERT_TRUE(TouchFile(longRoot + relative + L"p.jpg"));
        }
    }
    const ScanResult r = Scan(root);
    EXPECT_TRUE(r.errors.empty());
    ASSERT_EQ(r.list.size(), static_cast<size_t>(kDepth / 100));
    for (size_t i = 0; i < r.list.size(); ++i) EXPECT_EQ(r.list[i], root + levels[i * 100 + 99] + L"p.jpg");
    EXPECT_GT(r.list.back().size(), 4000u);

    for (int i = kDepth - 1; i >= 0; --i) {
        if (i % 100 == 99) DeleteFileW((longRoot + levels[i] + L"p.jpg").c_str());
        RemoveDirectoryW((longRoot + levels[i]).c_str());
    }
    RemoveTree(root.substr(0, root.size() - 1));
}
