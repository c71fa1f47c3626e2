// The catalogue's walk over a simulated folder tree: order, errors, loops, depth and size.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "catalogue/folder_walk.h"
#include "fake_folders.h"

namespace {

using kpv::FolderIdentity;
using kpv::testing::FakeFolder;

class FakeTree final : public kpv::FolderLister {
public:
    explicit FakeTree(std::wstring root) : root_(std::move(root)) { AddNode(); }

    int AddNode(bool withIdentity = true) {
        FakeFolder n;
        if (withIdentity) n.identity = {7, static_cast<uint64_t>(nodes_.size() + 100), 0};
        nodes_.push_back(n);
        return static_cast<int>(nodes_.size()) - 1;
    }
    void AddFile(int node, const std::wstring& name) { nodes_[node].entries.push_back({name, -1}); }
    int AddFolder(int node, const std::wstring& name, bool withIdentity = true) {
        const int child = AddNode(withIdentity);
        nodes_[node].entries.push_back({name, child});
        return child;
    }
    // A link: the walk learns where it leads only by opening it.
    void AddLink(int node, const std::wstring& name, int target) { nodes_[node].entries.push_back({name, target, false}); }
    // A second name whose entry already tells the target's identity (a bind mount, say).
    void AddAlias(int node, const std::wstring& name, int target) { nodes_[node].entries.push_back({name, target, true}); }
    // The folder cannot be opened, or with afterEntries its listing breaks after that many entries.
    void Fail(int node, uint32_t error, size_t afterEntries = 0) {
        if (afterEntries == 0) nodes_[node].openError = error;
        else nodes_[node].listError = error;
        nodes_[node].failAfter = afterEntries;
    }
    void Remove(int node) { nodes_[node].openError = 3; }

    std::vector<std::wstring> listed;  // open paths in the order they were asked for

    uint32_t List(const std::wstring& openPath, const FolderIdentity& identity, kpv::FolderVisitor& visitor) override {
        listed.push_back(openPath);
        const int node = Resolve(openPath);
        if (node < 0) return 3;
        return kpv::testing::ListFakeFolder(nodes_, node, identity, visitor, [] {});
    }

private:
    int Resolve(const std::wstring& path) {
        if (path.compare(0, root_.size(), root_) != 0) return -1;
        int node = 0;
        size_t pos = root_.size();
        // The walk lists a folder's parent before it: start from the parent when it is known.
        const size_t parentEnd = path.size() >= 2 ? path.rfind(L'\\', path.size() - 2) : std::wstring::npos;
        if (parentEnd != std::wstring::npos && parentEnd + 1 > root_.size()) {
            if (const auto it = resolved_.find(path.substr(0, parentEnd + 1)); it != resolved_.end()) {
                node = it->second;
                pos = parentEnd + 1;
            }
        }
        node = kpv::testing::ResolveFakePath(nodes_, node, path, pos);
        if (node < 0) return -1;
        resolved_[path] = node;
        return node;
    }

    std::wstring root_;
    std::vector<FakeFolder> nodes_;
    std::map<std::wstring, int> resolved_;
};

struct WalkResult {
    std::vector<std::wstring> list{L""};
    std::vector<uint32_t> errors;
};

WalkResult Walk(FakeTree& tree, const std::wstring& folder, const std::wstring& openFolder, bool descend) {
    WalkResult r;
    kpv::WalkPictures(folder, openFolder, descend, tree, r.list, [&](uint32_t e) { r.errors.push_back(e); });
    return r;
}

WalkResult Walk(FakeTree& tree, bool descend = true) { return Walk(tree, L"C:\\P\\", L"C:\\P\\", descend); }

}  // namespace

TEST(PictureWalk, FolderFilesFirstThenEachSubfolderCompletelyInListedOrder) {
    FakeTree t(L"C:\\P\\");
    const int s = t.AddFolder(0, L"S");
    t.AddFile(0, L"1.jpg");
    t.AddFile(0, L"notes.txt");
    const int u = t.AddFolder(0, L"U");
    t.AddFile(0, L"2.BMP");
    t.AddFile(s, L"3.jpg");
    const int st = t.AddFolder(s, L"T");
    t.AddFile(s, L"3b.jpeg");
    t.AddFile(st, L"4.jpeg");
    t.AddFile(u, L"5.bmp");

    const WalkResult r = Walk(t);
    EXPECT_TRUE(r.errors.empty());
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L"C:\\P\\1.jpg", L"C:\\P\\2.BMP", L"C:\\P\\S\\3.jpg",
                                                  L"C:\\P\\S\\3b.jpeg", L"C:\\P\\S\\T\\4.jpeg", L"C:\\P\\U\\5.bmp"}));
}

TEST(PictureWalk, OnlyTheTopFolderWithoutDescending) {
    FakeTree t(L"C:\\P\\");
    t.AddFile(0, L"1.jpg");
    const int s = t.AddFolder(0, L"S");
    t.AddFile(s, L"2.bmp");
    const WalkResult r = Walk(t, false);
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L"C:\\P\\1.jpg"}));
    EXPECT_EQ(t.listed.size(), 1u);
}

TEST(PictureWalk, PicturesOnlyBelowAndNoDescentLeavesTheSingleEmptyEntry) {
    FakeTree t(L"C:\\P\\");
    const int s = t.AddFolder(0, L"S");
    t.AddFile(s, L"2.bmp");
    t.AddFile(0, L"readme.txt");
    const WalkResult r = Walk(t, false);
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L""}));
    EXPECT_TRUE(r.errors.empty());
}

TEST(PictureWalk, AFolderNamedLikeAPictureIsAFolder) {
    FakeTree t(L"C:\\P\\");
    const int x = t.AddFolder(0, L"x.jpg");
    t.AddFile(x, L"inner.bmp");
    const WalkResult r = Walk(t);
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L"C:\\P\\x.jpg\\inner.bmp"}));
}

TEST(PictureWalk, AFailingSubfolderIsReportedOnceAndTheRestIsStillCollected) {
    FakeTree t(L"C:\\P\\");
    t.AddFile(0, L"top.jpg");
    const int bad = t.AddFolder(0, L"Bad");
    const int next = t.AddFolder(0, L"Next");
    t.AddFile(bad, L"early.jpg");
    t.AddFile(bad, L"late.jpg");
    const int below = t.AddFolder(bad, L"Below");
    t.AddFile(below, L"never.jpg");
    t.AddFile(next, L"sibling.bmp");
    t.Fail(bad, 5, 1);  // the listing breaks after its first entry

    const WalkResult r = Walk(t);
    EXPECT_EQ(r.errors, (std::vector<uint32_t>{5}));
    // What the failing folder gave before the failure stays; its other entries and subfolders are skipped.
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L"C:\\P\\top.jpg", L"C:\\P\\Bad\\early.jpg",
                                                  L"C:\\P\\Next\\sibling.bmp"}));
}

TEST(PictureWalk, AnErrorDeepDownIsHandledThereAndTheParentGoesOn) {
    FakeTree t(L"C:\\P\\");
    const int a = t.AddFolder(0, L"A");
    const int b = t.AddFolder(a, L"B");
    t.AddFile(a, L"a.jpg");
    t.AddFolder(a, L"C");
    t.AddFile(b, L"b.jpg");
    const int d = t.AddFolder(b, L"D");
    t.Fail(d, 32);
    t.AddFile(0, L"root.jpg");
    const WalkResult r = Walk(t);
    EXPECT_EQ(r.errors, (std::vector<uint32_t>{32}));
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L"C:\\P\\root.jpg", L"C:\\P\\A\\a.jpg", L"C:\\P\\A\\B\\b.jpg"}));
    EXPECT_EQ(t.listed.back(), L"C:\\P\\A\\C\\");
}

TEST(PictureWalk, AMissingTopFolderGivesOneErrorAndNoPictures) {
    FakeTree t(L"C:\\P\\");
    t.Remove(0);
    const WalkResult r = Walk(t);
    EXPECT_EQ(r.errors, (std::vector<uint32_t>{3}));
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L""}));
}

TEST(PictureWalk, EntriesShowTheFolderAsGivenWhileTheListerOpensItsOwnForm) {
    FakeTree t(L"\\\\?\\C:\\P\\");
    const int s = t.AddFolder(0, L"S");
    t.AddFile(s, L"1.jpg");
    const WalkResult r = Walk(t, L"C:\\P\\", L"\\\\?\\C:\\P\\", true);
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L"C:\\P\\S\\1.jpg"}));
    EXPECT_EQ(t.listed, (std::vector<std::wstring>{L"\\\\?\\C:\\P\\", L"\\\\?\\C:\\P\\S\\"}));
}

TEST(PictureWalk, ALinkBackToAnAncestorEndsAndListsEachPictureOnce) {
    FakeTree t(L"C:\\P\\");
    const int a = t.AddFolder(0, L"A");
    t.AddFile(0, L"root.jpg");
    t.AddFile(a, L"a.jpg");
    t.AddLink(a, L"up", 0);       // C:\P\A\up -> C:\P
    t.AddLink(a, L"self", a);     // C:\P\A\self -> C:\P\A
    const WalkResult r = Walk(t);
    EXPECT_TRUE(r.errors.empty());
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L"C:\\P\\root.jpg", L"C:\\P\\A\\a.jpg"}));
    EXPECT_LE(t.listed.size(), 4u);
}

TEST(PictureWalk, AFolderReachedTwiceIsListedOnce) {
    FakeTree t(L"C:\\P\\");
    const int shared = t.AddFolder(0, L"Shared");
    t.AddFile(shared, L"s.jpg");
    const int other = t.AddFolder(0, L"Other");
    t.AddLink(other, L"ToShared", shared);
    const WalkResult r = Walk(t);
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L"C:\\P\\Shared\\s.jpg"}));
}

TEST(PictureWalk, AFolderWhoseListingEntryIsAlreadyKnownIsNotEvenOpened) {
    FakeTree t(L"C:\\P\\");
    const int real = t.AddFolder(0, L"Real");
    t.AddFile(real, L"r.jpg");
    t.AddAlias(0, L"Alias", real);
    t.AddLink(0, L"Link", real);
    const WalkResult r = Walk(t);
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L"C:\\P\\Real\\r.jpg"}));
    // The alias is recognised from its entry; the link has to be opened to learn where it leads.
    EXPECT_EQ(t.listed, (std::vector<std::wstring>{L"C:\\P\\", L"C:\\P\\Real\\", L"C:\\P\\Link\\"}));
}

TEST(PictureWalk, FoldersWithoutAnIdentityAreNeverTakenForOneAnother) {
    FakeTree t(L"C:\\P\\");
    const int a = t.AddFolder(0, L"A", false);
    const int b = t.AddFolder(0, L"B", false);
    t.AddFile(a, L"a.jpg");
    t.AddFile(b, L"b.jpg");
    const WalkResult r = Walk(t);
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L"C:\\P\\A\\a.jpg", L"C:\\P\\B\\b.jpg"}));
}

// ReFS gives FILE_INVALID_FILE_ID (all ones) for a folder whose 128-bit ID does not fit in 64 bits: two such
// folders are two folders, not one seen twice.
TEST(PictureWalk, AnInvalidFileIdIsNoIdentity) {
    EXPECT_FALSE(kpv::IdentityFromFileId(7, ~uint64_t{0}).Known());
    EXPECT_FALSE(kpv::IdentityFromFileId(7, 0).Known());
    EXPECT_EQ(kpv::IdentityFromFileId(7, 42), (FolderIdentity{7, 42, 0}));
    EXPECT_EQ(kpv::IdentityFromFileId(7, ~uint64_t{0}, 1), (FolderIdentity{7, ~uint64_t{0}, 1})) << "a 128-bit ID";
}

// Links whose targets have no identity cannot be recognised as a loop by what they lead to. Two of them back
// to the top would list ever longer paths (A\B\A\B...), doubling at each level; a link met a second time on
// one path is not followed.
TEST(PictureWalk, ALoopOfLinksToFoldersWithoutAnIdentityEnds) {
    FakeTree t(L"C:\\P\\");
    const int top = t.AddFolder(0, L"T", false);
    t.AddFile(top, L"t.jpg");
    t.AddLink(top, L"A", top);
    t.AddLink(top, L"B", top);
    const WalkResult r = Walk(t, L"C:\\P\\T\\", L"C:\\P\\T\\", true);
    EXPECT_TRUE(r.errors.empty());
    EXPECT_EQ(r.list, (std::vector<std::wstring>{L"C:\\P\\T\\t.jpg", L"C:\\P\\T\\A\\t.jpg", L"C:\\P\\T\\A\\B\\t.jpg",
                                                 L"C:\\P\\T\\B\\t.jpg", L"C:\\P\\T\\B\\A\\t.jpg"}));
    EXPECT_LE(t.listed.size(), 11u);
}

TEST(PictureWalk, AVeryDeepTreeIsWalkedInOrderWithoutRecursion) {
    constexpr int kDepth = 2000;
    FakeTree t(L"C:\\P\\");
    int node = 0;
    for (int i = 0; i < kDepth; ++i) {
        // The sibling comes first in the listing but must wait for the whole deep branch.
        const int deeper = t.AddFolder(node, L"d");
        const int sibling = t.AddFolder(node, L"s");
        t.AddFile(sibling, L"s.jpg");
        t.AddFile(node, L"p.jpg");
        node = deeper;
    }
    const WalkResult r = Walk(t);
    ASSERT_EQ(r.list.size(), 2u * kDepth);
    std::wstring folder = L"C:\\P\\";
    for (int i = 0; i < kDepth; ++i) {
        EXPECT_EQ(r.list[i], folder + L"p.jpg");
        folder += L"d\\";
    }
    // Siblings come back innermost first, each after everything deeper than it.
    EXPECT_EQ(r.list[kDepth], std::wstring(L"C:\\P\\") + [] {
        std::wstring s;
        for (int i = 0; i < kDepth - 1; ++i) s += L"d\\";
        return s;
    }() + L"s\\s.jpg");
    EXPECT_EQ(r.list.back(), L"C:\\P\\s\\s.jpg");
}

TEST(PictureWalk, ListsBeyondSixteenBitCounts) {
    FakeTree t(L"C:\\P\\");
    for (int i = 0; i < 40000; ++i) t.AddFile(0, L"f" + std::to_wstring(i) + L".jpg");
    const WalkResult r = Walk(t);
    ASSERT_EQ(r.list.size(), 40000u);
    EXPECT_EQ(r.list[32767], L"C:\\P\\f32767.jpg");
    EXPECT_EQ(r.list[32768], L"C:\\P\\f32768.jpg");
    EXPECT_EQ(r.list.back(), L"C:\\P\\f39999.jpg");
}

TEST(PictureList, FirstPictureFillsTheEmptyEntryThenEachAddsOne) {
    std::vector<std::wstring> list{L""};
    kpv::AddPicture(list, L"a");
    EXPECT_EQ(list, (std::vector<std::wstring>{L"a"}));
    kpv::AddPicture(list, L"b");
    EXPECT_EQ(list, (std::vector<std::wstring>{L"a", L"b"}));
}
