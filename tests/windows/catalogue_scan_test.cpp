// The picture scan on real folders under Wine: names, order, depth, links, locked and missing folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "support/driver_win.h"
#include "catalogue/catalogue_win.h"
#include "catalogue/scan_helpers.h"
#include "support/host_side_win.h"
#include "support/scratch_win.h"

using namespace kpv::test;

namespace {

struct ScanResult {
    std::vector<std::wstring> list{L""};
    std::vector<uint32_t> errors;
    std::vector<size_t> reportedAt;  // how many entries the list had at each report
    bool reportedElsewhere = false;  // a report came on another thread than the caller's
};

// The product's scan with its helpers at work from the start (a quick disk alone would not call them in),
// or with no helpers the one that lists folder after folder on this thread.
ScanResult Scan(const std::wstring& folder, bool descend = true, unsigned helpers = kpv::ScanHelperThreads()) {
    ScanResult r;
    const DWORD caller = GetCurrentThreadId();
    kpv::ScanPictures(
        folder, descend, helpers, r.list,
        [&](uint32_t e) {
            r.errors.push_back(e);
            r.reportedAt.push_back(r.list.size());
            if (GetCurrentThreadId() != caller) r.reportedElsewhere = true;
        },
        kpv::HelperStart{std::chrono::microseconds(0), 0});
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
    for (const int16_t subFolder : {0, 1, 2, -1}) {
        const std::vector<std::wstring> expected =
            subFolder == 1 ? std::vector<std::wstring>{root_ + L"top.jpg", root_ + L"S\\below.bmp"}
                           : std::vector<std::wstring>{root_ + L"top.jpg"};
        EXPECT_EQ(kpv::BuildPictureList(root_, subFolder, [](const std::wstring&) {}), expected)
            << "SubFolder " << subFolder;
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

TEST_F(CatalogueScan, FoldersThatCannotBeListedAreReportedInOrderAndTheRestIsCollected) {
    Files(root_, {L"top.jpg"});
    Files(Folder(L"A"), {L"a.jpg"});
    const std::wstring lockedDeep = Folder(L"A\\Locked");
    Files(lockedDeep, {L"hidden.jpg"});
    Files(Folder(L"A\\Locked\\Below"), {L"below.jpg"});
    Files(Folder(L"A\\Open"), {L"inner.bmp"});
    const std::wstring locked = Folder(L"Locked");
    Files(locked, {L"hidden.jpg"});
    for (const wchar_t* name : {L"B", L"C", L"D"}) Files(Folder(name), {L"seen.bmp"});
    // Held without sharing, a folder cannot be opened for listing by anyone else.
    std::vector<HANDLE> held;
    for (const std::wstring& folder : {lockedDeep, locked}) {
        held.push_back(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, 0, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        ASSERT_NE(held.back(), INVALID_HANDLE_VALUE);
    }
    const ScanResult r = Scan(root_);
    const ScanResult serial = Scan(root_, true, 0);
    for (HANDLE h : held) CloseHandle(h);

    EXPECT_EQ(r.errors, (std::vector<uint32_t>{ERROR_SHARING_VIOLATION, ERROR_SHARING_VIOLATION}));
    EXPECT_EQ(Sorted(r.list), Sorted({root_ + L"top.jpg", root_ + L"A\\a.jpg", root_ + L"A\\Open\\inner.bmp",
                                      root_ + L"B\\seen.bmp", root_ + L"C\\seen.bmp", root_ + L"D\\seen.bmp"}));
    // The same list, and each message where the serial scan gives it, when the list reaches that folder.
    EXPECT_EQ(r.list, serial.list);
    EXPECT_EQ(r.reportedAt, serial.reportedAt);
    EXPECT_FALSE(r.reportedElsewhere) << "message boxes belong to the calling thread";
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
    EXPECT_EQ(r.list, Scan(root_, true, 0).list);
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

TEST_F(CatalogueScan, OnePictureInTheWholeTreeIsEntryZero) {
    Files(root_, {L"only.jpg", L"other.txt"});
    bool reported = false;
    EXPECT_EQ(kpv::BuildPictureList(root_, 1, [&](const std::wstring&) { reported = true; }),
              (std::vector<std::wstring>{root_ + L"only.jpg"}));
    EXPECT_FALSE(reported);
}

TEST_F(CatalogueScan, MoreEntriesThanASixteenBitIndexHolds) {
    const std::wstring many = Folder(L"many");
    constexpr int kCount = 33000;
    ASSERT_TRUE(MakeEmptyFiles(many.substr(0, many.size() - 1), L"", kCount, L".jpg"));
    const ScanResult r = Scan(root_);
    EXPECT_TRUE(r.errors.empty());
    ASSERT_EQ(r.list.size(), static_cast<size_t>(kCount));
    std::vector<std::wstring> sorted = Sorted(r.list);
    EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end()) << "each file once";
    EXPECT_TRUE(std::binary_search(sorted.begin(), sorted.end(), many + L"32768.jpg"));
}

// The deep tree lives in the scratch area under a short name. Under Wine every open goes through the prefix's
// drive link (<prefix>/dosdevices/z:/<host path>), and that whole text must stay inside the host's 4,096-byte
// limit, so the depth there is what the checkout's location leaves room for.
class CatalogueDepth : public ::testing::Test {
protected:
    void SetUp() override { RemoveDeepRoot(); }
    void TearDown() override { RemoveDeepRoot(); }
    void RemoveDeepRoot() {
        if (GetFileAttributesW(deepRoot_.c_str()) == INVALID_FILE_ATTRIBUTES) return;
        if (UnderWine()) {
            ASSERT_TRUE(RemoveTree(deepRoot_));
            return;
        }
        // Elsewhere, the chain of "d" folders from the bottom up, with what each one holds.
        std::vector<std::wstring> levels{L"\\\\?\\" + deepRoot_};
        while (GetFileAttributesW((levels.back() + L"\\d").c_str()) != INVALID_FILE_ATTRIBUTES)
            levels.push_back(levels.back() + L"\\d");
        for (auto it = levels.rbegin(); it != levels.rend(); ++it) {
            DeleteFileW((*it + L"\\p.jpg").c_str());
            DeleteFileW((*it + L"\\built").c_str());
            RemoveDirectoryW(it->c_str());
        }
    }
    // The levels that fit, in whole hundreds, at most 2,000.
    int Depth() const {
        constexpr size_t kMost = 2000;
        if (!UnderWine()) return kMost;
        wchar_t prefix[2048] = L"";
        const DWORD prefixLength = GetEnvironmentVariableW(L"WINEPREFIX", prefix, 2048);
        const size_t used = (prefixLength > 0 && prefixLength < 2048 ? prefixLength : 200) +
                            std::wstring(L"/dosdevices/z:").size() + HostPath(deepRoot_).size() +
                            std::wstring(L"/p.jpg").size() + 1 + 16;  // the NUL, and a margin
        const size_t levels = used < 4096 ? (4096 - used) / 2 : 0;
        return static_cast<int>(std::min(kMost, levels / 100 * 100));
    }
    const std::wstring deepRoot_ = TestDataDir() + L"\\d2k";
};

TEST_F(CatalogueDepth, AThousandsOfLevelsDeepTreeIsScannedInDepthOrder) {
    const int depth = Depth();
    // A checkout path of up to about 1,000 characters still leaves room for a tree far beyond 260 characters.
    ASSERT_GE(depth, 1000) << "the build folder's path is too long for a deep tree here";
    const std::wstring root = deepRoot_ + L"\\";
    ASSERT_TRUE(CreateDirectoryW(deepRoot_.c_str(), nullptr));
    std::vector<std::wstring> expected;
    std::wstring relative;
    for (int i = 1; i <= depth; ++i) {
        relative += L"d\\";
        if (i % 100 == 0) expected.push_back(root + relative + L"p.jpg");
    }
    if (UnderWine()) {
        // Built from the host, one level at a time: thousands of deep creations through Wine take minutes.
        ASSERT_TRUE(RunHostShell(L"cd '" + HostPath(deepRoot_) + L"' && i=0 && while [ $i -lt " + std::to_wstring(depth) +
                                     L" ]; do mkdir d && cd d || exit 1; i=$((i+1)); [ $((i % 100)) -ne 0 ] || : > p.jpg; "
                                     L"done && cd '" + HostPath(deepRoot_) + L"' && : > built",
                                 [&] { return GetFileAttributesW((root + L"built").c_str()) != INVALID_FILE_ATTRIBUTES; }));
    } else {
        std::wstring level = L"\\\\?\\" + root;
        for (int i = 1; i <= depth; ++i) {
            level += L"d\\";
            ASSERT_TRUE(CreateDirectoryW(level.c_str(), nullptr)) << i;
            if (i % 100 == 0) {
                ASSERT_TRUE(TouchFile(level + L"p.jpg"));
            }
        }
    }
    const ScanResult r = Scan(root);
    EXPECT_TRUE(r.errors.empty());
    EXPECT_EQ(r.list, expected);
    EXPECT_GT(r.list.empty() ? 0 : r.list.back().size(), 2u * depth);
}
